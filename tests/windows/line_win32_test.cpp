// The Win32 line (com_line_win32.cpp) on Wine's COM1, which scripts/wine-env
// maps to a pseudo-terminal whose other end is pty-peer: it echoes what it
// gets and plays the scripted commands ESC T ! (ten bytes 100 ms apart),
// ESC C ! / ESC R ! (count what arrives while it reads late, report it) and
// ESC H ! (hang up).
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "com_line.h"
#include "com_line_win32.h"

namespace {

using namespace vantor;
using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point start) {
  return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// CPU time of this process so far, in seconds.
double ProcessCpuSeconds() {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

class Win32Line : public ::testing::Test {
 protected:
  void SetUp() override {
    line = CreateComLine();
    const ComError err = line->Open("COM1", 19200);
    ASSERT_FALSE(err) << err.message;
  }
  void TearDown() override {
    if (line) line->Close();
  }

  void Send(const std::string& text) {
    ASSERT_EQ(line->Write(reinterpret_cast<const std::uint8_t*>(text.data()), static_cast<int>(text.size()), 1000),
              static_cast<int>(text.size()));
  }
  // Waits up to 2 s until n bytes are queued.
  bool WaitQueued(int n) {
    const auto start = Clock::now();
    while (line->QueuedInput() < n) {
      if (MsSince(start) > 2000) return false;
      Sleep(5);
    }
    return true;
  }
  std::string ReadText(int count, int timeoutMs) {
    std::string buf(static_cast<std::size_t>(count), '\0');
    const int n = line->Read(reinterpret_cast<std::uint8_t*>(buf.data()), count, timeoutMs);
    buf.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    return buf;
  }

  std::unique_ptr<CComLine> line;
};

TEST(Win32LineNames, OnlyComPortsMapToDevices) {
  EXPECT_EQ(DeviceForPort("COM1"), "\\\\.\\COM1");
  EXPECT_EQ(DeviceForPort("COM4"), "\\\\.\\COM4");
  EXPECT_EQ(DeviceForPort("LPT1"), "");
  EXPECT_EQ(DeviceForPort("COM0"), "");
  EXPECT_EQ(DeviceForPort("COM10"), "");
}

// The reason names the device once; the log puts the port before it.
TEST(Win32LineOpen, AnUnmappedPortFailsWithTheSystemsMessage) {
  auto line = CreateComLine();
  const ComError err = line->Open("COM3", 19200);
  ASSERT_TRUE(err);
  EXPECT_EQ(err.message.rfind("\\\\.\\COM3: ", 0), 0u) << err.message;
  EXPECT_EQ(err.message.find("COM3: COM3"), std::string::npos) << err.message;
  EXPECT_GT(err.message.size(), std::string("\\\\.\\COM3: ").size());
  _putenv_s("VANTOR_COM3", "NUL");
  const ComError notSerial = line->Open("COM3", 19200);
  _putenv_s("VANTOR_COM3", "");
  EXPECT_EQ(notSerial.message.rfind("NUL: not a serial line: ", 0), 0u) << notSerial.message;
  const ComError bad = line->Open("LPT1", 19200);
  EXPECT_TRUE(bad);
}

TEST(Win32LineOpen, TakesTheProtocolsClassicSpeeds) {
  for (int speed : {9600, 19200, 38400, 57600, 115200}) {
    auto line = CreateComLine();
    const ComError err = line->Open("COM1", speed);
    EXPECT_FALSE(err) << speed << ": " << err.message;
    line->Close();
  }
}

TEST_F(Win32Line, RaisesDtrAtOpen) {
  const char* log = std::getenv("VANTOR_PTY_SHIM_LOG");
  ASSERT_NE(log, nullptr) << "run under scripts/wine-env";
  std::ifstream in(std::string("Z:") + log);
  std::string lineText, last;
  while (std::getline(in, lineText)) last = lineText;
  EXPECT_EQ(last.substr(0, 5), "DTR=1") << "the modem-line log ends with: " << last;
}

TEST_F(Win32Line, EchoArrivesAsOneRead) {
  Send("hello, terminal");
  ASSERT_EQ(line->WaitEvent(), CComLine::Event::RxChar);
  EXPECT_EQ(ReadText(15, 1000), "hello, terminal");
}

TEST_F(Win32Line, AFrameCutShortEndsOneIntervalAfterItsLastByte) {
  Send("abc");
  ASSERT_EQ(line->WaitEvent(), CComLine::Event::RxChar);
  const auto start = Clock::now();
  EXPECT_EQ(ReadText(10, 300), "abc");
  const long ms = MsSince(start);
  EXPECT_GE(ms, 250);
  EXPECT_LT(ms, 1000) << "the interval counts from the last byte, not per missing byte";
}

TEST_F(Win32Line, TheIntervalRestartsWithEveryByte) {
  Send("\x1bT!");  // ten bytes, 100 ms apart: a total time-out of 300 ms would cut them
  ASSERT_EQ(line->WaitEvent(), CComLine::Event::RxChar);
  const auto start = Clock::now();
  EXPECT_EQ(ReadText(10, 300), "0123456789");
  EXPECT_LT(MsSince(start), 2500);
}

TEST_F(Win32Line, AReadWithNothingComingEndsAfterTheInterval) {
  const auto start = Clock::now();
  EXPECT_EQ(ReadText(10, 200), "");
  const long ms = MsSince(start);
  EXPECT_GE(ms, 150);
  EXPECT_LT(ms, 1500);
}

TEST_F(Win32Line, PurgeDiscardsInputAndOutputStillFlows) {
  Send("12345");
  ASSERT_TRUE(WaitQueued(5));
  line->PurgeInput();
  EXPECT_EQ(line->QueuedInput(), 0);
  Send("after");
  ASSERT_TRUE(WaitQueued(5));
  EXPECT_EQ(ReadText(5, 1000), "after");
}

TEST_F(Win32Line, PurgeEndsAPendingRead) {
  auto reading = std::async(std::launch::async, [&] {
    const auto start = Clock::now();
    const std::string got = ReadText(10, 10000);
    return std::make_pair(got, MsSince(start));
  });
  Sleep(200);
  line->PurgeInput();
  ASSERT_EQ(reading.wait_for(std::chrono::seconds(3)), std::future_status::ready);
  const auto [got, ms] = reading.get();
  EXPECT_EQ(got, "");
  EXPECT_LT(ms, 2000);
}

TEST_F(Win32Line, WakeAndCloseEndAWait) {
  auto waiting = std::async(std::launch::async, [&] { return line->WaitEvent(); });
  Sleep(200);
  line->Wake();
  ASSERT_EQ(waiting.wait_for(std::chrono::seconds(3)), std::future_status::ready);
  EXPECT_EQ(waiting.get(), CComLine::Event::Woken);

  waiting = std::async(std::launch::async, [&] { return line->WaitEvent(); });
  Sleep(200);
  line->Close();
  ASSERT_EQ(waiting.wait_for(std::chrono::seconds(3)), std::future_status::ready);
  EXPECT_EQ(waiting.get(), CComLine::Event::Woken);
  EXPECT_EQ(line->Write(reinterpret_cast<const std::uint8_t*>("x"), 1, 100), 0) << "closed";
}

// The end of a run: the five end answers (or the five cancel runs) are
// written, and the port is closed at once, before the terminal has read
// them. Close must not throw them away.
TEST_F(Win32Line, CloseKeepsWhatTheTerminalHasNotReadYet) {
  Send("\033C!");  // the peer reads nothing for 1 s, then counts
  Sleep(100);
  const std::string answer(54, 'A');
  const std::string cancelRun(1024, '\x18');
  for (int i = 0; i < 5; ++i) Send(answer);
  for (int i = 0; i < 5; ++i) Send(cancelRun);
  line->Close();
  Sleep(1500);
  ASSERT_FALSE(line->Open("COM1", 19200));
  Send("\033R!");
  ASSERT_EQ(line->WaitEvent(), CComLine::Event::RxChar);
  const std::string expected = std::to_string(5 * 54 + 5 * 1024) + "\n";
  EXPECT_EQ(ReadText(static_cast<int>(expected.size()), 1000), expected) << "bytes that reached the terminal";
}

// Run on its own (the peer hangs up for good): a vanished port is reported
// as a failure, at once and again, instead of waking the watch thread forever.
TEST_F(Win32Line, HangUpIsAFailureNotAWakeUp) {
  Send("\x1bH!");
  const auto start = Clock::now();
  CComLine::Event event = line->WaitEvent();
  // A hang-up may first show as readable input that reads as nothing.
  for (int i = 0; i < 3 && event == CComLine::Event::RxChar; ++i) {
    EXPECT_EQ(ReadText(10, 100), "");
    event = line->WaitEvent();
  }
  EXPECT_EQ(event, CComLine::Event::Failed);
  EXPECT_LT(MsSince(start), 3000);
  const auto again = Clock::now();
  EXPECT_EQ(line->WaitEvent(), CComLine::Event::Failed);
  EXPECT_LT(MsSince(again), 100);
}

// Run without the pseudo-terminal shim (line_win32_failing_wait): Wine's
// WaitCommEvent then comes back at once without an event, again and again,
// as some USB serial drivers do. Input must still be seen, waiting must cost
// next to no CPU, and a wait that keeps failing ends as a line failure with
// its reason.
TEST_F(Win32Line, FailingWaitCostsNoCpuAndEndsAsAFailure) {
  Send("ping");
  ASSERT_EQ(line->WaitEvent(), CComLine::Event::RxChar);
  EXPECT_EQ(ReadText(4, 1000), "ping");
  const double cpuBefore = ProcessCpuSeconds();
  const auto start = Clock::now();
  EXPECT_EQ(ReadText(4, 1000), "") << "a read with nothing coming";
  EXPECT_EQ(line->WaitEvent(), CComLine::Event::Failed);
  const long ms = MsSince(start);
  const double cpu = ProcessCpuSeconds() - cpuBefore;
  EXPECT_GE(ms, 5000) << "a silent line is waited on for a while";
  EXPECT_LT(ms, 20000);
  EXPECT_LT(cpu, 0.1 * ms / 1000.0) << cpu << " s of CPU in " << ms << " ms";
  EXPECT_NE(line->Failure().message.find("WaitCommEvent keeps failing"), std::string::npos) << line->Failure().message;
  EXPECT_EQ(line->WaitEvent(), CComLine::Event::Failed) << "a failed line stays failed";
}

}  // namespace
