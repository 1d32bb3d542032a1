// One glyph record, STARTCHAR to ENDCHAR: the choice of the code, the checks
// on each line, and the decoding of hex and picture rows. Every case converts
// a whole font and looks at what was written and printed.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "font_layout_support.h"
#include "test_support.h"
#include "vbt_reader.h"

namespace {

// The lines of a well-formed record for code 65, 5 x 2 pixels.
std::vector<std::string> goodRecordLines() {
  return {"STARTCHAR A", "ENCODING 65", "SWIDTH 500 0", "DWIDTH 6 0", "BBX 5 2 0 0",
          "BITMAP",      "F8",          "88",           "ENDCHAR"};
}

std::string join(const std::vector<std::string>& record) {
  std::string text;
  for (const std::string& line : record) text += line + "\n";
  return text;
}

// A font of one glyph, 8 pixels wide, whose image is `image` (one byte a row).
ExpectedFont oneRowByteFont(int32_t code, uint16_t height, const Bytes& image) {
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 8;
  e.largest_height = static_cast<uint16_t>(height - 1);
  e.first_code = code;
  e.code_count = 1;
  e.images = image;
  e.metrics = {{8, static_cast<int16_t>(height), height, 0, 8, true}};
  e.offsets = {imageStart()};
  return e;
}

TEST(GlyphRecord, EncodingLineChoosesTheCode) {
  struct Case {
    std::string encoding;
    int32_t code;
  };
  for (const Case& c : std::vector<Case>{{"65", 65},
                                         {"-1 66", 66},
                                         {"65 66", 65},
                                         {"66 -1", 66},
                                         {"0", 0},
                                         {"+70", 70},
                                         {"  67   68", 67}}) {
    SCOPED_TRACE("ENCODING " + c.encoding);
    Conversion r = convertClean(bdfFont({bdfGlyph("A", c.encoding, 6, "5 2 0 0", {"F8", "88"})}));
    ExpectedFont e;
    e.flags = 0x1800;
    e.largest_width = 5;
    e.largest_height = 1;
    e.first_code = c.code;
    e.code_count = 1;
    e.images = {0xF8, 0x88};
    e.metrics = {{5, 2, 2, 0, 6, true}};
    e.offsets = {imageStart()};
    expectFont(r.bytes, e);
  }
}

TEST(GlyphRecord, BadEncodingEndsTheGlyphStage) {
  struct Case {
    std::string line;
    std::string err;
  };
  const std::string bad_value = "BDF Error: bad ENCODING value";
  const std::string bad_line = "BDF Error: bad 'ENCODING' in BDF file\n";
  for (const Case& c : std::vector<Case>{{"ENCODING -2", bad_value},
                                         {"ENCODING -1 -2", bad_value},
                                         {"ENCODING 65 -2", bad_value},
                                         {"ENCODING -70000", bad_value},
                                         {"ENCODING", bad_line},
                                         {"ENCODING x", bad_line},
                                         {"ENCODING -", bad_line},
                                         {"ENCODINGS 65", bad_line},
                                         {"encoding 65", bad_line}}) {
    SCOPED_TRACE(c.line);
    std::vector<std::string> record = goodRecordLines();
    record[1] = c.line;
    // A good glyph before the bad one: the metrics pass fails, so no image is
    // written at all.
    Conversion r = convertBdf(
        bdfFont({bdfGlyph("B", "66", 6, "5 2 0 0", {"F8", "88"}), join(record)}));
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.bytes, headerAndName());
  }
}

TEST(GlyphRecord, BadEncodingValueMessageRunsIntoTheNextMessage) {
  TempDir dir;
  std::vector<std::string> record = goodRecordLines();
  record[1] = "ENCODING -2";
  writeFile(dir.file("a.bdf"), bdfFont({join(record)}));
  writeFile(dir.file("b.bdf"), withCharsLine(bdfFont({}), "CHARS 0"));
  RunResult run = runBdf2vbt({"a.bdf", "b.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{1, "Converting a.bdf to a.vbt\nConverting b.bdf to b.vbt\n",
                            "BDF Error: bad ENCODING valueBDF Error: invalid number of CHARS in "
                            "BDF file\n"}));
  EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{"a.bdf", "b.bdf"}));
}

