#pragma once
// Fakes for driving the protocol without a port, a window or real time.

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "clock.h"
#include "com_line.h"
#include "dialog_window.h"
#include "notify_target.h"
#include "temp_dir.h"
#include "test_files.h"

namespace vtest {

// Records every pause instead of sleeping.
class FakeClock final : public vantor::CClock {
 public:
  void Sleep(int ms) override { sleeps.push_back(ms); }
  std::vector<int> sleeps;
};

// A line that records what is written and receives only what a test lets
// arrive; WaitEvent blocks until input is queued, Close or Wake.
//
// Read keeps the line's contract with an interval time-out: the bytes queued
// by Arrive count as having come at once, with the line quiet after them, so
// a Read takes up to count of them and returns without waiting.
class FakeLine final : public vantor::CComLine {
 public:
  vantor::ComError Open(const std::string& portName, int speed) override;
  void Close() override;
  Event WaitEvent() override;
  void Wake() override;
  int QueuedInput() override;
  int Read(std::uint8_t* buf, int count, int timeoutMs) override;
  int Write(const std::uint8_t* buf, int len, int timeoutMs) override;
  void PurgeInput() override;

  // Bytes from the terminal, queued for the next reads.
  void Arrive(const std::string& bytes);

  std::vector<std::string> writes;
  std::vector<int> readTimeouts;  // the time-out of every Read
  std::string openedPort;
  int openedSpeed = 0;
  int purges = 0;
  bool failOpen = false;
  bool closed = false;
  int writeResult = -1;  // -1: the length written

 private:
  std::mutex m_mutex;
  std::condition_variable m_cv;
  bool m_wake = false;
  std::string m_input;
};

// The dialog's controls as the protocol leaves them, and every text written.
class RecordingNotify final : public vantor::CNotifyTarget {
 public:
  void SetDlgItemText(int id, const std::string& text) override;
  void SetRange32(int id, long low, long high) override;
  void SetPos(int id, long pos) override;
  long GetPos(int id) override { return pos[id]; }
  bool SendCommRecv(const std::uint8_t*, int) override { return false; }
  void SendPortFailed() override {}
  bool CommitReceived() override { return commit(); }

  std::map<int, std::string> text;
  std::map<int, std::vector<std::string>> history;
  std::map<int, std::pair<long, long>> range;
  std::map<int, long> pos;
  std::function<bool()> commit = [] { return true; };
};

// A window that runs a script of steps on the dialog's thread instead of a
// loop: each step is run in turn until the dialog ends.
class ScriptWindow final : public vantor::CDialogWindow {
 public:
  using Step = std::function<void(vantor::CDialogEvents&)>;
  std::vector<Step> steps;

  int RunModal(vantor::CDialogEvents& events) override;
  void EndDialog(int code) override;
  void Wake() override {}
  void SetItemText(int id, const std::string& t) override { texts[id].push_back(t); }
  void SetBar(int id, long low, long high, long p) override { bars[id] = {low, high, p}; }
  void ShowLogFailure(const std::string& t) override { logFailures.push_back(t); }

  bool ended = false;
  int code = 0;
  std::map<int, std::vector<std::string>> texts;
  struct Bar {
    long low, high, pos;
  };
  std::map<int, Bar> bars;
  std::vector<std::string> logFailures;
};

}  // namespace vtest
