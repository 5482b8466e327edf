// A scanner or an indexer that holds a file just written makes opening,
// renaming and deleting it fail for a moment: the Windows file system tries
// those calls again, and notes it, rather than report a failure at once.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "file_system.h"

namespace {

using namespace vantor;

std::vector<std::string> g_notes;
void Note(const std::string& text) { g_notes.push_back(text); }

class HeldFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    ASSERT_NE(GetTempPathA(MAX_PATH, tmp), 0u);
    m_dir = std::string(tmp) + "vantor-held-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(m_dir.c_str(), nullptr);
    std::unique_ptr<CFile> f = SystemFileSystem().Open(m_dir + "A.TXT", OpenMode::Replace);
    ASSERT_TRUE(f);
    ASSERT_FALSE(f->Write("data", 4));
    g_notes.clear();
    SetFileRetryNote(&Note);
  }
  void TearDown() override {
    SetFileRetryNote(nullptr);
    if (m_release.joinable()) m_release.join();
    DeleteFileA((m_dir + "A.TXT").c_str());
    DeleteFileA((m_dir + "B.TXT").c_str());
    RemoveDirectoryA(m_dir.c_str());
  }
  // Opens name as another program would that shares nothing, and closes it
  // after holdMs (when holdMs is negative, at the end of the test).
  void Hold(const std::string& name, int holdMs) {
    m_held = CreateFileA((m_dir + name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(m_held, INVALID_HANDLE_VALUE);
    if (holdMs < 0) return;
    m_release = std::thread([this, holdMs] {
      std::this_thread::sleep_for(std::chrono::milliseconds(holdMs));
      CloseHandle(m_held);
    });
  }
  std::string m_dir;
  HANDLE m_held = INVALID_HANDLE_VALUE;
  std::thread m_release;
};

TEST_F(HeldFile, CallsGoThroughOnceTheOtherProgramLetsGo) {
  struct Row {
    const char* what;
    const char* held;
    std::function<bool(CFileSystem&, const std::string&)> call;
  };
  const Row rows[] = {
      {"Open", "A.TXT",
       [](CFileSystem& fs, const std::string& d) { return fs.Open(d + "A.TXT", OpenMode::Append) != nullptr; }},
      {"Rename", "A.TXT", [](CFileSystem& fs, const std::string& d) { return !fs.Rename(d + "A.TXT", d + "B.TXT"); }},
      {"Remove", "B.TXT", [](CFileSystem& fs, const std::string& d) { return !fs.Remove(d + "B.TXT"); }},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    g_notes.clear();
    Hold(r.held, 150);
    EXPECT_TRUE(r.call(SystemFileSystem(), m_dir));
    m_release.join();
    ASSERT_EQ(g_notes.size(), 1u);
    EXPECT_NE(g_notes[0].find("the file was held"), std::string::npos) << g_notes[0];
  }
}

TEST_F(HeldFile, AFileHeldForGoodStillFailsAfterAFewTries) {
  Hold("A.TXT", -1);
  const SysError err = SystemFileSystem().Remove(m_dir + "A.TXT");
  CloseHandle(m_held);
  EXPECT_EQ(err.code, ERROR_SHARING_VIOLATION);
  EXPECT_TRUE(vantor::SystemFileSystem().Exists(m_dir + "A.TXT").kind != FileKind::None);
  ASSERT_EQ(g_notes.size(), 1u);
  EXPECT_NE(g_notes[0].find("failed 10 times"), std::string::npos) << g_notes[0];
}

}  // namespace