TEST(GlyphRecord, EachLineOfTheRecordIsCheckedInItsTurn) {
  struct Case {
    size_t line;                           // index in goodRecordLines()
    std::optional<std::string> replacement;  // none: the line is left out
    std::string message;
  };
  const std::vector<Case> cases{
      {0, "STARTCHAR", "bad character name in BDF file\n"},
      {0, "STARTCHAR   ", "bad character name in BDF file\n"},
      {1, std::nullopt, "bad 'ENCODING' in BDF file\n"},
      {2, "SWIDTH 500", "bad 'SWIDTH'\n"},
      {2, "SWIDTH", "bad 'SWIDTH'\n"},
      {2, "DWIDTH 6 0", "bad 'SWIDTH'\n"},
      {2, "SWIDTH 500 10", "SWIDTH y value must be zero\n"},
      {2, "SWIDTH 500 -1", "SWIDTH y value must be zero\n"},
      {3, "DWIDTH 6", "bad 'DWIDTH'\n"},
      {3, std::nullopt, "bad 'DWIDTH'\n"},
      {3, "DWIDTH 6 1", "DWIDTH y value must be zero\n"},
      {4, "BBX 5 2 0", "bad 'BBX'\n"},
      {4, "BBX 5 2 0 y", "bad 'BBX'\n"},
      {4, std::nullopt, "bad 'BBX'\n"},
      {4, "BBX -5 2 0 0", "character 'A' has a negative sized bitmap, -5x2\n"},
      {4, "BBX 5 -2 0 0", "character 'A' has a negative sized bitmap, 5x-2\n"},
      {4, "BBX -1 -1 0 0", "character 'A' has a negative sized bitmap, -1x-1\n"},
      {5, std::nullopt, "missing 'BITMAP'\n"},
      {5, " BITMAP", "missing 'BITMAP'\n"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> record = goodRecordLines();
    if (c.replacement) {
      record[c.line] = *c.replacement;
    } else {
      record.erase(record.begin() + static_cast<long>(c.line));
    }
    SCOPED_TRACE(join(record));
    Conversion r = convertBdf(
        bdfFont({bdfGlyph("B", "66", 6, "5 2 0 0", {"F8", "88"}), join(record)}));
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "BDF Error: " + c.message);
    EXPECT_EQ(r.bytes, headerAndName());
  }
}

