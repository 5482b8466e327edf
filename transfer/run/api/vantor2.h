#ifndef VANTOR2_H
#define VANTOR2_H
/* Public interface of the transfer library Vantor2, for C and C++ callers.
 *
 * RunVantor performs one whole transfer with the hand-held terminal: it checks
 * its arguments, shows the progress window (or reports to standard error when
 * no display is usable), opens the COM port, answers the terminal until it ends
 * the run, writes Log/comm.log (Log\comm.log on Windows), and turns received
 * data into data files. It blocks the calling thread until the transfer is
 * over and returns one of the result codes below. Strings are narrow, in the
 * locale's encoding (the ANSI code page on Windows); they are copied, never
 * kept.
 *
 * On Windows the functions are __stdcall and exported from Vantor2.dll by
 * their plain names. A caller links the import library of its word size
 * (Vantor2.lib or Vantor2.dll.a), which maps the names a 32-bit compiler makes
 * of __stdcall functions (RunVantor@24) to those plain exports, or loads the
 * DLL with LoadLibrary and GetProcAddress("RunVantor"). The header declares
 * the functions as imported from the DLL; the library's own build defines
 * VANTOR2_BUILDING_DLL to export them instead.
 */

/* VANTOR_CALL is the functions' calling convention, for a caller's own
 * function pointer types (GetProcAddress, dlsym). */
#ifdef _WIN32
#define VANTOR_CALL __stdcall
#ifdef VANTOR2_BUILDING_DLL
#define VANTOR_API __declspec(dllexport)
#else
#define VANTOR_API __declspec(dllimport)
#endif
#else
#define VANTOR_CALL
#define VANTOR_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Result codes of RunVantor. */
enum {
  VANTOR_SENT = 2,             /* the data was sent to the terminal */
  VANTOR_RECEIVED = 1,         /* data was received and stored in the data files */
  VANTOR_ERROR = -1,           /* transfer error (retry limit, port lost) */
  VANTOR_USER_CANCEL = -2,     /* cancelled on the PC */
  VANTOR_DEVICE_CANCEL = -3,   /* cancelled by the terminal */
  VANTOR_PORT_ERROR = -4,      /* the COM port cannot be opened */
  VANTOR_RECV_DIR_ERROR = -11, /* receive directory empty, missing or not writable */
  VANTOR_SEND_DIR_ERROR = -12, /* send directory empty, missing or not a directory */
  VANTOR_PORT_NO_ERROR = -13,  /* port number outside 1..4 */
  VANTOR_SPEED_ERROR = -14     /* speed not accepted */
};

#ifdef _WIN32

VANTOR_API int __stdcall RunVantor(const char* recvDir, const char* sendDir, int portNo, int speed, int appendMode,
                                   const char* userData);
/* Asks the transfer that is running in this process to cancel, exactly as the
 * Cancel button does. Safe from any thread; does nothing when no transfer
 * runs. */
VANTOR_API void __stdcall VantorCancel(void);
/* The library's version block as text, one item a line, in the ANSI code
 * page; valid for the life of the process. */
VANTOR_API const char* __stdcall VantorVersion(void);

#else

VANTOR_API int RunVantor(const char* recvDir, const char* sendDir, int portNo, int speed, int appendMode,
                         const char* userData);
/* As on Windows; also safe from a signal-handling thread. */
VANTOR_API void VantorCancel(void);
/* As on Windows, in the locale's encoding (UTF-8). */
VANTOR_API const char* VantorVersion(void);

#endif

#ifdef __cplusplus
}
#endif

#endif /* VANTOR2_H */
