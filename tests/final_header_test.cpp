// The header written last: baseline and underline, font box height, first
// code, the fixed-width flag and -w, and the metrics record of a glyph.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "font_layout_support.h"
#include "test_support.h"
#include "vbt_reader.h"

namespace {

// One glyph, 65, 5 x 7 with advance 6.
std::string singleGlyphFont(const std::string& box = "8 8 0 -2") {
  return bdfFont({bdfGlyph("A", "65", 6, "5 7 0 0", {"20", "50", "88", "F8", "88", "88", "88"})},
                 box);
}

ExpectedFont singleGlyphExpected() {
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 5;
  e.largest_height = 6;
  e.first_code = 65;
  e.code_count = 1;
  e.images = {0x20, 0x50, 0x88, 0xF8, 0x88, 0x88, 0x88};
  e.metrics = {{5, 7, 7, 0, 6, true}};
  e.offsets = {imageStart()};
  return e;
}

TEST(FinalHeader, SingleGlyphFont) {
  Conversion r = convertClean(singleGlyphFont());
  expectFont(r.bytes, singleGlyphExpected());
}

TEST(FinalHeader, MetricsRecordHoldsTheBoxOffsets) {
  Conversion r = convertBdf(bdfFont({bdfGlyph("A", "65", 4, "3 2 -1 -3", {"E0", "A0"}),
                                     bdfGlyph("B", "66", 7, "4 5 2 -2", {"F0"})}));
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.err, "");
  ExpectedFont e;
  e.largest_width = 4;
  e.largest_height = 4;
  e.first_code = 65;
  e.code_count = 2;
  e.images = {0xE0, 0xA0, 0xF0, 0x00, 0x00, 0x00, 0x00};
  e.metrics = {{3, 2, -1, -1, 4, true}, {4, 5, 3, 2, 7, true}};
  e.offsets = {imageStart(), imageStart() + 2};
  expectFont(r.bytes, e);
}

TEST(FinalHeader, BaselineAndUnderlineComeFromTheFontBoxUnlessGiven) {
  // FONTBOUNDINGBOX 8 16 0 -4: 12 rows above the baseline.
  struct Case {
    std::string options;
    int32_t baseline;   // -b
    int32_t underline;  // -u
    uint16_t baseline_field;
    uint16_t underline_field;
  };
  for (const Case& c : std::vector<Case>{{"none", 0, 0, 11, 13},
                                         {"-u 14", 0, 14, 11, 14},
                                         {"-b 10", 10, 0, 9, 13},
                                         {"-b 10 -u 14", 10, 14, 9, 14},
                                         {"-b 1 -u -2", 1, -2, 0, 0xFFFE},
                                         {"-b -3", -3, 0, 0xFFFC, 13}}) {
    SCOPED_TRACE(c.options);
    Conversion r = convertBdf(singleGlyphFont("8 16 0 -4"), [&](ConversionState& st) {
      st.arg_baseline = c.baseline;
      st.arg_underline = c.underline;
    });
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.err, "");
    ExpectedFont e = singleGlyphExpected();
    e.box_height = 16;
    e.baseline = c.baseline_field;
    e.underline = c.underline_field;
    expectFont(r.bytes, e);
  }

  // The box need not reach below the baseline.
  Conversion r = convertBdf(singleGlyphFont("6 13 0 2"));
  ExpectedFont e = singleGlyphExpected();
  e.box_width = 6;
  e.box_height = 13;
  e.baseline = 14;
  e.underline = 16;
  expectFont(r.bytes, e);
}

TEST(FinalHeader, BaselineAndUnderlineAreComputedAfreshForEachFile) {
  // The values computed for the first file must not pass for options in the
  // second.
  auto st = newState();
  Conversion first = convertBdfWith(*st, singleGlyphFont("8 16 0 -4"));
  Conversion second = convertBdfWith(*st, singleGlyphFont("8 8 0 -2"));
  ExpectedFont e = singleGlyphExpected();
  expectFont(second.bytes, e);
  e.box_height = 16;
  e.baseline = 11;
  e.underline = 13;
  expectFont(first.bytes, e);
}

