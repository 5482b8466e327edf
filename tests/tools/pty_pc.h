#pragma once
// Plays the scripted PC (FakePc) on the slave side of a pseudo-terminal, so
// that the hht-sim program can be run whole. The terminal writes every frame
// at once and then waits for its answer, so a pause in the incoming bytes
// ends a frame.

#include <atomic>
#include <string>
#include <thread>

#include "fake_pc.h"

namespace hht::test {

class PtyPc {
 public:
  explicit PtyPc(FakePc& pc) : pc_(pc) {}
  ~PtyPc() { Join(); }
  // Opens the slave and serves until the fake's run has ended, the fake has
  // let go of the line, or `limit` has passed.
  void Start(const std::string& slavePath, Millis limit);
  void Join();
  bool Opened() const { return opened_; }

 private:
  void Serve(const std::string& slavePath, Millis limit);

  FakePc& pc_;
  std::thread thread_;
  std::atomic<bool> opened_{false};
};

}  // namespace hht::test
