// The worked example: a two-glyph font whose output is known byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "test_support.h"
#include "vbt_reader.h"

namespace {

std::string golden(const std::string& name) {
  return readFile(testDataDir() + "/golden/" + name);
}

TEST(Golden, WorkedExampleConvertsToItsKnownBytes) {
  TempDir dir;
  writeFile(dir.file("testR8.bdf"), golden("testR8.bdf"));
  RunResult run = runBdf2vbt({"testR8.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{0, "Converting testR8.bdf to test8.vbt\n", ""}));
  EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{"test8.vbt", "testR8.bdf"}));
  const std::string bytes = readFile(dir.file("test8.vbt"));
  ASSERT_EQ(bytes.size(), 180u);
  EXPECT_EQ(bytes, golden("test8.vbt"));
}

TEST(Golden, WorkedExampleFieldsAreThoseOfTheFormat) {
  auto file = VbtFile::parse(golden("test8.vbt"));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->magic, 0x5632);
  EXPECT_EQ(file->flags, 0x0800);
  EXPECT_EQ(file->largest_width, 5);
  EXPECT_EQ(file->largest_height, 5);
  EXPECT_EQ(file->box_width, 8);
  EXPECT_EQ(file->box_height, 8);
  EXPECT_EQ(file->image_pos, 168u);
  EXPECT_EQ(file->metric_pos, 72u);
  EXPECT_EQ(file->underline, 7);
  EXPECT_EQ(file->baseline, 5);
  EXPECT_EQ(file->first_code, 65);
  EXPECT_EQ(file->code_count, 3);
  EXPECT_TRUE(file->reserved_zero);
  EXPECT_EQ(file->font_name, "test");
  EXPECT_EQ(file->file_name, "test8.vbt");
  EXPECT_EQ(file->offsets, (std::vector<uint32_t>{59, 65, 66}));
  const VbtMetrics glyph{5, 6, 6, 0, 6, true};
  EXPECT_EQ(file->metrics, (std::vector<VbtMetrics>{glyph, {1, 1, 0, 0, 0, true}, glyph}));
  EXPECT_EQ(file->image(0), (std::vector<uint8_t>{0x20, 0x50, 0x88, 0xF8, 0x88, 0x88}));
  EXPECT_EQ(file->image(1), (std::vector<uint8_t>{0}));
  EXPECT_EQ(file->image(2), (std::vector<uint8_t>{0x70, 0x88, 0x80, 0x80, 0x88, 0x70}));
}

TEST(Golden, WorkedExampleVerboseOutputShowsEveryTraceAndDump) {
  TempDir dir;
  writeFile(dir.file("testR8.bdf"), golden("testR8.bdf"));
  ASSERT_EQ(mkdir(dir.file("out").c_str(), 0777), 0);
  RunResult run = runBdf2vbt({"-v", "-o", "out", "testR8.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{0, "Converting testR8.bdf to out/test8.vbt\n" + golden("testR8.verbose"), ""}));
  EXPECT_EQ(readFile(dir.file("out/test8.vbt")), golden("test8.vbt"));
}

}  // namespace
