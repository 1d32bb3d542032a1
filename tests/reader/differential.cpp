#include "differential.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "bdf/report.h"
#include "convert/conversion.h"
#include "inspect/font_drawing.h"
#include "io/output_stream.h"
#include "vbt_reader.h"

namespace {

struct FileBytes {
  const std::vector<uint8_t>* bytes;
  bool asked_outside = false;
};

// The read callback: any request outside the file fails the check.
int readFileBytes(void* context, uint32_t offset, uint32_t length, uint8_t* buffer) {
  auto* file = static_cast<FileBytes*>(context);
  const size_t size = file->bytes->size();
  if (length > size || offset > size - length) {
    file->asked_outside = true;
    return -1;
  }
  memcpy(buffer, file->bytes->data() + offset, length);
  return 0;
}

// The font's record of a glyph matches the format's record of a code
// without glyph: the reader cannot tell them apart.
bool looksEmpty(const vbtdump::DrawnGlyph& g, bool fixed_width) {
  const MetricRecord& m = g.metrics;
  return m.width == 1 && m.height == 1 && m.ascent == 0 && m.x_offset == 0 && (m.advance == 0 || fixed_width) &&
         (g.rows[0] & 0x80) == 0;
}

// What is wrong with `got` drawn with its box's left edge at bit 0..7 of a
// byte, two rows down and eight columns in, on a canvas with room around
// it, against the font's pixels of it; empty when nothing is.
std::string drawingProblem(const vbt_font& font, const vbt_glyph& got, const vbtdump::DrawnGlyph& glyph) {
  const int64_t width = got.width + 24, height = got.height + 4, stride = (width + 7) / 8;
  const int64_t row_bytes = (got.width + 7) / 8;
  for (int64_t phase = 0; phase < 8; ++phase) {
    std::vector<uint8_t> drawn(static_cast<size_t>(stride * height)), want(drawn.size());
    const vbt_canvas canvas{drawn.data(), static_cast<uint32_t>(stride), static_cast<int32_t>(width),
                            static_cast<int32_t>(height), nullptr, nullptr};
    const auto pen_x = static_cast<int32_t>(8 + phase - got.x_offset);
    const vbt_status status = vbt_draw_glyph(&font, &canvas, pen_x, 2 + got.ascent, &got);
    if (status != VBT_OK) return std::string("drawn unlike the font's glyph (") + vbt_status_name(status) + ")";
    for (int64_t y = 0; y < got.height; ++y) {
      for (int64_t x = 0, cx = 8 + phase; x < got.width; ++x, ++cx) {
        if (!(glyph.rows[static_cast<size_t>(y * row_bytes + x / 8)] & (0x80 >> (x % 8)))) continue;
        want[static_cast<size_t>((2 + y) * stride + cx / 8)] |= static_cast<uint8_t>(0x80 >> (cx % 8));
      }
    }
    if (drawn != want) return "drawn unlike the font's glyph";
  }
  return "";
}

}  // namespace

std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::optional<std::vector<uint8_t>> convertForReader(std::string_view bdf, bool fixed_width) {
  ConversionOptions options;
  options.fixed_width = fixed_width;
  FontConverter converter;
  OutputStream out;
  BdfReport report(nullptr, nullptr, false);
  if (!converter.convert(options, ReadingStrategy(), bdf, "font.vbt", out, report)) return std::nullopt;
  out.flush();
  return out.contents();
}

ReaderDifferential checkReaderDraws(std::string_view bdf, const std::vector<uint8_t>& file, bool fixed_width) {
  ReaderDifferential result;
  const auto wrong = [&result](const std::string& sentence) {
    if (result.wrong++ < static_cast<int64_t>(kListedWrongDrawings)) result.listed.push_back(sentence);
    return result;
  };
  vbtdump::FontDrawing font;
  std::string error;
  if (!vbtdump::readFontDrawing(bdf, &font, &error)) return wrong("the plain reading refuses the font: " + error);
  FileBytes bytes{&file};
  const auto size = static_cast<uint32_t>(file.size());
  vbt_font ways[2];
  if (vbt_open_memory(&ways[0], file.data(), size) != VBT_OK) return wrong("the reader does not open the file in memory");
  // The header's largest width sizes the row buffer, as the API says.
  std::vector<uint8_t> row_buffer(VBT_ROW_BYTES(ways[0].largest_width));
  if (vbt_open_reader(&ways[1], readFileBytes, &bytes, size, row_buffer.data(),
                      static_cast<uint32_t>(row_buffer.size())) != VBT_OK) {
    return wrong("the reader does not open the file through a callback");
  }
  const int64_t first = ways[0].first_code, last = first + ways[0].count - 1;
  const auto glyphOf = [&](int64_t code) -> const vbtdump::DrawnGlyph* {
    const auto it = code < first || code > last ? font.glyphs.end() : font.glyphs.find(static_cast<int32_t>(code));
    return it == font.glyphs.end() ? nullptr : &it->second;
  };
  int32_t largest_advance = 0;
  for (const auto& [code, glyph] : font.glyphs) {
    if (glyphOf(code)) largest_advance = std::max(largest_advance, glyph.metrics.advance);
  }
  // Every code up to 0x10000, then one beyond 31 bits.
  for (uint64_t n = 0; n <= 0x10001; ++n) {
    const uint64_t code = n <= 0x10000 ? n : 0x80000041;
    const vbtdump::DrawnGlyph* glyph = glyphOf(static_cast<int64_t>(code));
    MetricRecord want = glyph ? glyph->metrics : MetricRecord{};
    if (fixed_width) want.advance = largest_advance;
    const bool present = glyph && !looksEmpty(*glyph, fixed_width);
    ++(!glyph ? result.empty_codes : present ? result.glyphs : result.empty_glyphs);
    for (const vbt_font& way : ways) {
      vbt_glyph got;
      const vbt_status status = vbt_lookup(&way, static_cast<uint32_t>(code), &got);
      if (!present && status == VBT_NOT_PRESENT) continue;
      char where[64];
      snprintf(where, sizeof where, "code 0x%04llX %s: ", static_cast<unsigned long long>(code),
               &way == &ways[0] ? "in memory" : "through the callback");
      std::string problem;
      if (!present || status != VBT_OK) {
        problem = std::string("lookup gives '") + vbt_status_name(status) + "', not '" + (present ? "ok" : "not present") + "'";
      } else if (got.width != want.width || got.height != want.height || got.ascent != want.ascent ||
                 got.x_offset != want.x_offset || got.advance != want.advance) {
        problem = "the metrics differ from the font's";
      } else {
        problem = drawingProblem(way, got, *glyph);
      }
      if (!problem.empty()) wrong(where + problem);
    }
  }
  if (bytes.asked_outside) wrong("the read callback was asked for bytes outside the file");
  return result;
}
