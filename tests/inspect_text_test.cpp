// vbtdump --text: text drawn with the font's metrics, and the UTF-8 decoding
// of the text.
#include <gtest/gtest.h>

#include "inspect/text_render.h"
#include "inspect/utf8.h"
#include "inspect/vbt_file.h"
#include "test_support.h"

namespace {

std::string golden() { return readFile(testDataDir() + "/golden/test8.vbt"); }

TEST(InspectText, GoldenFontDrawsGlyphsAndBoxesForMissingCodes) {
  // A and C are glyphs; B is a filler inside the range and D lies outside it:
  // both show as empty boxes of the font box's width and height above the
  // baseline (8 x 6), one pixel smaller each way.
  TempDir dir;
  writeFile(dir.file("test8.vbt"), golden());
  RunResult run = runVbtdump({"--text", "ABCD", "test8.vbt"}, dir.path());
  EXPECT_EQ(run, (RunResult{0,
                            "..#............###..........\n"
                            ".#.#..#######.#...#.#######.\n"
                            "#...#.#.....#.#.....#.....#.\n"
                            "#####.#.....#.#.....#.....#.\n"
                            "#...#.#.....#.#...#.#.....#.\n"
                            "#...#.#######..###..#######.\n"
                            "............................\n"
                            "............................\n",
                            ""}));
}

TEST(InspectText, OffsetsAscentAndDescentPlaceTheGlyphs) {
  // Font box 4 x 6 with 5 rows above the baseline. 'j' reaches one pixel left
  // of the pen and two rows below the baseline; 'T' one row above the box.
  const std::string bdf = bdfFont(
      {bdfGlyph("j", "106", 4, "3 7 -1 -2", {"..#", "...", "..#", "..#", "..#", "..#", "##."}),
       bdfGlyph("T", "84", 4, "3 6 0 0", {"###", ".#.", ".#.", ".#.", ".#.", ".#."})},
      "4 6 0 -1");
  Conversion c = convertBdf(bdf);
  ASSERT_TRUE(c.completed) << c.err;
  const vbtdump::VbtFile file(c.bytes.data(), c.bytes.size());
  EXPECT_EQ(vbtdump::renderText(file, vbtdump::decodeUtf8("jT")),
            ".....###.\n"
            "..#...#..\n"
            "......#..\n"
            "..#...#..\n"
            "..#...#..\n"
            "..#...#..\n"
            "..#......\n"
            "##.......\n");
}

TEST(InspectText, EmptyTextDrawsNothing) {
  const std::string bytes = golden();
  const vbtdump::VbtFile file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  EXPECT_EQ(vbtdump::renderText(file, {}), "");
}

TEST(InspectText, InvalidFileIsRefused) {
  TempDir dir;
  writeFile(dir.file("short.vbt"), golden().substr(0, 100));
  RunResult run = runVbtdump({"--text", "A", "short.vbt"}, dir.path());
  EXPECT_EQ(run, (RunResult{1, "",
                            "vbtdump: short.vbt: invalid VBT2 file with 2 problems; "
                            "vbtdump --check lists them\n"}));
}

TEST(InspectUtf8, DecodesCodePointsOfEveryLength) {
  EXPECT_EQ(vbtdump::decodeUtf8("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
            (std::vector<int32_t>{0x41, 0xE9, 0x20AC, 0x1F600}));
}

TEST(InspectUtf8, BadBytesBecomeReplacementCharacters) {
  const int32_t bad = vbtdump::kReplacementCharacter;
  // A lone continuation byte, an overlong '/', a surrogate, a sequence cut
  // short by an ASCII byte, a sequence cut short by the end.
  EXPECT_EQ(vbtdump::decodeUtf8("\x80"), (std::vector<int32_t>{bad}));
  EXPECT_EQ(vbtdump::decodeUtf8("\xC0\xAF"), (std::vector<int32_t>{bad, bad}));
  EXPECT_EQ(vbtdump::decodeUtf8("\xED\xA0\x80"), (std::vector<int32_t>{bad, bad, bad}));
  EXPECT_EQ(vbtdump::decodeUtf8("\xE2\x82Z"), (std::vector<int32_t>{bad, bad, 'Z'}));
  EXPECT_EQ(vbtdump::decodeUtf8("a\xF0\x9F"), (std::vector<int32_t>{'a', bad, bad}));
}

}  // namespace
