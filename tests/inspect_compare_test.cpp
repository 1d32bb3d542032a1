// vbtdump --compare: converted fonts match their BDF sources; damaged outputs
// do not.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "test_support.h"
#include "vbt_reader.h"

namespace {

// The glyphs and the codes without glyph that a conversion without options
// gives for `bdf`, counted from its ENCODING and DWIDTH lines.
std::string okLine(const std::string& bdf) {
  std::map<long, long> advance_of;
  long code = 0;
  std::istringstream in(bdf);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("ENCODING ", 0) == 0) code = std::stol(line.substr(9));
    if (line.rfind("DWIDTH ", 0) == 0) advance_of[code] = std::stol(line.substr(7));
  }
  long low = 65536, high = 0;
  for (const auto& [c, advance] : advance_of) {
    if (advance != 0 && c < 65535) low = std::min(low, c), high = std::max(high, c);
  }
  long glyphs = 0;
  for (const auto& entry : advance_of) glyphs += entry.first >= low && entry.first <= high;
  // Every sample font has many of both.
  return "ok, " + std::to_string(glyphs) + " glyphs compared, " +
         std::to_string(high - low + 1 - glyphs) + " codes without glyph\n";
}

class InspectSampleFont : public testing::TestWithParam<std::pair<std::string, std::string>> {};

TEST_P(InspectSampleFont, ConversionMatchesItsSource) {
  const auto& [bdf_name, vbt_name] = GetParam();
  TempDir dir;
  const std::string bdf = readFile(testDataDir() + "/fonts/" + bdf_name);
  writeFile(dir.file(bdf_name), bdf);
  ASSERT_EQ(runBdf2vbt({bdf_name}, dir.path()).status, 0);
  RunResult run = runVbtdump({"--compare", bdf_name, vbt_name}, dir.path());
  EXPECT_EQ(run, (RunResult{0, okLine(bdf), ""}));
}

INSTANTIATE_TEST_SUITE_P(Fonts, InspectSampleFont,
                         testing::Values(std::pair{"4x6.bdf", "4x6.vbt"}, std::pair{"5x7.bdf", "5x7.vbt"},
                                         std::pair{"6x13.bdf", "6x13.vbt"},
                                         std::pair{"9x15B.bdf", "9x15b.vbt"}),
                         [](const auto& info) { return "font" + std::to_string(info.index); });

TEST(InspectCompare, ConversionOptionsAreTakenIntoAccount) {
  TempDir dir;
  writeFile(dir.file("6x13.bdf"), readFile(testDataDir() + "/fonts/6x13.bdf"));
  const std::vector<std::string> options = {"-S", "32", "-E", "0x7F", "-A", "0xF000", "-w", "x",
                                            "-a", "2", "-b", "10", "-u", "12"};
  std::vector<std::string> convert = options;
  convert.push_back("6x13.bdf");
  ASSERT_EQ(runBdf2vbt(convert, dir.path()).status, 0);
  std::vector<std::string> compare = {"--compare"};
  compare.insert(compare.end(), options.begin(), options.end());
  compare.insert(compare.end(), {"6x13.bdf", "6x13.vbt"});
  EXPECT_EQ(runVbtdump(compare, dir.path()),
            (RunResult{0, "ok, 95 glyphs compared, 0 codes without glyph\n", ""}));

  // Without the options the file no longer matches.
  RunResult plain = runVbtdump({"--compare", "6x13.bdf", "6x13.vbt"}, dir.path());
  EXPECT_EQ(plain.status, 1);
  EXPECT_NE(plain.out.find("6x13.vbt: first code is 0xF020 in the file, 0x0000 from the BDF\n"), std::string::npos);
  EXPECT_NE(plain.out.find("6x13.vbt: font box height is 15 in the file, 13 from the BDF\n"), std::string::npos);
  EXPECT_NE(plain.out.find("6x13.vbt: baseline row field is 9 in the file, 10 from the BDF\n"), std::string::npos);
  EXPECT_EQ(plain.err, "");
}

