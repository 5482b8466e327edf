#pragma once
// Public interface of the transfer library Vantor2.
//
// RunVantor performs one whole transfer with the hand-held terminal: it checks
// its arguments, shows the progress window (or reports to standard error when
// no display is usable), opens the COM port, answers the terminal until it ends
// the run, writes Log/comm.log, and turns received data into data files.
// It blocks the calling thread until the transfer is over and returns one of the
// result codes below. Strings are narrow, in the locale's encoding; they are
// copied, never kept.

#ifdef _WIN32
#define VANTOR_CALL __stdcall
#define VANTOR_API __declspec(dllexport)
#else
#define VANTOR_CALL
#define VANTOR_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Result codes.
enum {
  VANTOR_SENT = 2,            // the data was sent to the terminal
  VANTOR_RECEIVED = 1,        // data was received and stored in the data files
  VANTOR_ERROR = -1,          // transfer error (retry limit, port lost)
  VANTOR_USER_CANCEL = -2,    // cancelled on the PC
  VANTOR_DEVICE_CANCEL = -3,  // cancelled by the terminal
  VANTOR_PORT_ERROR = -4,     // the COM port cannot be opened
  VANTOR_RECV_DIR_ERROR = -11,
  VANTOR_SEND_DIR_ERROR = -12,
  VANTOR_PORT_NO_ERROR = -13,  // port number outside 1..4
  VANTOR_SPEED_ERROR = -14     // speed not accepted
};

VANTOR_API int VANTOR_CALL RunVantor(const char* recvDir, const char* sendDir, int portNo, int speed, int appendMode,
                                     const char* userData);

// Asks the transfer that is running in this process to cancel, exactly as the
// Cancel button does. Safe from any thread and from a signal-handling thread;
// does nothing when no transfer runs.
VANTOR_API void VANTOR_CALL VantorCancel(void);

// The library's version block as text (UTF-8, one item a line), valid for the
// life of the process.
VANTOR_API const char* VANTOR_CALL VantorVersion(void);

#ifdef __cplusplus
}
#endif
