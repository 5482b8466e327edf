// The version block: its values, its text for people, and its presence in the
// shared library itself.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "version_block.h"

namespace {

TEST(VersionBlock, HoldsTheVersionAndTheKoreanStringBlock) {
  const vantor::VersionBlock& block = vantor::LibraryVersionBlock();
  EXPECT_EQ(vantor::FormatVersion(block.fileVersion), "1.0.0.1");
  EXPECT_EQ(vantor::FormatVersion(block.productVersion), "1.0.0.1");
  EXPECT_EQ(block.language, 0x0412);
  EXPECT_EQ(block.codePage, 1200);
  ASSERT_EQ(block.strings.size(), 6u);
}

TEST(VersionBlock, TextForPeople) {
  EXPECT_EQ(vantor::VersionText(),
            "Vantor2 1.0.0.1\n"
            "FileVersion 1.0.0.1, ProductVersion 1.0.0.1\n"
            "StringFileInfo 041204b0\n"
            "  FileDescription: Vantor3 DLL\n"
            "  FileVersion: 1, 0, 0, 1\n"
            "  InternalName: Vantor3\n"
            "  OriginalFilename: Vantor3.DLL\n"
            "  ProductName: Vantor3 동적 연결 라이브러리\n"
            "  ProductVersion: 1, 0, 0, 1\n");
}

TEST(VersionBlock, IsEmbeddedInTheSharedLibrary) {
  std::ifstream in(VANTOR2_LIBRARY_FILE, std::ios::binary);
  ASSERT_TRUE(in) << VANTOR2_LIBRARY_FILE;
  const std::string image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(image.find("Vantor3 동적 연결 라이브러리"), std::string::npos);
  EXPECT_NE(image.find("Vantor3.DLL"), std::string::npos);
}

}  // namespace
