#pragma once
// The hand-held terminal's side of the exchange with the PC.
//
// The terminal leads: it opens a run with its ENQ request (repeated every
// `repeatInterval` until the PC answers, as an operator presses send again),
// announces each file with an SOH header, delivers or requests the file's
// blocks, and ends with EOT. Every frame waits for its answer, read by its
// exact length; a negative answer, an answer that fails its check and a
// missing answer make the terminal send the same frame again, up to
// `maxTries` times. The PC only answers.
//
// For testing the PC the terminal can add line noise to what it sends (and to
// what it receives, which loses acknowledgements), lose and add bytes of what
// it sends and lose whole answers (line_faults.h), at random or at chosen
// frames, and can cancel the run at a given block with a run of CAN bytes. The check character cannot see a flip
// of bit 5 in about half of all frames; the result counts the frames the PC
// accepted although the noise had changed them.
//
// Local names are UTF-8; on the line they are code page 949.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "byte_stream.h"
#include "line_faults.h"

namespace hht {

struct Options {
  int blockSize = 4000;            // data bytes per frame when the terminal sends (1..9999)
  double noiseRate = 0.0;          // probability per sent byte of one flipped bit
  double answerNoiseRate = 0.0;    // the same for received bytes, before they are checked
  long cancelAtBlock = 0;          // data block of the run replaced by the cancel run; 0: never
  std::uint64_t seed = 1;          // for the noise
  Millis answerTimeout{3000};      // wait for an answer beyond its time on the line
  Millis repeatInterval{2000};     // between opening requests while the PC is silent
  Millis settleTime{200};          // a quiet line for this long has nothing more to say
  Millis pcReadInterval{1000};     // the PC takes a frame cut short this long after its last byte
  double byteTimeMs = 0.0;         // time of one byte on the line (0 on a pseudo-terminal)
  int maxTries = 10;               // sends of one frame before the run fails
  int maxOpenings = 0;             // unanswered opening requests before giving up; 0: no limit
  FaultPlan faults;                // lost and extra bytes, lost answers
  std::string text15 = "HHT-SIM";  // the two texts of the opening request
  std::string text40 = "HAND-HELD TERMINAL SIMULATOR";
  std::function<void(std::string_view)> log;  // progress lines; may be empty
};

struct FileData {
  std::string name;   // UTF-8
  std::string bytes;  // contents
};

enum class Ending {
  Success,       // EOT answered
  NoAnswer,      // the PC never answered the opening request
  TooManyTries,  // one frame was refused or unanswered maxTries times
  Cancelled,     // the terminal cancelled, as asked
  LineClosed,    // the PC let go of the line during the run
  LineFailed,    // the line itself failed
  Protocol,      // the PC answered with something the protocol does not allow
  BadInput,      // the files or names cannot be carried; nothing was sent
};

std::string_view EndingName(Ending ending);

struct RunResult {
  bool ok = false;
  Ending ending = Ending::BadInput;
  std::string message;           // what ended the run, for a person
  int framesSent = 0;            // every frame written, repeats included
  int retries = 0;               // repeats after a refusal, a faulty or a missing answer
  int openings = 0;              // opening requests written
  long long bytes = 0;           // file data delivered or fetched
  int framesCorrupted = 0;       // frames the noise changed on their way out
  int corruptedAccepted = 0;     // of those, frames the PC accepted all the same
  int bytesDropped = 0;          // sent bytes lost on purpose or at random
  int bytesInserted = 0;         // extra bytes added to sent frames
  int answersLost = 0;           // answers the terminal ignored, as if they never came
  int endAnswers = 0;            // whole copies of the end answer that arrived (the PC writes five)
  long long totalAnnounced = 0;  // total size in the PC's answer to the opening request
  std::vector<FileData> files;   // fetched files (direction 2), in order
};

class Terminal {
 public:
  Terminal(ByteStream& line, Options options);
  // Direction 1: delivers the files to the PC.
  RunResult SendFiles(const std::vector<FileData>& files);
  // Direction 2: fetches the named files of the PC's send directory.
  RunResult FetchFiles(const std::vector<std::string>& names);

 private:
  ByteStream& line_;
  Options options_;
};

}  // namespace hht
