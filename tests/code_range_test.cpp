// The range of codes a file covers: from the lowest to the highest code whose
// advance is not zero, within the -S / -E bounds; and the codes that have no
// place in the tables at all.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "font_layout_support.h"
#include "test_support.h"
#include "vbt_reader.h"

namespace {

std::string oneByteGlyph(int32_t code, const std::string& row = "81") {
  return byteGlyph(std::to_string(code), row);
}

TEST(CodeRange, SpansFromTheLowestToTheHighestGlyph) {
  Conversion r = convertClean(bdfFont({oneByteGlyph(32), oneByteGlyph(65), oneByteGlyph(0x4E00)}));
  ExpectedFont e;
  e.largest_width = 8;
  e.largest_height = 0;
  e.first_code = 32;
  e.code_count = 19937;
  // One byte per code: the three glyphs' images and the fillers between them,
  // so the image of code c sits at 26 + c.
  for (int32_t c = 32; c <= 0x4E00; ++c) {
    const bool glyph = c == 32 || c == 65 || c == 0x4E00;
    e.images.push_back(glyph ? 0x81 : 0x00);
    e.metrics.push_back(glyph ? VbtMetrics{8, 1, 1, 0, 8, true} : kNoGlyph);
    e.offsets.push_back(static_cast<uint32_t>(imageStart() - 32 + c));
  }
  expectFont(r.bytes, e);
}

TEST(CodeRange, ForcedBoundsLeaveOutTheGlyphsOutsideThem) {
  // 32 and 65 are wider and taller than the digits: they must not count for
  // the largest width and height either.
  std::vector<std::string> glyphs{bdfGlyph("space", "32", 12, "12 2 0 0", {"FFF0", "FFF0"})};
  for (int32_t c = 48; c <= 57; ++c) glyphs.push_back(oneByteGlyph(c, std::to_string(c - 18)));
  glyphs.push_back(bdfGlyph("A", "65", 16, "16 3 0 0", {"FFFF", "FFFF", "FFFF"}));
  Conversion r = convertClean(bdfFont(glyphs), [](ConversionState& st) {
    st.ForceMinChar = 48;
    st.ForceMaxChar = 58;
  });
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 8;
  e.largest_height = 0;
  e.first_code = 48;
  e.code_count = 10;
  for (uint32_t i = 0; i < 10; ++i) {
    e.images.push_back(static_cast<uint8_t>(0x30 + i));
    e.metrics.push_back({8, 1, 1, 0, 8, true});
    e.offsets.push_back(imageStart() + i);
  }
  expectFont(r.bytes, e);

  // A glyph outside the bounds leaves the code expected next alone: 50 after
  // 60 is no glyph out of sequence, and 49 gets its filler.
  r = convertClean(bdfFont({oneByteGlyph(48, "48"), oneByteGlyph(60, "60"), oneByteGlyph(50, "50")}),
                 [](ConversionState& st) {
                   st.ForceMinChar = 48;
                   st.ForceMaxChar = 58;
                 });
  e.flags = 0x0800;
  e.code_count = 3;
  e.images = {0x48, 0x00, 0x50};
  e.metrics = {{8, 1, 1, 0, 8, true}, kNoGlyph, {8, 1, 1, 0, 8, true}};
  e.offsets = {imageStart(), imageStart() + 1, imageStart() + 2};
  expectFont(r.bytes, e);
}

TEST(CodeRange, Code65535IsLeftOutByDefault) {
  Conversion r = convertBdf(bdfFont({oneByteGlyph(65, "F0"), oneByteGlyph(65535, "0F")}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.err, "");
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 8;
  e.first_code = 65;
  e.code_count = 1;
  e.images = {0xF0};
  e.metrics = {{8, 1, 1, 0, 8, true}};
  e.offsets = {imageStart()};
  expectFont(r.bytes, e);

  // With the bound raised it belongs to the range.
  r = convertBdf(bdfFont({oneByteGlyph(65, "F0"), oneByteGlyph(65535, "0F")}),
                 [](ConversionState& st) { st.ForceMaxChar = 65536; });
  ASSERT_TRUE(r.completed);
  auto f = VbtFile::parse(r.bytes);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->first_code, 65);
  EXPECT_EQ(f->code_count, 65471);
  EXPECT_EQ(f->image(f->index(65535)), Bytes{0x0F});
}

TEST(CodeRange, GlyphsWithoutAdvanceDoNotWidenTheRangeButAreWritten) {
  // 64 and 68 (advance 0) lie outside the range 65..67, yet their images are
  // written and count for the largest width and height; 66 (advance 0) lies
  // inside and keeps its own record.
  Conversion r = convertClean(bdfFont({bdfGlyph("mark", "64", 0, "7 3 0 0", {"FE", "FE", "FE"}),
                                     bdfGlyph("A", "65", 6, "5 2 0 0", {"F8", "88"}),
                                     bdfGlyph("B", "66", 0, "3 1 0 0", {"E0"}),
                                     bdfGlyph("C", "67", 6, "5 2 0 0", {"70", "88"}),
                                     bdfGlyph("D", "68", 0, "9 1 0 0", {"FF80"})}));
  const uint32_t at = imageStart();
  ExpectedFont e;
  e.flags = 0x0800;
  e.largest_width = 9;
  e.largest_height = 2;
  e.first_code = 65;
  e.code_count = 3;
  e.images = {0xFE, 0xFE, 0xFE, 0xF8, 0x88, 0xE0, 0x70, 0x88, 0xFF, 0x80};
  e.metrics = {{5, 2, 2, 0, 6, true}, {3, 1, 1, 0, 0, true}, {5, 2, 2, 0, 6, true}};
  e.offsets = {at + 3, at + 5, at + 6};
  expectFont(r.bytes, e);
}

TEST(CodeRange, EmptyRangeWritesNoTables) {
  // The only glyph has no advance: it is written, but the range is empty.
  const std::string font = bdfFont({bdfGlyph("A", "65", 0, "5 7 0 0", {"F8"})});
  Conversion r = convertClean(font);
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 5;
  e.largest_height = 6;
  e.first_code = 65536;
  e.code_count = -65535;
  e.images = {0xF8, 0, 0, 0, 0, 0, 0};
  expectFont(r.bytes, e);

  // The header's first code still gets the -A offset.
  r = convertBdf(font, [](ConversionState& st) { st.ForceAsciiOffset = 16; });
  e.first_code = 65552;
  expectFont(r.bytes, e);

  // A glyph outside the bounds is not written, and nothing counts for the
  // largest width and height: the height field is 0 - 1.
  r = convertBdf(bdfFont({bdfGlyph("A", "65", 6, "5 7 0 0", {"F8"})}),
                 [](ConversionState& st) { st.ForceMinChar = 100; });
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.err, "");
  e.first_code = 65536;
  e.largest_width = 0;
  e.largest_height = 0xFFFF;
  e.images = {};
  expectFont(r.bytes, e);
}

