// The fake file system's power cut is what the crash-safety tests rely on: it
// must forget exactly what a real disk may forget, and keep what was flushed.
#include <gtest/gtest.h>

#include "fake_file_system.h"

namespace {

using vantor::OpenMode;

TEST(FakeFileSystem, PowerCutKeepsFlushedDataAndFlushedNamesOnly) {
  vtest::FakeFileSystem fs;
  fs.MakeDir("/d");
  fs.Put("/d/OLD", "old");
  auto a = fs.Open("/d/A", OpenMode::Append);
  ASSERT_TRUE(a);
  ASSERT_FALSE(a->Write("flushed", 7));
  ASSERT_FALSE(a->Flush());
  ASSERT_FALSE(a->Write(" and not", 8));
  ASSERT_FALSE(fs.FlushDirectory("/d"));
  auto b = fs.Open("/d/B", OpenMode::Append);  // created after the directory's flush
  ASSERT_FALSE(b->Write("b", 1));
  ASSERT_FALSE(b->Flush());
  fs.PowerCut();
  EXPECT_EQ(fs.Get("/d/A"), "flushed");
  EXPECT_FALSE(fs.Has("/d/B"));
  EXPECT_EQ(fs.Get("/d/OLD"), "old");
}

TEST(FakeFileSystem, RenameOverAFileIsUndoneUntilItsDirectoryIsFlushed) {
  vtest::FakeFileSystem fs;
  fs.MakeDir("/d");
  fs.Put("/d/DATA", "old");
  fs.Put("/d/NEW", "new");
  ASSERT_FALSE(fs.Rename("/d/NEW", "/d/DATA"));
  EXPECT_EQ(fs.Get("/d/DATA"), "new");
  fs.PowerCut();
  EXPECT_EQ(fs.Get("/d/DATA"), "old");
  EXPECT_EQ(fs.Get("/d/NEW"), "new");
  ASSERT_FALSE(fs.Rename("/d/NEW", "/d/DATA"));
  ASSERT_FALSE(fs.FlushDirectory("/d"));
  fs.PowerCut();
  EXPECT_EQ(fs.Get("/d/DATA"), "new");
  EXPECT_FALSE(fs.Has("/d/NEW"));
}

TEST(FakeFileSystem, FailuresHitTheChosenCallsOnly) {
  vtest::FakeFileSystem fs;
  fs.MakeDir("/d");
  fs.Fail(vtest::FakeFileSystem::Op::Write, "/d/X", ENOSPC, 1, 1);
  auto x = fs.Open("/d/X", OpenMode::Replace);
  auto y = fs.Open("/d/Y", OpenMode::Replace);
  EXPECT_FALSE(x->Write("1", 1));
  EXPECT_EQ(x->Write("2", 1).code, ENOSPC);
  EXPECT_FALSE(x->Write("3", 1));
  EXPECT_FALSE(y->Write("y", 1));
  EXPECT_EQ(fs.Get("/d/X"), "13");
  EXPECT_EQ(fs.Open("/d/missing", OpenMode::Append) != nullptr, true);
  vantor::SysError err;
  EXPECT_EQ(fs.Open("/nowhere/Z", OpenMode::Append, &err), nullptr);
  EXPECT_EQ(err.code, ENOENT);
}

// The Windows rules that the storing sweep runs under must be Windows' own.
TEST(FakeFileSystem, WindowsRulesFindNamesAsWindowsDoes) {
  vtest::FakeFileSystem fs;
  fs.SetWindowsRules(true);
  fs.MakeDir("/d");
  auto f = fs.Open("/d/X.Tmp. ", OpenMode::Append);  // stored without its trailing dot and blank
  ASSERT_TRUE(f);
  ASSERT_FALSE(f->Write("x", 1));
  EXPECT_EQ(fs.Names("/d"), std::vector<std::string>{"X.Tmp"});
  EXPECT_EQ(fs.Get("/d/x.tmp"), "x");  // any letter case
  fs.Put("/d/VANTOR2-RECEIVE-COMMIT-RECORD.LST", "record");
  fs.Put("/d/VANTOR2-RECEIVE-COMMIT-RECORD.LST.new", "new");
  EXPECT_EQ(fs.Status("/d/vantor~1.lst").size, 6);  // the 8.3 alias reaches the long name
  EXPECT_EQ(fs.Status("/d/VANTOR~1.NEW").size, 3);
  EXPECT_EQ(fs.Status("/d/VANTOR~2.LST").kind, vantor::FileKind::None);
  EXPECT_TRUE(fs.NamesFollowFileFlushes());
}

TEST(FakeFileSystem, WindowsRulesMakeNamesDurableInOrderWithTheNextFileFlush) {
  vtest::FakeFileSystem fs;
  fs.SetWindowsRules(true);
  fs.MakeDir("/d");
  fs.Put("/d/OLD", "old");
  ASSERT_FALSE(fs.Rename("/d/OLD", "/d/RENAMED"));
  ASSERT_FALSE(fs.FlushDirectory("/d"));  // does nothing
  fs.PowerCut();
  EXPECT_TRUE(fs.Has("/d/OLD"));
  ASSERT_FALSE(fs.Rename("/d/OLD", "/d/RENAMED"));
  auto other = fs.Open("/d/OTHER", OpenMode::Append);
  ASSERT_FALSE(other->Flush());  // writes the journal, the rename before it included
  fs.PowerCut();
  EXPECT_EQ(fs.Names("/d"), (std::vector<std::string>{"OTHER", "RENAMED"}));
}

TEST(FakeFileSystem, FailCallFailsTheChosenCallAndTheOnesRightAfterIt) {
  vtest::FakeFileSystem fs;
  fs.MakeDir("/d");
  fs.FailCall(1, EIO, 2);
  EXPECT_EQ(fs.Status("/d").kind, vantor::FileKind::Directory);  // call 0
  EXPECT_EQ(fs.Status("/d").kind, vantor::FileKind::Unknown);    // call 1
  EXPECT_EQ(fs.Exists("/d").kind, vantor::FileKind::Unknown);    // call 2
  EXPECT_EQ(fs.Exists("/d").kind, vantor::FileKind::Other);
  EXPECT_EQ(fs.Exists("/d/none").kind, vantor::FileKind::None);
}

}  // namespace