// The worked example in a directory, with `damage` applied to test8.vbt.
RunResult compareGolden(const std::function<void(std::string&)>& damage) {
  TempDir dir;
  writeFile(dir.file("testR8.bdf"), readFile(testDataDir() + "/golden/testR8.bdf"));
  std::string vbt = readFile(testDataDir() + "/golden/test8.vbt");
  damage(vbt);
  writeFile(dir.file("test8.vbt"), vbt);
  return runVbtdump({"--compare", "testR8.bdf", "test8.vbt"}, dir.path());
}

TEST(InspectCompare, GoldenFileMatches) {
  EXPECT_EQ(compareGolden([](std::string&) {}),
            (RunResult{0, "ok, 2 glyphs compared, 1 code without glyph\n", ""}));
}

TEST(InspectCompare, DamagedPixelIsFound) {
  // Row 0 of A: 0x20 becomes 0x30, pixel 3 set.
  EXPECT_EQ(compareGolden([](std::string& vbt) { vbt[59] = 0x30; }),
            (RunResult{1,
                       "test8.vbt: code 0x0041 (A): 1 of 30 pixels differ from the BDF, the first at x 3, y 0\n"
                       "test8.vbt: 1 mismatch with testR8.bdf\n",
                       ""}));
}

TEST(InspectCompare, DamagedMetricsAndHeaderAreFound) {
  EXPECT_EQ(compareGolden([](std::string& vbt) { vbt[72 + 12] = 7; }),
            (RunResult{1,
                       "test8.vbt: code 0x0041 (A) advance is 7 in the file, 6 from the BDF\n"
                       "test8.vbt: 1 mismatch with testR8.bdf\n",
                       ""}));
  EXPECT_EQ(compareGolden([](std::string& vbt) { vbt[34] = 9; }),
            (RunResult{1,
                       "test8.vbt: baseline row field is 9 in the file, 5 from the BDF\n"
                       "test8.vbt: 1 mismatch with testR8.bdf\n",
                       ""}));
}

TEST(InspectCompare, DamagedFillerIsFound) {
  EXPECT_EQ(compareGolden([](std::string& vbt) { vbt[65] = static_cast<char>(0x80); }),
            (RunResult{1,
                       "test8.vbt: code 0x0042 has no glyph in the BDF, but its image is not a zero byte\n"
                       "test8.vbt: 1 mismatch with testR8.bdf\n",
                       ""}));
}

TEST(InspectCompare, StructurallyDamagedFileIsRefused) {
  EXPECT_EQ(compareGolden([](std::string& vbt) { vbt.resize(170); }),
            (RunResult{1, "",
                       "vbtdump: test8.vbt: invalid VBT2 file: image offset table at 168, 12 bytes, "
                       "does not fit in the file of 170 bytes\n"}));
}

TEST(InspectCompare, HandDamagedSampleFontIsFound) {
  TempDir dir;
  writeFile(dir.file("4x6.bdf"), readFile(testDataDir() + "/fonts/4x6.bdf"));
  ASSERT_EQ(runBdf2vbt({"4x6.bdf"}, dir.path()).status, 0);
  std::string vbt = readFile(dir.file("4x6.vbt"));
  std::optional<VbtFile> file = VbtFile::parse(vbt);
  ASSERT_TRUE(file);
  const size_t a = file->index('A');
  ASSERT_EQ(file->metrics[a].width, 4);
  vbt[file->offsets[a] + 1] ^= 0x40;   // pixel 1 of row 1
  writeFile(dir.file("4x6.vbt"), vbt);
  RunResult run = runVbtdump({"--compare", "4x6.bdf", "4x6.vbt"}, dir.path());
  EXPECT_EQ(run, (RunResult{1,
                            "4x6.vbt: code 0x0041 (A): 1 of 24 pixels differ from the BDF, the first at x 1, y 1\n"
                            "4x6.vbt: 1 mismatch with 4x6.bdf\n",
                            ""}));
}