TEST(CodeRange, NegativeBoundsCompareAsSignedNumbers) {
  const std::string font = bdfFont({oneByteGlyph(0, "80"), oneByteGlyph(65, "01")});
  // -S -5: every code from 0 up is converted.
  Conversion r = convertClean(font, [](ConversionState& st) { st.ForceMinChar = -5; });
  ExpectedFont e;
  e.largest_width = 8;
  e.first_code = 0;
  e.code_count = 66;
  for (int32_t c = 0; c <= 65; ++c) {
    const bool glyph = c == 0 || c == 65;
    e.images.push_back(c == 0 ? 0x80 : c == 65 ? 0x01 : 0x00);
    e.metrics.push_back(glyph ? VbtMetrics{8, 1, 1, 0, 8, true} : kNoGlyph);
    e.offsets.push_back(imageStart() + static_cast<uint32_t>(c));
  }
  expectFont(r.bytes, e);

  // -E -1: no code is converted, nothing is written.
  r = convertBdf(font, [](ConversionState& st) { st.ForceMaxChar = -1; });
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.err, "");
  ExpectedFont empty;
  empty.flags = 0x1800;
  empty.largest_height = 0xFFFF;
  empty.first_code = 65536;
  empty.code_count = -65535;
  expectFont(r.bytes, empty);

  // -S -100 -E 1: only code 0.
  r = convertBdf(font, [](ConversionState& st) {
    st.ForceMinChar = -100;
    st.ForceMaxChar = 1;
  });
  EXPECT_TRUE(r.completed);
  ExpectedFont zero;
  zero.flags = 0x1800;
  zero.largest_width = 8;
  zero.first_code = 0;
  zero.code_count = 1;
  zero.images = {0x80};
  zero.metrics = {{8, 1, 1, 0, 8, true}};
  zero.offsets = {imageStart()};
  expectFont(r.bytes, zero);
}

TEST(CodeRange, CodesOutsideTheTablesArePassedOver) {
  // The glyph between 65 and 66 has a code no table has a slot for. It must
  // leave no trace: no image, no record, no out-of-sequence warning for 66,
  // no part in the largest width and height, even when the bounds include it.
  const std::string a = bdfGlyph("A", "65", 6, "5 2 0 0", {"F8", "88"});
  const std::string b = bdfGlyph("B", "66", 6, "5 2 0 0", {"70", "88"});
  const Bytes plain = convertBdf(bdfFont({a, b})).bytes;
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 5;
  e.largest_height = 1;
  e.first_code = 65;
  e.code_count = 2;
  e.images = {0xF8, 0x88, 0x70, 0x88};
  e.metrics = {{5, 2, 2, 0, 6, true}, {5, 2, 2, 0, 6, true}};
  e.offsets = {imageStart(), imageStart() + 2};
  expectFont(plain, e);

  for (const std::string encoding :
       {"70000", "-1", "-1 -1", "-1 70000", "65536", "2147483647", "-1 2147483647"}) {
    for (bool wide_bounds : {false, true}) {
      SCOPED_TRACE("ENCODING " + encoding + (wide_bounds ? " with -S -5 -E 100000" : ""));
      const std::string x = bdfGlyph("X", encoding, 20, "16 20 0 0", {"FFFF", "FFFF"});
      Conversion r = convertClean(bdfFont({a, x, b}), [&](ConversionState& st) {
        if (wide_bounds) {
          st.ForceMinChar = -5;
          st.ForceMaxChar = 100000;
        }
      });
      EXPECT_EQ(r.bytes, plain);
    }
  }
}

}  // namespace
