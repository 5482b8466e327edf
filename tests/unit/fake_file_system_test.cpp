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

}  // namespace
