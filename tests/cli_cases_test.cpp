// Command-line cases stored as files: each directory under data/cli holds
//   args      the arguments, one per line
//   input/    files copied into the working directory before the run
//   stdout, stderr, status   what the run must print and return (absent: empty, 0)
//   created   the files the run must add, one per line (absent: none)
//   golden/   files whose bytes the run must produce at the same paths
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

std::string optionalFile(const fs::path& path, const std::string& fallback = "") {
  return fs::exists(path) ? readFile(path.string()) : fallback;
}

std::vector<std::string> caseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(testDataDir() + "/cli")) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class CliCase : public testing::TestWithParam<std::string> {};

TEST_P(CliCase, PrintsCreatesAndExitsAsExpected) {
  const fs::path dir = fs::path(testDataDir()) / "cli" / GetParam();
  TempDir work;
  if (fs::exists(dir / "input")) {
    fs::copy(dir / "input", work.path(), fs::copy_options::recursive);
  }
  const std::vector<std::string> before = listFiles(work.path());
  RunResult run = runBdf2vbt(splitLines(readFile((dir / "args").string())), work.path());

  RunResult expected{std::stoi(optionalFile(dir / "status", "0")), optionalFile(dir / "stdout"),
                     optionalFile(dir / "stderr")};
  EXPECT_EQ(run.status, expected.status);
  EXPECT_EQ(run.out, expected.out);
  EXPECT_EQ(run.err, expected.err);

  std::vector<std::string> created;
  for (const std::string& file : listFiles(work.path())) {
    if (!std::binary_search(before.begin(), before.end(), file)) created.push_back(file);
  }
  std::vector<std::string> expected_created = splitLines(optionalFile(dir / "created"));
  std::sort(expected_created.begin(), expected_created.end());
  EXPECT_EQ(created, expected_created);

  if (fs::exists(dir / "golden")) {
    for (const std::string& file : listFiles((dir / "golden").string())) {
      EXPECT_EQ(readFile(work.file(file)), readFile((dir / "golden" / file).string()))
          << "bytes of " << file;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, CliCase, testing::ValuesIn(caseNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           std::replace_if(name.begin(), name.end(),
                                           [](char c) { return !isalnum(c); }, '_');
                           return name;
                         });

}  // namespace
