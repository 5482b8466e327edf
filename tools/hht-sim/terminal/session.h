#pragma once
// One run of the terminal on the line: writes frames (through the noise),
// reads answers by their exact length, repeats refused or unanswered frames,
// and keeps the counters of the run's result. SendFiles and FetchFiles
// (terminal.cpp) say which frames go out in which order; this class says how
// each one gets across.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "line_faults.h"
#include "noise.h"
#include "terminal.h"
#include "terminal_frames.h"

namespace hht {

using Judge = std::function<Verdict(std::string_view answer)>;

class Session {
 public:
  Session(ByteStream& line, const Options& options, RunResult& result);

  // Writes the opening request every repeatInterval until the PC answers it;
  // returns the positive answer.
  std::optional<std::string> Open(const std::string& request);
  // Writes the frame and returns the positive answer of `answerLen` bytes,
  // writing the frame again on a refusal, a faulty, a missing or a lost
  // answer. `copies`: how many times the PC writes its answer; a lost copy
  // is followed by reading the next one rather than by writing again.
  std::optional<std::string> Transact(const std::string& frame, std::size_t answerLen, const Judge& judge,
                                      std::string_view what, int copies = 1);
  // Writes the end-of-file request, which the PC does not answer; listens for
  // a while and writes it again if the PC repeats its last frame instead (its
  // way of saying the request was faulty).
  bool SendEndOfFile(const std::string& request);
  // EOT, its answer, and the repeats of the answer that follow.
  bool Finish();
  // Counts one data block; at the block chosen for it, writes the cancel run
  // in place of a frame of `frameLen` bytes and ends the run.
  bool CancelHere(std::size_t frameLen);

  void Fail(Ending ending, std::string message);
  bool Failed() const { return failed_; }
  void Log(const std::string& line) const;

 private:
  // Writes a frame as try `attempt` of the current exchange; `firstTry` says
  // whether it is the try that faults on purpose aim at.
  bool Write(const std::string& frame, int attempt, bool firstTry);
  // Whether the whole answer just read is lost (line_faults.h); counts it.
  bool LoseAnswer(std::string_view what);
  void NextExchange() { ++exchange_; }
  ReadResult ReadAnswer(std::string& answer, std::size_t frameLen, Millis wait);
  Millis LineTime(std::size_t bytes) const;
  void Drain();

  ByteStream& line_;
  const Options& options_;
  RunResult& result_;
  Noise sendNoise_;
  Noise recvNoise_;
  LineFaults faults_;
  bool lastCorrupted_ = false;
  bool failed_ = false;
  long blocks_ = 0;
  std::uint64_t exchange_ = 0;  // frames of the run, each with its repeats
};

}  // namespace hht
