// The bundled sample fonts convert with the program, and every glyph of each
// output matches its BDF source pixel for pixel. The source is read here by a
// reader of its own, independent of the converter's.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "font_layout_support.h"
#include "test_support.h"
#include "vbt_reader.h"

namespace {

struct SourceGlyph {
  int32_t advance = 0;
  int32_t width = 0, height = 0, x = 0, y = 0;
  std::vector<std::vector<uint8_t>> rows;

  bool pixel(int px, int py) const {
    const std::vector<uint8_t>& row = rows.at(static_cast<size_t>(py));
    const size_t byte = static_cast<size_t>(px / 8);
    return byte < row.size() && (row[byte] & (0x80 >> (px % 8))) != 0;
  }
};

struct SourceFont {
  std::string name;
  int32_t box_width = 0, box_height = 0, box_x = 0, box_y = 0;
  std::map<int32_t, SourceGlyph> glyphs;   // by code, the later record kept
};

std::vector<uint8_t> hexBytes(const std::string& text) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < text.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
  }
  return bytes;
}

// Reads the few things the comparison needs; the sample fonts are plain BDF
// with one keyword per line and hex rows only.
SourceFont readSource(const std::string& text) {
  SourceFont font;
  std::istringstream in(text);
  SourceGlyph glyph;
  int32_t code = -1;
  bool in_bitmap = false;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string keyword;
    words >> keyword;
    if (in_bitmap) {
      if (keyword == "ENDCHAR") {
        font.glyphs[code] = glyph;
        in_bitmap = false;
      } else {
        glyph.rows.push_back(hexBytes(keyword));
      }
    } else if (keyword == "FONT") {
      font.name = line.substr(5);
    } else if (keyword == "FONTBOUNDINGBOX") {
      words >> font.box_width >> font.box_height >> font.box_x >> font.box_y;
    } else if (keyword == "STARTCHAR") {
      glyph = SourceGlyph{};
    } else if (keyword == "ENCODING") {
      int32_t alternative = -1;
      words >> code;
      if (code == -1 && words >> alternative) code = alternative;
    } else if (keyword == "DWIDTH") {
      words >> glyph.advance;
    } else if (keyword == "BBX") {
      words >> glyph.width >> glyph.height >> glyph.x >> glyph.y;
    } else if (keyword == "BITMAP") {
      in_bitmap = true;
    }
  }
  return font;
}

struct Sample {
  std::string bdf;
  std::string vbt;
};

void PrintTo(const Sample& sample, std::ostream* os) { *os << sample.bdf; }

class SampleFont : public testing::TestWithParam<Sample> {};

