// The loop over the operands: each starts afresh, and the exit status sums
// up the run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"
#include "vbt_reader.h"

namespace {

// Glyphs 0x41..0x44, 12 pixels wide, advance 13, in a box 16 24 0 -6.
std::string wideFont() {
  std::vector<std::string> glyphs;
  for (const char* code : {"65", "66", "67", "68"}) {
    glyphs.push_back(bdfGlyph("w", code, 13, "12 20 0 -6", std::vector<std::string>(20, "FFF0")));
  }
  return bdfFont(glyphs, "16 24 0 -6", "wide");
}

// Glyphs 0x30 and 0x31, 3 pixels wide, advance 4, in a box 4 6 0 -1.
std::string narrowFont() {
  return bdfFont({bdfGlyph("zero", "48", 4, "3 5 0 0", {"E0", "A0", "A0", "A0", "E0"}),
                  bdfGlyph("one", "49", 4, "3 5 0 0", {"40", "C0", "40", "40", "E0"})},
                 "4 6 0 -1", "narrow");
}

TEST(ConvertLoop, EachOperandStartsAfresh) {
  TempDir alone;
  writeFile(alone.file("wideR8.bdf"), wideFont());
  writeFile(alone.file("narrowR8.bdf"), narrowFont());
  ASSERT_EQ(runBdf2vbt({"wideR8.bdf"}, alone.path()).status, 0);
  ASSERT_EQ(runBdf2vbt({"narrowR8.bdf"}, alone.path()).status, 0);

  // Range, maxima, baseline and underline of one font must not reach the
  // next, in either order.
  for (const auto& order : {std::vector<std::string>{"wideR8.bdf", "narrowR8.bdf"},
                            std::vector<std::string>{"narrowR8.bdf", "wideR8.bdf"}}) {
    SCOPED_TRACE(order[0] + " first");
    TempDir together;
    writeFile(together.file("wideR8.bdf"), wideFont());
    writeFile(together.file("narrowR8.bdf"), narrowFont());
    const RunResult run = runBdf2vbt(order, together.path());
    const auto converting = [](const std::string& operand) {
      return "Converting " + operand + " to " + operand.substr(0, operand.find('R')) + "8.vbt\n";
    };
    EXPECT_EQ(run, (RunResult{0, converting(order[0]) + converting(order[1]), ""}));
    EXPECT_EQ(readFile(together.file("wide8.vbt")), readFile(alone.file("wide8.vbt")));
    EXPECT_EQ(readFile(together.file("narrow8.vbt")), readFile(alone.file("narrow8.vbt")));
  }

  auto narrow = VbtFile::parse(readFile(alone.file("narrow8.vbt")));
  ASSERT_TRUE(narrow);
  EXPECT_EQ(narrow->first_code, 48);
  EXPECT_EQ(narrow->code_count, 2);
  EXPECT_EQ(narrow->largest_width, 3);
  EXPECT_EQ(narrow->baseline, 4);
  EXPECT_EQ(narrow->underline, 6);
}

TEST(ConvertLoop, AnErrorInOneOperandFailsTheRunButNotTheOthers) {
  TempDir dir;
  std::string miscounted = narrowFont();
  miscounted.replace(miscounted.find("STARTPROPERTIES 1"), 17, "STARTPROPERTIES 2");
  writeFile(dir.file("badR8.bdf"), miscounted);
  writeFile(dir.file("narrowR8.bdf"), narrowFont());
  const RunResult run = runBdf2vbt({"badR8.bdf", "narrowR8.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{1,
                            "Converting badR8.bdf to bad8.vbt\n"
                            "Converting narrowR8.bdf to narrow8.vbt\n",
                            "BDF Error: 1 too few properites\n"}));
  // The recovered block still gives the same glyphs.
  auto bad = VbtFile::parse(readFile(dir.file("bad8.vbt")));
  auto good = VbtFile::parse(readFile(dir.file("narrow8.vbt")));
  ASSERT_TRUE(bad);
  ASSERT_TRUE(good);
  EXPECT_EQ(bad->file_name, "bad8.vbt");
  EXPECT_EQ(bad->first_code, good->first_code);
  EXPECT_EQ(bad->metrics, good->metrics);
  ASSERT_EQ(bad->metrics.size(), 2u);
  EXPECT_EQ(bad->image(0), good->image(0));
  EXPECT_EQ(bad->image(1), good->image(1));
}

// A directory opens for reading like a file and gives no line: the stages
// report the empty input and the run goes on with the next operand.
// A directory opens like a file and fails at its first read: the operand
// fails, the run goes on.
TEST(ConvertLoop, DirectoryOperandFailsAtItsFirstReadAndTheRunGoesOn) {
  TempDir dir;
  ASSERT_TRUE(std::filesystem::create_directory(dir.file("dirR8.bdf")));
  writeFile(dir.file("narrowR8.bdf"), narrowFont());
  const RunResult run = runBdf2vbt({"dirR8.bdf", "narrowR8.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{1,
                            "Converting dirR8.bdf to dir8.vbt\n"
                            "Converting narrowR8.bdf to narrow8.vbt\n",
                            "BDF Error: bad 'STARTFONT'\n"
                            "BDF Error: missing 'STARTPROPERTIES'\n"
                            "BDF Error: bad 'CHARS' in bdf file\n"
                            "Can not read input file dirR8.bdf: Is a directory\n"}));
  EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{"narrow8.vbt", "narrowR8.bdf"}));
}

}  // namespace