TEST(InspectCompare, GlyphsOutOfOrderMatchWithTheirSharedZeroByte) {
  // 70 before 65: codes 66..69 get no filler and point at one zero byte.
  TempDir dir;
  writeFile(dir.file("oddR8.bdf"),
            bdfFont({bdfGlyph("F", "70", 6, "5 2 0 0", {"F8", "80"}),
                     bdfGlyph("A", "65", 6, "5 2 0 0", {"20", "50"})}));
  ASSERT_EQ(runBdf2vbt({"oddR8.bdf"}, dir.path()).status, 0);
  EXPECT_EQ(runVbtdump({"--compare", "oddR8.bdf", "odd8.vbt"}, dir.path()),
            (RunResult{0, "ok, 2 glyphs compared, 4 codes without glyph\n", ""}));
}

TEST(InspectCompare, AwkwardGlyphRecordsMatchUnderEveryOptionSet) {
  // A zero advance at the lowest code, codes without a table slot, a picture
  // row spilling into the next row, a code given twice, an empty box, odd hex
  // rows and records out of ascending order.
  TempDir dir;
  writeFile(dir.file("edgeR8.bdf"),
            bdfFont({bdfGlyph("mark", "40", 0, "3 2 -3 5", {"E0", "A0"}),
                     bdfGlyph("A", "65", 6, "5 3 0 0", {"FF", "88", "F8"}),
                     bdfGlyph("wide", "70", 11, "10 3 0 -1", {"#.#.#.#.#.#.#.#.#.#.", "FFC0", ".........#"}),
                     bdfGlyph("none", "-1", 6, "5 3 0 0", {"F8"}),
                     bdfGlyph("big", "70000", 6, "5 3 0 0", {"F8"}),
                     bdfGlyph("A2", "65", 7, "6 2 1 1", {"FC", "84"}),
                     bdfGlyph("empty", "66", 4, "0 0 0 0", {}),
                     bdfGlyph("odd", "67", 6, "5 2 0 0", {"F", "8"}),
                     bdfGlyph("early", "50", 6, "5 2 0 0", {"88", "F8"})},
                    "10 8 -1 -2", "edge"));
  const std::vector<std::pair<std::vector<std::string>, std::string>> runs = {
      {{}, "5 glyphs compared, 16 codes"},
      {{"-S", "50"}, "5 glyphs compared, 16 codes"},
      {{"-S", "45", "-N", "22"}, "3 glyphs compared, 14 codes"},
      {{"-w", "x", "-A", "0x100", "-a", "-1"}, "5 glyphs compared, 16 codes"},
  };
  for (const auto& [options, counts] : runs) {
    std::vector<std::string> convert = options;
    convert.push_back("edgeR8.bdf");
    ASSERT_TRUE(runBdf2vbt(convert, dir.path()).out.find("Converting") != std::string::npos);
    std::vector<std::string> compare = {"--compare"};
    compare.insert(compare.end(), options.begin(), options.end());
    compare.insert(compare.end(), {"edgeR8.bdf", "edge8.vbt"});
    RunResult run = runVbtdump(compare, dir.path());
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "ok, " + counts + " without glyph\n");
  }
}

TEST(InspectCompare, UnreadableOrBrokenBdfIsReported) {
  TempDir dir;
  writeFile(dir.file("test8.vbt"), readFile(testDataDir() + "/golden/test8.vbt"));
  EXPECT_EQ(runVbtdump({"--compare", "none.bdf", "test8.vbt"}, dir.path()),
            (RunResult{1, "", "vbtdump: none.bdf: No such file or directory\n"}));
  writeFile(dir.file("bad.bdf"), bdfFont({bdfGlyph("A", "65", 6, "5 x 0 0", {"20"})}));
  EXPECT_EQ(runVbtdump({"--compare", "bad.bdf", "test8.vbt"}, dir.path()),
            (RunResult{1, "",
                       "BDF Error: bad 'BBX'\n"
                       "vbtdump: bad.bdf: the BDF font has errors; nothing was compared\n"}));
}

}  // namespace
