// What each option does to the file written, seen by running the program
// and reading its output back.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "test_support.h"
#include "vbt_reader.h"

namespace {

// Glyphs at codes 31, 32, 48, 57, 65, 127, 128, 255 and 256; advance 5, but
// 7 for code 65. FONTBOUNDINGBOX 8 8 0 -2.
std::string rangeFont() {
  std::vector<std::string> glyphs;
  for (int code : {31, 32, 48, 57, 65, 127, 128, 255, 256}) {
    const std::string number = std::to_string(code);
    glyphs.push_back(bdfGlyph("g" + number, number,
                              code == 65 ? 7 : 5, "4 2 0 0", {"90", "60"}));
  }
  return bdfFont(glyphs, "8 8 0 -2", "range");
}

// Runs bdf2vbt with `options` on rangeR8.bdf and returns the file written;
// the run must succeed without a message.
std::optional<VbtFile> convertWith(const std::vector<std::string>& options) {
  TempDir dir;
  writeFile(dir.file("rangeR8.bdf"), rangeFont());
  std::vector<std::string> args = options;
  args.push_back("rangeR8.bdf");
  const RunResult run = runBdf2vbt(args, dir.path());
  EXPECT_EQ(run, (RunResult{0, "Converting rangeR8.bdf to range8.vbt\n", ""}));
  return VbtFile::parse(readFile(dir.file("range8.vbt")));
}

struct RangeCase {
  std::vector<std::string> options;
  int32_t first_code;
  int32_t code_count;
};

std::string joined(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) text += "[" + arg + "]";
  return text;
}

TEST(CliOptions, CodeRangeFollowsStartEndAndCount) {
  const std::vector<RangeCase> cases = {
      {{}, 31, 226},
      {{"-S", "32", "-N", "96"}, 32, 96},
      {{"-N", "96", "-S", "32"}, 32, 96},
      {{"-S", "48", "-E", "58"}, 48, 10},
      // strtol with base 0: hexadecimal and octal.
      {{"-E", "0x100"}, 31, 225},
      {{"-E", "0X100"}, 31, 225},
      {{"-E", "0400"}, 31, 225},
      {{"-S", "0x41"}, 65, 192},
      {{"-S", "040"}, 32, 225},
      // Lenient: leading blanks, trailing junk, nothing usable.
      {{"-S", " 32"}, 32, 225},
      {{"-S", "32junk"}, 32, 225},
      {{"-S", "0x"}, 31, 226},
      {{"-S", "junk"}, 31, 226},
      {{"-S", "-5"}, 31, 226},
      {{"-E", "0x10000"}, 31, 226},
      // -N counts from -S, overrides -E in either order; the last -N counts;
      // -N 0 means none.
      {{"-S", "30", "-E", "50", "-N", "3"}, 31, 2},
      {{"-N", "3", "-E", "50", "-S", "30"}, 31, 2},
      {{"-N", "40"}, 31, 2},
      {{"-N", "40", "-N", "100"}, 31, 35},
      {{"-N", "0", "-E", "0x41"}, 31, 27},
      {{"-S32", "-N96"}, 32, 96},
      // -A shifts the first code written, not the codes converted.
      {{"-A", "0x20"}, 63, 226},
      {{"-A", "-31"}, 0, 226},
      {{"-S", "32", "-N", "96", "-A", "0xF000"}, 0xF020, 96},
  };
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(joined(c.options));
    auto file = convertWith(c.options);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->first_code, c.first_code);
    EXPECT_EQ(file->code_count, c.code_count);
  }
}

TEST(CliOptions, StartAndCountGiveTheSameFileInEitherOrder) {
  TempDir dir;
  writeFile(dir.file("rangeR8.bdf"), rangeFont());
  const RunResult one = runBdf2vbt({"-S", "32", "-N", "96", "-O", "one.vbt", "rangeR8.bdf"},
                                   dir.path());
  const RunResult two = runBdf2vbt({"-N", "96", "-O", "two.vbt", "-S", "32", "rangeR8.bdf"},
                                   dir.path());
  EXPECT_EQ(one, (RunResult{0, "Converting rangeR8.bdf to one.vbt\n", ""}));
  EXPECT_EQ(two, (RunResult{0, "Converting rangeR8.bdf to two.vbt\n", ""}));
  const std::string bytes = readFile(dir.file("one.vbt"));
  EXPECT_FALSE(bytes.empty());
  EXPECT_EQ(bytes, readFile(dir.file("two.vbt")));
}

TEST(CliOptions, HeightBaselineAndUnderlineOptions) {
  struct Case {
    std::vector<std::string> options;
    uint16_t box_height, baseline, underline;
  };
  // The box 8 8 0 -2 puts the baseline 6 rows up: field 5, underline 7.
  const std::vector<Case> cases = {
      {{}, 8, 5, 7},
      {{"-a", "3"}, 11, 5, 7},
      {{"-a", "-2"}, 6, 5, 7},
      {{"-a", "3x"}, 11, 5, 7},
      {{"-a", "70000"}, 8 + 70000 % 65536, 5, 7},   // kept as 16 bits
      {{"-b", "4"}, 8, 3, 7},
      {{"-u", "9"}, 8, 5, 9},
      {{"-b", "4", "-u", "9"}, 8, 3, 9},
      {{"-b", "junk", "-u", "0"}, 8, 5, 7},   // 0: computed
      {{"-b", "0x10"}, 8, 5, 7},              // atoi reads decimal only
      {{"-b", "-3"}, 8, static_cast<uint16_t>(-4), 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(joined(c.options));
    auto file = convertWith(c.options);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->box_height, c.box_height);
    EXPECT_EQ(file->baseline, c.baseline);
    EXPECT_EQ(file->underline, c.underline);
  }
}

