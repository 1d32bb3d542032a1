// Every input the fuzzer ever found a fault with, replayed through the same
// conversion (under the sanitizer build this checks memory safety too).
#include <gtest/gtest.h>

#include <filesystem>

#include "fuzz/fuzz_conversion.h"
#include "test_support.h"

namespace {

TEST(FuzzRegressions, EveryFoundInputConvertsTheSameTwice) {
  const std::filesystem::path dir = testDataDir() + "/fuzz-regressions";
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().filename() == "README.md") continue;
    const std::string bytes = readFile(entry.path().string());
    EXPECT_TRUE(runFuzzedConversion(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
        << entry.path();
    ++inputs;
  }
  EXPECT_GT(inputs, 0);
}

TEST(FuzzRegressions, SeedCorpusConvertsTheSameTwice) {
  const std::filesystem::path dir = testDataDir() + "/../fuzz/corpus";
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string bytes = readFile(entry.path().string());
    EXPECT_TRUE(runFuzzedConversion(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()))
        << entry.path();
  }
}

}  // namespace