TEST(FinalHeader, HeightAdjustmentIsAddedToTheFontBoxHeight) {
  struct Case {
    int16_t adjustment;
    uint16_t height;
  };
  for (const Case& c : std::vector<Case>{{2, 18}, {-1, 15}, {0, 16}, {-20, 0xFFFC}}) {
    SCOPED_TRACE(c.adjustment);
    Conversion r = convertBdf(singleGlyphFont("8 16 0 -4"), [&](ConversionState& st) {
      st.bound_height_adjustment = c.adjustment;
    });
    EXPECT_TRUE(r.completed);
    ExpectedFont e = singleGlyphExpected();
    e.box_height = c.height;
    e.baseline = 11;   // the adjustment leaves baseline and underline alone
    e.underline = 13;
    expectFont(r.bytes, e);
  }
}

TEST(FinalHeader, CodeOffsetShiftsOnlyTheFirstCode) {
  std::vector<std::string> glyphs;
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 8;
  e.code_count = 95;
  for (int32_t c = 32; c <= 126; ++c) {
    char row[3];
    snprintf(row, sizeof row, "%02X", c);
    const std::string number = std::to_string(c);
    glyphs.push_back(bdfGlyph(number, number, 8, "8 1 0 0", {row}));
    e.images.push_back(static_cast<uint8_t>(c));
    e.metrics.push_back({8, 1, 1, 0, 8, true});
    e.offsets.push_back(imageStart() + static_cast<uint32_t>(c - 32));
  }
  for (int32_t offset : {0xF000, 0, -32}) {
    SCOPED_TRACE(offset);
    Conversion r = convertClean(bdfFont(glyphs), [&](ConversionState& st) {
      st.ForceAsciiOffset = offset;
    });
    e.first_code = 32 + offset;
    expectFont(r.bytes, e);
  }
}

TEST(FinalHeader, FixedWidthFlagAndForcedWidth) {
  // Advances 6, 9, none (67) and 4.
  const std::string font = bdfFont({bdfGlyph("A", "65", 6, "5 1 0 0", {"F8"}),
                                    bdfGlyph("B", "66", 9, "8 1 0 0", {"FF"}),
                                    bdfGlyph("D", "68", 4, "3 1 0 0", {"E0"})});
  const uint32_t at = imageStart();
  ExpectedFont e;
  e.largest_width = 8;
  e.first_code = 65;
  e.code_count = 4;
  e.images = {0xF8, 0xFF, 0x00, 0xE0};
  e.offsets = {at, at + 1, at + 2, at + 3};

  Conversion proportional = convertBdf(font);
  EXPECT_TRUE(proportional.completed);
  e.flags = 0x0800;
  e.metrics = {{5, 1, 1, 0, 6, true}, {8, 1, 1, 0, 9, true}, kNoGlyph, {3, 1, 1, 0, 4, true}};
  expectFont(proportional.bytes, e);

  // -w: every record written, the code without glyph included, gets the
  // largest advance.
  Conversion fixed = convertBdf(font, [](ConversionState& st) { st.fix_width = 1; });
  EXPECT_TRUE(fixed.completed);
  EXPECT_EQ(fixed.err, "");
  e.flags = 0x1800;
  e.metrics = {{5, 1, 1, 0, 9, true}, {8, 1, 1, 0, 9, true}, {1, 1, 0, 0, 9, true},
               {3, 1, 1, 0, 9, true}};
  expectFont(fixed.bytes, e);

  // The largest advance starts at 0 for each file: with only negative
  // advances -w writes 0.
  const std::string backwards = bdfFont({bdfGlyph("A", "65", -3, "5 1 0 0", {"F8"}),
                                         bdfGlyph("B", "66", -5, "8 1 0 0", {"FF"})});
  ExpectedFont b;
  b.largest_width = 8;
  b.first_code = 65;
  b.code_count = 2;
  b.images = {0xF8, 0xFF};
  b.offsets = {at, at + 1};
  b.metrics = {{5, 1, 1, 0, -3, true}, {8, 1, 1, 0, -5, true}};
  expectFont(convertBdf(backwards).bytes, b);
  b.flags = 0x1800;
  b.metrics = {{5, 1, 1, 0, 0, true}, {8, 1, 1, 0, 0, true}};
  expectFont(convertBdf(backwards, [](ConversionState& st) { st.fix_width = 1; }).bytes, b);
}

}  // namespace