TEST(CliOptions, FixedWidthGivesEveryCodeTheLargestAdvance) {
  auto proportional = convertWith({});
  ASSERT_TRUE(proportional);
  EXPECT_EQ(proportional->flags, 0x0800);
  // The argument of -w is read and ignored.
  for (const char* argument : {"1", "0", "anything"}) {
    SCOPED_TRACE(argument);
    auto fixed = convertWith({"-w", argument});
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->flags, 0x1800);
    ASSERT_EQ(fixed->metrics.size(), 226u);
    for (const VbtMetrics& m : fixed->metrics) EXPECT_EQ(m.advance, 7);
  }
}

TEST(CliOptions, VerboseCountsAndShowsTraces) {
  TempDir dir;
  writeFile(dir.file("rangeR8.bdf"), rangeFont());
  const RunResult quiet = runBdf2vbt({"rangeR8.bdf"}, dir.path());
  const RunResult once = runBdf2vbt({"-v", "rangeR8.bdf"}, dir.path());
  const RunResult twice = runBdf2vbt({"-vv", "-v", "rangeR8.bdf"}, dir.path());
  EXPECT_EQ(quiet, (RunResult{0, "Converting rangeR8.bdf to range8.vbt\n", ""}));
  EXPECT_EQ(once.status, 0);
  EXPECT_EQ(once.err, "");
  EXPECT_EQ(once.out.rfind("Converting rangeR8.bdf to range8.vbt\nFONTNAME=range\n"
                           "psize=8.000000 resx=75 resy=75\n"
                           "width=8 height=8 delta_x=0 delta_y=-2\n",
                           0),
            0u);
  EXPECT_EQ(twice, once);
}

TEST(CliOptions, NameRecordCarriesTheDerivedNameUnderForcedOutput) {
  TempDir dir;
  writeFile(dir.file("courBO12.bdf"), rangeFont());
  const RunResult run = runBdf2vbt({"-O", "other.vbt", "courBO12.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{0, "Converting courBO12.bdf to other.vbt\n", ""}));
  auto file = VbtFile::parse(readFile(dir.file("other.vbt")));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->font_name, "range");
  EXPECT_EQ(file->file_name, "cour12bi.vbt");
  EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{"courBO12.bdf", "other.vbt"}));
}

TEST(CliOptions, ForcedOutputTakesEachConversionInTurn) {
  TempDir dir;
  const std::string first = rangeFont();
  const std::string second = bdfFont({bdfGlyph("A", "65", 6, "5 2 0 0", {"F8", "88"})});
  writeFile(dir.file("firstR8.bdf"), first);
  writeFile(dir.file("secondB10.bdf"), second);
  const RunResult alone = runBdf2vbt({"secondB10.bdf"}, dir.path());
  ASSERT_EQ(alone.status, 0);
  const RunResult both = runBdf2vbt({"-O", "x.vbt", "firstR8.bdf", "secondB10.bdf"}, dir.path());
  EXPECT_EQ(both, (RunResult{0,
                             "Converting firstR8.bdf to x.vbt\n"
                             "Converting secondB10.bdf to x.vbt\n",
                             ""}));
  EXPECT_EQ(readFile(dir.file("x.vbt")), readFile(dir.file("second10b.vbt")));
}

TEST(CliOptions, OutputDirectoryPathsAreNeverCut) {
  TempDir dir;
  // Nested directories making a path of some 600 characters.
  std::string deep = "d";
  for (int i = 0; i < 6; ++i) {
    deep += "/" + std::string(95, static_cast<char>('a' + i));
  }
  ASSERT_TRUE(std::filesystem::create_directories(dir.file(deep)));
  std::string family(200, 'f');
  writeFile(dir.file(family + "B12.bdf"), rangeFont());
  const std::string out = deep + "/" + family + "12b.vbt";
  EXPECT_EQ(runBdf2vbt({"-o", deep, family + "B12.bdf"}, dir.path()),
            (RunResult{0, "Converting " + family + "B12.bdf to " + out + "\n", ""}));
  auto file = VbtFile::parse(readFile(dir.file(out)));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->file_name, family + "12b.vbt");

  EXPECT_EQ(runBdf2vbt({"-O", deep + "/forced.vbt", family + "B12.bdf"}, dir.path()),
            (RunResult{0, "Converting " + family + "B12.bdf to " + deep + "/forced.vbt\n", ""}));
  EXPECT_TRUE(fileExists(dir.file(deep + "/forced.vbt")));
}

}  // namespace