TEST_P(SampleFont, ConvertsAndEveryGlyphMatchesItsSource) {
  const Sample& sample = GetParam();
  const std::string text = readFile(testDataDir() + "/fonts/" + sample.bdf);
  ASSERT_FALSE(text.empty());
  const SourceFont source = readSource(text);
  ASSERT_GT(source.glyphs.size(), 100u);

  TempDir dir;
  writeFile(dir.file(sample.bdf), text);
  RunResult run = runBdf2vbt({sample.bdf}, dir.path());
  EXPECT_EQ(run, (RunResult{0, "Converting " + sample.bdf + " to " + sample.vbt + "\n", ""}));
  EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{sample.bdf, sample.vbt}));
  const std::string written = readFile(dir.file(sample.vbt));
  auto parsed = VbtFile::parse(written);
  ASSERT_TRUE(parsed);
  const VbtFile& f = *parsed;

  // The range: codes 0 to 65534 with an advance. All glyphs of the samples
  // lie inside it, so the image area holds exactly the range's images in
  // code order.
  int32_t first = 65536, last = -1, largest_width = 0, largest_height = 0;
  for (const auto& [code, glyph] : source.glyphs) {
    ASSERT_TRUE(code >= 0 && code < 65535 && glyph.advance != 0) << "code " << code;
    first = std::min(first, code);
    last = std::max(last, code);
    largest_width = std::max(largest_width, glyph.width);
    largest_height = std::max(largest_height, glyph.height);
  }
  const int32_t count = last + 1 - first;
  bool same_advance = true;
  for (int32_t c = first; c <= last; ++c) {
    auto it = source.glyphs.find(c);
    same_advance = same_advance && it != source.glyphs.end() &&
                   it->second.advance == source.glyphs.at(first).advance;
  }

  EXPECT_EQ(f.magic, 0x5632);
  EXPECT_EQ(f.flags, same_advance ? 0x1800 : 0x0800);
  EXPECT_EQ(f.largest_width, largest_width);
  EXPECT_EQ(f.largest_height, largest_height - 1);
  EXPECT_EQ(f.box_width, source.box_width);
  EXPECT_EQ(f.box_height, source.box_height);
  EXPECT_EQ(f.baseline, source.box_y + source.box_height - 1);
  EXPECT_EQ(f.underline, source.box_y + source.box_height + 1);
  EXPECT_EQ(f.first_code, first);
  EXPECT_EQ(f.code_count, count);
  EXPECT_TRUE(f.reserved_zero);
  EXPECT_EQ(f.font_name, source.name);
  EXPECT_EQ(f.file_name, sample.vbt);
  EXPECT_EQ(f.image_pos, f.metric_pos + 32u * static_cast<uint32_t>(count));
  EXPECT_EQ(written.size(), f.image_pos + 4u * static_cast<uint32_t>(count));
  ASSERT_EQ(f.metrics.size(), static_cast<size_t>(count));

  uint32_t next_image = imageStart(source.name, sample.vbt);
  int glyphs_seen = 0;
  for (int32_t c = first; c <= last; ++c) {
    SCOPED_TRACE("code " + std::to_string(c));
    const size_t i = f.index(c);
    ASSERT_EQ(f.offsets[i], next_image);
    auto it = source.glyphs.find(c);
    if (it == source.glyphs.end()) {
      ASSERT_EQ(f.metrics[i], kNoGlyph);
      ASSERT_EQ(f.image(i), Bytes{0});
      next_image += 1;
      continue;
    }
    ++glyphs_seen;
    const SourceGlyph& g = it->second;
    ASSERT_EQ(f.metrics[i], (VbtMetrics{static_cast<int16_t>(g.width),
                                        static_cast<int16_t>(g.height), g.height + g.y, g.x,
                                        g.advance, true}));
    const size_t row_bytes = static_cast<size_t>((g.width + 7) / 8);
    ASSERT_EQ(f.image(i).size(), row_bytes * static_cast<size_t>(g.height));
    for (int y = 0; y < g.height; ++y) {
      for (int x = 0; x < static_cast<int>(row_bytes * 8); ++x) {
        // Inside the width the source's pixel; beyond it, always clear.
        const bool expected = x < g.width && g.pixel(x, y);
        ASSERT_EQ(f.pixel(i, x, y), expected) << "pixel " << x << "," << y;
      }
    }
    next_image += static_cast<uint32_t>(row_bytes * static_cast<size_t>(g.height));
  }
  EXPECT_EQ(glyphs_seen, static_cast<int>(source.glyphs.size()));
  EXPECT_EQ(f.metric_pos, next_image);
}

INSTANTIATE_TEST_SUITE_P(Fonts, SampleFont,
                         testing::Values(Sample{"4x6.bdf", "4x6.vbt"}, Sample{"5x7.bdf", "5x7.vbt"},
                                         Sample{"6x13.bdf", "6x13.vbt"},
                                         Sample{"9x15B.bdf", "9x15b.vbt"}),
                         [](const testing::TestParamInfo<Sample>& info) {
                           std::string name = info.param.bdf.substr(0, info.param.bdf.find('.'));
                           return "font_" + name;
                         });

}  // namespace
