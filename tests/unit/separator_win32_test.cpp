// Windows builds paths with "\": RunVantor's directories get one appended
// when their last character is not a backslash (a forward slash included).
// The POSIX twin of this rule is WithSeparator.AddsOneSlashOnlyWhenMissing.
#include <gtest/gtest.h>

#include "file_system.h"
#include "run_transfer.h"

namespace {

using namespace vantor;

TEST(WithSeparatorWin32, AddsOneBackslashOnlyWhenMissing) {
  EXPECT_EQ(kDirSeparator, '\\');
  EXPECT_EQ(WithSeparator("C:\\recv"), "C:\\recv\\");
  EXPECT_EQ(WithSeparator("C:\\recv\\"), "C:\\recv\\");
  EXPECT_EQ(WithSeparator("C:/recv/"), "C:/recv/\\");
  EXPECT_EQ(WithSeparator(""), "");
}

}  // namespace
