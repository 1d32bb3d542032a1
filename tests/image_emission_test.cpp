// Glyph images as written: row size from the code's record, stray bits
// cleared, one-byte fillers for skipped codes, glyphs out of order and twice,
// and the offsets that locate every image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "font_layout_support.h"
#include "test_support.h"
#include "vbt_reader.h"

namespace {

const VbtMetrics kByteGlyph{8, 1, 1, 0, 8, true};

TEST(ImageEmission, FillersStandForTheCodesSkippedBetweenGlyphs) {
  Conversion r = convertClean(bdfFont({bdfGlyph("A", "65", 6, "5 2 0 0", {"F8", "88"}),
                                     bdfGlyph("D", "68", 6, "5 2 0 0", {"F0", "88"})}));
  const uint32_t at = imageStart();
  ExpectedFont e;
  e.largest_width = 5;
  e.largest_height = 1;
  e.first_code = 65;
  e.code_count = 4;
  e.images = {0xF8, 0x88, 0x00, 0x00, 0xF0, 0x88};
  e.metrics = {{5, 2, 2, 0, 6, true}, kNoGlyph, kNoGlyph, {5, 2, 2, 0, 6, true}};
  e.offsets = {at, at + 2, at + 3, at + 4};
  expectFont(r.bytes, e);
}

TEST(ImageEmission, FillersPrecedeTheFirstGlyphOnlyWhenTheRangeStartsAtZero) {
  // Range 0..2, glyph 2 first: fillers for 0 and 1 come before it; glyph 0
  // then takes its own place back from its filler.
  Conversion r = convertBdf(bdfFont({byteGlyph("2", "22"), byteGlyph("0", "F0")}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.out, "bdf file has characters out of sequence, char 0 prev 3\n");
  EXPECT_EQ(r.err, "");
  const uint32_t at = imageStart();
  ExpectedFont e;
  e.largest_width = 8;
  e.first_code = 0;
  e.code_count = 3;
  e.images = {0x00, 0x00, 0x22, 0xF0};
  e.metrics = {kByteGlyph, kNoGlyph, kByteGlyph};
  e.offsets = {at + 3, at + 1, at + 2};
  expectFont(r.bytes, e);

  // Range 1..2, glyph 2 first: no filler before it, as the range does not
  // start at 0.
  r = convertBdf(bdfFont({byteGlyph("2", "22"), byteGlyph("1", "F0")}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.out, "bdf file has characters out of sequence, char 1 prev 3\n");
  e.flags = 0x1800;
  e.first_code = 1;
  e.code_count = 2;
  e.images = {0x22, 0xF0};
  e.metrics = {kByteGlyph, kByteGlyph};
  e.offsets = {at + 1, at};
  expectFont(r.bytes, e);
}

TEST(ImageEmission, PixelsBeyondTheWidthAreCleared) {
  Conversion r = convertClean(bdfFont({bdfGlyph("a", "65", 11, "10 2 0 0", {"FFFF", "AAAA"}),
                                     bdfGlyph("b", "66", 11, "0 3 0 0", {"FF", "FF"}),
                                     bdfGlyph("c", "67", 11, "1 1 0 0", {"FF"}),
                                     bdfGlyph("d", "68", 11, "9 1 0 0", {"FFFF"}),
                                     bdfGlyph("e", "69", 11, "16 1 0 0", {"FFFF"})}));
  const uint32_t at = imageStart();
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 16;
  e.largest_height = 2;
  e.first_code = 65;
  e.code_count = 5;
  // A glyph 0 pixels wide has rows of no bytes: its image is empty.
  e.images = {0xFF, 0xC0, 0xAA, 0x80, 0x80, 0xFF, 0x80, 0xFF, 0xFF};
  e.metrics = {{10, 2, 2, 0, 11, true},
               {0, 3, 3, 0, 11, true},
               {1, 1, 1, 0, 11, true},
               {9, 1, 1, 0, 11, true},
               {16, 1, 1, 0, 11, true}};
  e.offsets = {at, at + 4, at + 4, at + 5, at + 7};
  expectFont(r.bytes, e);
}

TEST(ImageEmission, GlyphOfHeightZeroHasAnEmptyImage) {
  Conversion r = convertClean(bdfFont(
      {bdfGlyph("A", "65", 5, "4 0 0 3", {"FF"}), bdfGlyph("B", "66", 8, "8 1 0 0", {"3C"})}));
  ExpectedFont e;
  e.largest_width = 8;
  e.largest_height = 0;
  e.first_code = 65;
  e.code_count = 2;
  e.images = {0x3C};
  e.metrics = {{4, 0, 3, 0, 5, true}, kByteGlyph};
  e.offsets = {imageStart(), imageStart()};
  expectFont(r.bytes, e);
}

TEST(ImageEmission, GlyphsOutOfSequenceAreWrittenAfterAWarning) {
  // 70 then 65: 65 gets no fillers; 66 to 69 are reached by no image and
  // point at one zero byte after the last image, before the metrics table.
  Conversion r = convertBdf(bdfFont({byteGlyph("70", "F0"), byteGlyph("65", "0F")}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.out, "bdf file has characters out of sequence, char 65 prev 71\n");
  EXPECT_EQ(r.err, "");
  const uint32_t at = imageStart();
  ExpectedFont e;
  e.largest_width = 8;
  e.first_code = 65;
  e.code_count = 6;
  e.images = {0xF0, 0x0F, 0x00};
  e.metrics = {kByteGlyph, kNoGlyph, kNoGlyph, kNoGlyph, kNoGlyph, kByteGlyph};
  e.offsets = {at + 1, at + 2, at + 2, at + 2, at + 2, at};
  expectFont(r.bytes, e);

  // 65, 70, 66: the fillers cover 66 to 69, then 66's own image replaces its
  // filler; every code was reached, so no shared byte follows.
  r = convertBdf(bdfFont({byteGlyph("65", "01"), byteGlyph("70", "02"), byteGlyph("66", "03")}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.out, "bdf file has characters out of sequence, char 66 prev 71\n");
  EXPECT_EQ(r.err, "");
  e.images = {0x01, 0x00, 0x00, 0x00, 0x00, 0x02, 0x03};
  e.metrics = {kByteGlyph, kByteGlyph, kNoGlyph, kNoGlyph, kNoGlyph, kByteGlyph};
  e.offsets = {at, at + 6, at + 2, at + 3, at + 4, at + 5};
  expectFont(r.bytes, e);

  // 65, 64 (no advance, outside the range), 66: after 64 the next code
  // expected is 65, so 66 is preceded by a filler for 65, which takes 65's
  // place in the table from its image.
  r = convertBdf(bdfFont({byteGlyph("65", "65"), bdfGlyph("g64", "64", 0, "8 1 0 0", {"64"}),
                          byteGlyph("66", "66")}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.out, "bdf file has characters out of sequence, char 64 prev 66\n");
  EXPECT_EQ(r.err, "");
  e.flags = 0x1800;
  e.code_count = 2;
  e.images = {0x65, 0x64, 0x00, 0x66};
  e.metrics = {kByteGlyph, kByteGlyph};
  e.offsets = {at + 2, at + 3};
  expectFont(r.bytes, e);
}

TEST(ImageEmission, CodesNoImageReachedShareOneZeroByte) {
  // 68 then 65: 66 and 67 are neither glyphs nor fillers.
  Conversion r = convertBdf(bdfFont({byteGlyph("68", "F0"), byteGlyph("65", "0F")}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.out, "bdf file has characters out of sequence, char 65 prev 69\n");
  EXPECT_EQ(r.err, "");
  const uint32_t at = imageStart();
  ExpectedFont e;
  e.largest_width = 8;
  e.first_code = 65;
  e.code_count = 4;
  e.images = {0xF0, 0x0F, 0x00};
  e.metrics = {kByteGlyph, kNoGlyph, kNoGlyph, kByteGlyph};
  e.offsets = {at + 1, at + 2, at + 2, at};
  expectFont(r.bytes, e);

  // 70, 65, 67: 66 gets a filler before 67; 68 and 69 share the zero byte.
  r = convertBdf(
      bdfFont({byteGlyph("70", "70"), byteGlyph("65", "65"), byteGlyph("67", "67")}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.out, "bdf file has characters out of sequence, char 65 prev 71\n");
  EXPECT_EQ(r.err, "");
  e.code_count = 6;
  e.images = {0x70, 0x65, 0x00, 0x67, 0x00};
  e.metrics = {kByteGlyph, kNoGlyph, kByteGlyph, kNoGlyph, kNoGlyph, kByteGlyph};
  e.offsets = {at + 1, at + 2, at + 3, at + 4, at + 4, at};
  expectFont(r.bytes, e);
}

TEST(ImageEmission, RepeatedCodeTakesTheLaterRecordAndTheLaterImage) {
  // Both images get the later record's row size (2 bytes for width 10), each
  // with its own height and its own width mask. The largest height is that
  // of the record, 1.
  Conversion r = convertBdf(bdfFont({bdfGlyph("first", "65", 8, "8 2 0 0", {"FF", "81"}),
                                     bdfGlyph("second", "65", 11, "10 1 0 1", {"FFFF"})}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.out, "bdf file has characters out of sequence, char 65 prev 66\n");
  EXPECT_EQ(r.err, "");
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 10;
  e.largest_height = 0;
  e.first_code = 65;
  e.code_count = 1;
  e.images = {0xFF, 0x00, 0x81, 0x00, 0xFF, 0xC0};
  e.metrics = {{10, 1, 2, 0, 11, true}};
  e.offsets = {imageStart() + 4};
  expectFont(r.bytes, e);
}

TEST(ImageEmission, EachFileStartsWithAnEmptyImageOffsetTable) {
  // The first file reaches every code from 65 to 70; the second leaves 66 to
  // 69 unreached, and they must point at its shared zero byte, not at
  // positions left from the first file. Nothing else carries over either.
  auto st = newState();
  std::vector<std::string> ascending;
  for (int code = 65; code <= 70; ++code) {
    ascending.push_back(bdfGlyph("big" + std::to_string(code), std::to_string(code), 17,
                                 "16 4 0 0", {"FFFF", "FFFF", "FFFF", "FFFF"}));
  }
  Conversion first = convertBdfWith(*st, bdfFont(ascending));
  ASSERT_TRUE(first.completed);
  auto first_file = VbtFile::parse(first.bytes);
  ASSERT_TRUE(first_file);
  ASSERT_EQ(first_file->code_count, 6);

  Conversion second = convertBdfWith(*st, bdfFont({byteGlyph("70", "F0"), byteGlyph("65", "0F")}));
  EXPECT_TRUE(second.completed);
  EXPECT_EQ(second.out, "bdf file has characters out of sequence, char 65 prev 71\n");
  EXPECT_EQ(second.err, "");
  const uint32_t at = imageStart();
  ExpectedFont e;
  e.largest_width = 8;
  e.first_code = 65;
  e.code_count = 6;
  e.images = {0xF0, 0x0F, 0x00};
  e.metrics = {kByteGlyph, kNoGlyph, kNoGlyph, kNoGlyph, kNoGlyph, kByteGlyph};
  e.offsets = {at + 1, at + 2, at + 2, at + 2, at + 2, at};
  expectFont(second.bytes, e);
}

TEST(ImageEmission, ConvertedImageAboveTheCapacityEndsTheImagePass) {
  // Each box fits the bitmap, but the record kept for 65 is the later one,
  // 256 wide: the first glyph's 8192 rows would take 32 bytes each.
  const std::string font = bdfFont({byteGlyph("66", "FF"), bdfGlyph("tall", "65", 8, "8 8192 0 0", {}),
                                    bdfGlyph("wide", "65", 8, "256 1 0 0", {})});
  Conversion r = convertBdf(font);
  EXPECT_FALSE(r.completed);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "BDF Error: character 'tall' has a bitmap too large, 8x8192\n");
  Bytes written = headerAndName();
  written.push_back(0xFF);
  EXPECT_EQ(r.bytes, written);

  // The program leaves no output file for it and fails.
  TempDir dir;
  writeFile(dir.file("t.bdf"), font);
  RunResult run = runBdf2vbt({"t.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{1, "Converting t.bdf to t.vbt\n",
                            "BDF Error: character 'tall' has a bitmap too large, 8x8192\n"}));
  EXPECT_EQ(listFiles(dir.path()), std::vector<std::string>{"t.bdf"});
}

}  // namespace
