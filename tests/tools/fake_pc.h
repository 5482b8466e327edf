#pragma once
// A scripted PC on the terminal's byte-stream seam.
//
// Every Write of the terminal is taken as one received frame and answered at
// once the way the PC's transfer program answers it: phases ENQ, SOH, receive
// and send, its negative answers, its repeat of the last frame on a faulty
// block request, the same answer again to a header sent again before a frame
// of the next phase came, the end answer written five times. A test spoils chosen
// answers by the index of the frame they answer. Reads never wait: a read that
// cannot be filled returns what there is and notes its time-out.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "byte_stream.h"

namespace hht::test {

class FakePc : public ByteStream {
 public:
  // The send directory, by name on the line (code page 949).
  std::map<std::string, std::string> sendDir;
  int sendBlockSize = 4000;

  // What the terminal wrote, one entry per Write.
  std::vector<std::string> written;
  // What the PC stored, by name on the line; like the PC, every accepted data
  // frame is appended, a repeated one twice.
  std::map<std::string, std::string> stored;
  int result = 0;  // 1, 2 or -3 once the run has ended
  int discards = 0;
  std::vector<Millis> timeouts;  // time-outs of the reads that ran out

  // Faults, by index into `written`.
  int silentOpenings = 0;  // opening requests to leave unanswered
  std::set<int> refuse;    // answered as faulty, whatever they are
  std::set<int> garble;    // answered, with one byte of the answer spoilt
  std::set<int> lose;      // handled, but the answer never arrives
  int closeAfter = -1;     // frames after which the PC lets go of the line

  // The run has ended or the PC has let go of the line.
  bool Closed() const { return closed_; }

  LineError Write(std::span<const std::uint8_t> bytes) override;
  ReadResult Read(std::span<std::uint8_t> buffer, Millis timeout) override;
  void DiscardInput() override;

 private:
  enum class Phase { Enq, Soh, Recv, Send, Ended };

  void Handle(const std::string& frame, int index);
  void Fault();
  void OnEnq(const std::string& f);
  void OnSoh(const std::string& f);
  void OnRecv(const std::string& f);
  void OnSend(const std::string& f);
  void Answer(const std::string& a);
  void AnswerHeader(const std::string& header, const std::string& a);

  Phase phase_ = Phase::Enq;
  int direction_ = 0;
  int blockSize_ = 0;
  std::string fileName_;
  std::string lastSent_;
  std::string lastHeader_;  // the header last answered, until the next phase's first valid frame
  std::string headerAnswer_;
  std::string pending_;
  bool closed_ = false;
  bool hangupReported_ = false;
  bool loseAnswer_ = false;
};

}  // namespace hht::test