TEST(GlyphRecord, LinesThatOnlyBeginWithTheKeywordsAreAccepted) {
  // The BITMAP line is tested as a prefix; the others must scan, and the
  // scanner skips blanks before numbers.
  std::vector<std::string> record = goodRecordLines();
  record[0] = "STARTCHAR   A extra words";
  record[2] = "SWIDTH\t500   0";
  record[5] = "BITMAPS follow";
  Conversion r = convertBdf(bdfFont({join(record)}));
  Conversion plain = convertBdf(bdfFont({join(goodRecordLines())}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.bytes, plain.bytes);
}

TEST(GlyphRecord, OddHexRowsAreReportedAndReadWithATrailingZero) {
  // Both passes read the rows, so each odd row is reported twice.
  Conversion r = convertBdf(bdfFont({bdfGlyph("A", "65", 13, "12 3 0 0", {"FF8", "F", "A5C1"})}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.out, "");
  std::string odd = "BDF Error: odd number of characters in hex encoding\n";
  EXPECT_EQ(r.err, odd + odd + odd + odd);
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 12;
  e.largest_height = 2;
  e.first_code = 65;
  e.code_count = 1;
  // Width 12: the second byte of each row keeps its top 4 bits.
  e.images = {0xFF, 0x80, 0xF0, 0x00, 0xA5, 0xC0};
  e.metrics = {{12, 3, 3, 0, 13, true}};
  e.offsets = {imageStart()};
  expectFont(r.bytes, e);
}

TEST(GlyphRecord, BadHexCharactersAreReportedAndAddNoDigit) {
  // "ZZ" does not start with a hex digit: it is a picture row without pixels.
  Conversion r =
      convertBdf(bdfFont({bdfGlyph("A", "65", 8, "8 5 0 0", {"1Z", "ZZ", "a5", "5G", "g0"})}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.out, "");
  const std::string pass = "BDF Error: bad hex char 'Z'BDF Error: bad hex char 'G'";
  EXPECT_EQ(r.err, pass + pass);
  expectFont(r.bytes, oneRowByteFont(65, 5, {0x01, 0x00, 0xA5, 0x05, 0x00}));
}

TEST(GlyphRecord, PictureRowsSetThePixelsOfTheirInkCharacters) {
  Conversion r = convertClean(
      bdfFont({bdfGlyph("A", "65", 8, "8 4 0 0", {"#..#.@", "*.*.*.*.", ".x#-@", "  ##  "})}));
  expectFont(r.bytes, oneRowByteFont(65, 4, {0x94, 0xAA, 0x28, 0x30}));
}

TEST(GlyphRecord, LongRowsSpillIntoTheFollowingRows) {
  // Picture row 0 is 17 pixels long on an 8-pixel glyph: pixels 8 and 10 land
  // in row 1, pixel 16 in row 2. Row 1 adds its own pixel to them; the hex
  // row 2 overwrites what row 0 put there.
  Conversion pictures = convertBdf(
      bdfFont({bdfGlyph("A", "65", 8, "8 3 0 0", {"#.......#.#.....#", ".#", "0F"})}));
  EXPECT_TRUE(pictures.completed);
  EXPECT_EQ(pictures.err, "");
  expectFont(pictures.bytes, oneRowByteFont(65, 3, {0x80, 0xE0, 0x0F}));

  // Hex row 0 carries three bytes: row 1 overwrites the second, the picture
  // row 2 adds its pixel to the third.
  Conversion hex =
      convertBdf(bdfFont({bdfGlyph("A", "65", 8, "8 3 0 0", {"AABB0C", "11", "#"})}));
  EXPECT_TRUE(hex.completed);
  EXPECT_EQ(hex.err, "");
  expectFont(hex.bytes, oneRowByteFont(65, 3, {0xAA, 0x11, 0x8C}));
}

TEST(GlyphRecord, RowsNotGivenAreClearAndRowsBeyondTheHeightAreDropped) {
  // Each glyph's rows start from a clear bitmap, whatever the glyph before it
  // held, also in the rows past its height.
  Conversion r = convertClean(bdfFont({bdfGlyph("A", "65", 8, "8 4 0 0", {"FF", "FF", "FF", "FF"}),
                                     bdfGlyph("B", "66", 8, "8 4 0 0", {"81", "42"}),
                                     bdfGlyph("C", "67", 8, "8 1 0 0", {"18", "FF", "FF"}),
                                     bdfGlyph("D", "68", 8, "8 3 0 0", {"01"})}));
  const uint32_t at = imageStart();
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 8;
  e.largest_height = 3;
  e.first_code = 65;
  e.code_count = 4;
  e.images = {0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x42, 0x00, 0x00, 0x18, 0x01, 0x00, 0x00};
  e.metrics = {{8, 4, 4, 0, 8, true}, {8, 4, 4, 0, 8, true}, {8, 1, 1, 0, 8, true},
               {8, 3, 3, 0, 8, true}};
  e.offsets = {at, at + 4, at + 8, at + 9};
  expectFont(r.bytes, e);
}

TEST(GlyphRecord, LongGlyphNamesKeepTheirFirst99Characters) {
  const std::string name = std::string(99, 'n') + "XYZ" + std::string(98, 'q');
  ASSERT_EQ(name.size(), 200u);
  const std::string shown(99, 'n');

  std::vector<std::string> record = goodRecordLines();
  record[0] = "STARTCHAR " + name;
  record[4] = "BBX 5 -1 0 0";
  Conversion bad = convertBdf(bdfFont({join(record)}), [](ConversionState& st) { st.verbose = 1; });
  EXPECT_FALSE(bad.completed);
  EXPECT_EQ(bad.err, "BDF Error: character '" + shown + "' has a negative sized bitmap, 5x-1\n");
  EXPECT_EQ(bad.out, "FONTNAME=test\npsize=8.000000 resx=75 resy=75\n"
                     "width=8 height=8 delta_x=0 delta_y=-2\nencoding 1 characters\n"
                     "character name " + shown + " number 65\n"
                     "SWIDTH 500 0\nDWIDTH 6 0\nBBX metrics: 5 -1 0 0\n");

  // The name is used in messages only: a good record converts as with a
  // short name.
  record = goodRecordLines();
  record[0] = "STARTCHAR " + name;
  Conversion good = convertBdf(bdfFont({join(record)}));
  EXPECT_TRUE(good.completed);
  EXPECT_EQ(good.err, "");
  EXPECT_EQ(good.bytes, convertBdf(bdfFont({join(goodRecordLines())})).bytes);
}

std::string hexByte(unsigned v) {
  char text[3];
  snprintf(text, sizeof text, "%02X", v & 0xFF);
  return text;
}

TEST(GlyphRecord, BoxesAboveTheBitmapCapacityAreRefusedAfterTheBbxLine) {
  struct Case {
    std::string bbx;
    std::string size;   // as the message shows it
  };
  for (const Case& c : std::vector<Case>{{"40000 1 0 0", "40000x1"},
                                         {"1 40000 0 0", "1x40000"},
                                         {"256 2049 0 0", "256x2049"},
                                         {"257 2048 0 0", "257x2048"},
                                         {"32768 1 0 0", "32768x1"},
                                         {"8 32768 0 0", "8x32768"},
                                         {"65536 8 0 0", "65536x8"},
                                         {"2147483647 2147483647 0 0", "2147483647x2147483647"},
                                         {"32767 17 0 0", "32767x17"}}) {
    SCOPED_TRACE(c.bbx);
    Conversion r = convertBdf(bdfFont({bdfGlyph("B", "66", 6, "5 2 0 0", {"F8", "88"}),
                                       bdfGlyph("big", "65", 6, c.bbx, {"FF"})}));
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "BDF Error: character 'big' has a bitmap too large, " + c.size + "\n");
    EXPECT_EQ(r.bytes, headerAndName());
  }
}

TEST(GlyphRecord, BoxesOfExactlyTheBitmapCapacityConvert) {
  // 256 x 2048: 32 bytes a row, 65536 bytes. Every byte differs from its
  // neighbours, so a row put in the wrong place shows. A 2049th row lies past
  // the end of the bitmap and is dropped.
  std::vector<std::string> rows;
  Bytes image;
  for (unsigned r = 0; r < 2048; ++r) {
    std::string row;
    for (unsigned k = 0; k < 32; ++k) {
      row += hexByte(r * 7 + k);
      image.push_back(static_cast<uint8_t>(r * 7 + k));
    }
    rows.push_back(row);
  }
  rows.push_back(std::string(64, 'F'));
  Conversion big = convertClean(bdfFont({bdfGlyph("big", "65", 256, "256 2048 0 0", rows)}));
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 256;
  e.largest_height = 2047;
  e.first_code = 65;
  e.code_count = 1;
  e.images = image;
  e.metrics = {{256, 2048, 2048, 0, 256, true}};
  e.offsets = {imageStart()};
  expectFont(big.bytes, e);

  // 32767 pixels wide and 16 high: rows of 4096 bytes, 65536 in all.
  Conversion wide = convertBdf(bdfFont({bdfGlyph("wide", "65", 9, "32767 16 0 0", {"FFFF"})}));
  EXPECT_TRUE(wide.completed);
  EXPECT_EQ(wide.err, "");
  e.largest_width = 32767;
  e.largest_height = 15;
  e.images.assign(65536, 0);
  e.images[0] = e.images[1] = 0xFF;
  e.metrics = {{32767, 16, 16, 0, 9, true}};
  expectFont(wide.bytes, e);
}

}  // namespace
