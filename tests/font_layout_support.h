// Checks of whole output files against the layout a test works out by hand:
// the header fields, the glyph image area, the metrics table and the image
// offset table, with every position derived from the sizes of the parts.
#ifndef BDF2VBT_TESTS_FONT_LAYOUT_SUPPORT_H
#define BDF2VBT_TESTS_FONT_LAYOUT_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "test_support.h"
#include "vbt_reader.h"

using Bytes = std::vector<uint8_t>;

// A metrics record of a code without glyph.
inline const VbtMetrics kNoGlyph{1, 1, 0, 0, 0, true};

// The file a test expects. Defaults are those of a font made by bdfFont()
// with its default FONTBOUNDINGBOX 8 8 0 -2, font name "test" and output name
// "test.vbt": box 8 x 8, baseline 6 (field 5), underline 7.
struct ExpectedFont {
  uint16_t flags = 0x0800;
  uint16_t largest_width = 0;
  uint16_t largest_height = 0;   // the header field: largest height - 1
  uint16_t box_width = 8;
  uint16_t box_height = 8;
  uint16_t underline = 7;
  uint16_t baseline = 5;         // the header field: baseline - 1
  int32_t first_code = 0;
  int32_t code_count = 0;
  Bytes images;                  // everything between the name record and the metrics
  std::vector<VbtMetrics> metrics;
  std::vector<uint32_t> offsets;
  std::string font_name = "test";
  std::string file_name = "test.vbt";
};

// A glyph of one 8-pixel row `row` (hex), advance 8, at ENCODING `code`.
inline std::string byteGlyph(const std::string& code, const std::string& row = "81") {
  return bdfGlyph("g" + code, code, 8, "8 1 0 0", {row});
}

// Where the glyph images start: after the header and the name record.
inline uint32_t imageStart(const std::string& font_name = "test",
                           const std::string& file_name = "test.vbt") {
  return static_cast<uint32_t>(44 + font_name.size() + 1 + file_name.size() + 1);
}

// Compares every byte of `bytes` with `e`, field by field so that a failure
// names the field.
inline void expectFont(const Bytes& bytes, const ExpectedFont& e) {
  const uint32_t images_at = imageStart(e.font_name, e.file_name);
  const size_t count = e.code_count > 0 ? static_cast<size_t>(e.code_count) : 0;
  const uint32_t metric_pos = images_at + static_cast<uint32_t>(e.images.size());
  const uint32_t image_pos = metric_pos + static_cast<uint32_t>(32 * count);
  EXPECT_EQ(bytes.size(), image_pos + 4 * count) << "file size";
  auto parsed = VbtFile::parse(bytes);
  ASSERT_TRUE(parsed) << "the file does not parse";
  const VbtFile& f = *parsed;
  EXPECT_EQ(f.magic, 0x5632);
  EXPECT_EQ(f.flags, e.flags) << "flags";
  EXPECT_EQ(f.largest_width, e.largest_width) << "largest width";
  EXPECT_EQ(f.largest_height, e.largest_height) << "largest height field";
  EXPECT_EQ(f.box_width, e.box_width) << "font box width";
  EXPECT_EQ(f.box_height, e.box_height) << "font box height";
  EXPECT_EQ(f.image_pos, image_pos) << "image offset table position";
  EXPECT_EQ(f.metric_pos, metric_pos) << "metrics table position";
  EXPECT_EQ(f.underline, e.underline) << "underline";
  EXPECT_EQ(f.baseline, e.baseline) << "baseline field";
  EXPECT_EQ(f.first_code, e.first_code) << "first code";
  EXPECT_EQ(f.code_count, e.code_count) << "number of codes";
  EXPECT_TRUE(f.reserved_zero) << "reserved header bytes";
  EXPECT_EQ(f.font_name, e.font_name);
  EXPECT_EQ(f.file_name, e.file_name);
  if (bytes.size() >= metric_pos) {
    EXPECT_EQ(Bytes(bytes.begin() + images_at, bytes.begin() + metric_pos), e.images)
        << "glyph image area";
  }
  EXPECT_EQ(f.metrics, e.metrics) << "metrics table";
  EXPECT_EQ(f.offsets, e.offsets) << "image offset table";
}

// The bytes a conversion writes before its glyph stage: the placeholder
// header and the name record. A conversion whose glyph stage fails in the
// metrics pass leaves exactly these.
inline Bytes headerAndName(const std::string& font_name = "test",
                           const std::string& file_name = "test.vbt") {
  Bytes bytes(44, 0);
  const std::string record = font_name + "," + file_name;
  bytes.insert(bytes.end(), record.begin(), record.end());
  bytes.push_back(0);
  return bytes;
}

// `font` with its CHARS line replaced by `chars`.
inline std::string withCharsLine(std::string font, const std::string& chars) {
  const size_t at = font.find("\nCHARS ");
  const size_t end = font.find('\n', at + 1);
  return font.replace(at + 1, end - at - 1, chars);
}

#endif  // BDF2VBT_TESTS_FONT_LAYOUT_SUPPORT_H
