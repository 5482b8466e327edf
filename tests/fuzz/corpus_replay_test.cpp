// Replays a fuzz target's seed corpus as a plain test, so that every build
// (g++ without libFuzzer included) runs the target on its seeds. A property
// that fails inside the target aborts, which fails this test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

TEST(FuzzCorpus, EverySeedRunsWithoutBreakingAProperty) {
  std::vector<std::filesystem::path> seeds;
  for (const auto& entry : std::filesystem::directory_iterator(VANTOR_FUZZ_CORPUS)) {
    if (entry.is_regular_file()) seeds.push_back(entry.path());
  }
  std::sort(seeds.begin(), seeds.end());
  ASSERT_FALSE(seeds.empty()) << "no seeds in " << VANTOR_FUZZ_CORPUS;
  for (const auto& seed : seeds) {
    SCOPED_TRACE(seed.filename().string());
    std::ifstream in(seed, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
  }
  std::printf("replayed %zu seeds\n", seeds.size());
}

}  // namespace
