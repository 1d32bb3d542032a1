// The device reader draws every code as a plain reading of the BDF font
// draws it (inspect/font_drawing.h): each sample font, and each font listed
// one a line in the file $READER_FONTS if set (scripts/reader-differential),
// converted with and without -w, is opened in memory and through a read
// callback; every code 0..65536 and one beyond 31 bits must be found with
// its metrics (its advance the largest of the range under -w) and draw its
// pixels with its box at each of the 8 bit positions of a byte, or, when the
// font has no glyph for it or one that looks like an empty record, be not
// present.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "inspect/compare.h"
#include "inspect/font_drawing.h"
#include "vbt_reader.h"

namespace {

std::string readText(const std::string& path) {
  std::string text, error;
  EXPECT_TRUE(vbtdump::readFontFile(path, &text, &error)) << error;
  return text;
}

std::vector<uint8_t> convert(std::string_view bdf, bool fixed_width) {
  ConversionOptions options;
  options.fixed_width = fixed_width;
  vbtdump::ExpectedFont file;
  EXPECT_TRUE(vbtdump::convertText(options, bdf, "font.vbt", &file));
  return file.bytes;
}

// The read callback; a request outside the file fails, and with it the code.
int readBytes(void* context, uint32_t offset, uint32_t length, uint8_t* buffer) {
  const auto* file = static_cast<const std::vector<uint8_t>*>(context);
  if (length > file->size() || offset > file->size() - length) return -1;
  memcpy(buffer, file->data() + offset, length);
  return 0;
}

// True when `got` draws the pixels of `glyph`, its box's left edge at each
// bit of a byte, two rows down and eight columns in, with room around it.
bool drawsAsTheFont(const vbt_font& font, const vbt_glyph& got, const vbtdump::DrawnGlyph& glyph) {
  const int64_t width = got.width + 24, height = got.height + 4, stride = (width + 7) / 8, row_bytes = (got.width + 7) / 8;
  for (int64_t phase = 0; phase < 8; ++phase) {
    std::vector<uint8_t> drawn(static_cast<size_t>(stride * height)), want(drawn.size());
    const vbt_canvas canvas{drawn.data(), static_cast<uint32_t>(stride), static_cast<int32_t>(width),
                            static_cast<int32_t>(height), nullptr, nullptr};
    if (vbt_draw_glyph(&font, &canvas, static_cast<int32_t>(8 + phase - got.x_offset), 2 + got.ascent, &got) != VBT_OK) {
      return false;
    }
    for (int64_t y = 0; y < got.height; ++y) {
      for (int64_t x = 0, cx = 8 + phase; x < got.width; ++x, ++cx) {
        if (!(glyph.rows[static_cast<size_t>(y * row_bytes + x / 8)] & (0x80 >> (x % 8)))) continue;
        want[static_cast<size_t>((2 + y) * stride + cx / 8)] |= static_cast<uint8_t>(0x80 >> (cx % 8));
      }
    }
    if (drawn != want) return false;
  }
  return true;
}

// The codes of `file` that the reader answers or draws unlike `bdf`, a line
// each (the first 10), and in `glyphs` how many codes are glyphs.
std::string wrongCodes(std::string_view bdf, const std::vector<uint8_t>& file, bool fixed_width, int64_t* glyphs) {
  vbtdump::FontDrawing font;
  std::string error, wrong;
  if (!vbtdump::readFontDrawing(bdf, &font, &error)) return "the plain reading refuses the font: " + error;
  const auto size = static_cast<uint32_t>(file.size());
  vbt_font ways[2];
  std::vector<uint8_t> row_buffer(VBT_MAX_ROW_BYTES);
  if (vbt_open_memory(&ways[0], file.data(), size) != VBT_OK ||
      vbt_open_reader(&ways[1], readBytes, const_cast<std::vector<uint8_t>*>(&file), size, row_buffer.data(),
                      static_cast<uint32_t>(VBT_ROW_BYTES(ways[0].largest_width))) != VBT_OK) {
    return "the reader does not open the file";
  }
  const int64_t first = ways[0].first_code, last = first + ways[0].count - 1;
  const auto glyphOf = [&](int64_t code) -> const vbtdump::DrawnGlyph* {
    const auto it = code < first || code > last ? font.glyphs.end() : font.glyphs.find(static_cast<int32_t>(code));
    return it == font.glyphs.end() ? nullptr : &it->second;
  };
  int64_t wrong_codes = 0;
  int32_t largest_advance = 0;
  for (const auto& [code, glyph] : font.glyphs) {
    if (glyphOf(code)) largest_advance = std::max(largest_advance, glyph.metrics.advance);
  }
  for (uint64_t n = 0; n <= 0x10001; ++n) {
    const uint64_t code = n <= 0x10000 ? n : 0x80000041;
    const vbtdump::DrawnGlyph* glyph = glyphOf(static_cast<int64_t>(code));
    const MetricRecord* m = glyph ? &glyph->metrics : nullptr;
    // A glyph that matches a code without glyph's record is none to the reader.
    const bool present = m && !(m->width == 1 && m->height == 1 && m->ascent == 0 && m->x_offset == 0 &&
                                (m->advance == 0 || fixed_width) && (glyph->rows[0] & 0x80) == 0);
    *glyphs += present;
    for (const vbt_font& way : ways) {
      vbt_glyph got;
      const vbt_status status = vbt_lookup(&way, static_cast<uint32_t>(code), &got);
      const bool right = !present ? status == VBT_NOT_PRESENT
                                  : status == VBT_OK && got.width == m->width && got.height == m->height &&
                                        got.ascent == m->ascent && got.x_offset == m->x_offset &&
                                        got.advance == (fixed_width ? largest_advance : m->advance) &&
                                        drawsAsTheFont(way, got, *glyph);
      if (!right && ++wrong_codes <= 10) {
        wrong += testing::PrintToString(code) + (&way == ways ? " in memory\n" : " through the callback\n");
      }
    }
  }
  return wrong_codes <= 10 ? wrong : wrong + "and " + std::to_string(wrong_codes - 10) + " more\n";
}

TEST(ReaderDifferential, FontsDrawAsTheirBdfWithAndWithoutFixedWidth) {
  std::vector<std::string> paths;
  for (const char* name : {"4x6.bdf", "5x7.bdf", "6x13.bdf", "9x15B.bdf"}) {
    paths.push_back(std::string(BDF2VBT_SOURCE_DIR "/examples/") + name);
  }
  std::istringstream listed(getenv("READER_FONTS") ? readText(getenv("READER_FONTS")) : "");
  for (std::string path; std::getline(listed, path);) paths.push_back(path);
  for (const std::string& path : paths) {
    const std::string bdf = readText(path);
    for (bool fixed_width : {false, true}) {
      SCOPED_TRACE(path + (fixed_width ? " -w" : ""));
      int64_t glyphs = 0;
      EXPECT_EQ(wrongCodes(bdf, convert(bdf, fixed_width), fixed_width, &glyphs), "");
      EXPECT_GT(glyphs, 0);
    }
  }
}

// The check itself: one pixel of 'A' changed in the file is found, both ways.
TEST(ReaderDifferential, FindsOnePixelChanged) {
  const std::string bdf = readText(BDF2VBT_SOURCE_DIR "/examples/4x6.bdf");
  std::vector<uint8_t> file = convert(bdf, false);
  vbt_font font;
  vbt_glyph a;
  ASSERT_EQ(vbt_open_memory(&font, file.data(), static_cast<uint32_t>(file.size())), VBT_OK);
  ASSERT_EQ(vbt_lookup(&font, 'A', &a), VBT_OK);
  file[a.image + 1] ^= 0x80;
  int64_t glyphs = 0;
  EXPECT_EQ(wrongCodes(bdf, file, false, &glyphs), "65 in memory\n65 through the callback\n");
}

}  // namespace
