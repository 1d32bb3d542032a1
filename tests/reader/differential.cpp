#include "differential.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

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

class Differential {
 public:
  Differential(const vbtdump::FontDrawing& font, const std::vector<uint8_t>& bytes, bool fixed_width)
      : font_(font), file_{&bytes}, fixed_width_(fixed_width) {}

  ReaderDifferential run() {
    vbt_font memory, callback;
    std::vector<uint8_t> row_buffer;
    if (vbt_open_memory(&memory, file_.bytes->data(), static_cast<uint32_t>(file_.bytes->size())) != VBT_OK) {
      wrong("the reader does not open the file in memory");
      return result_;
    }
    // The header's largest width sizes the row buffer, as the API says.
    row_buffer.resize(VBT_ROW_BYTES(memory.largest_width));
    if (vbt_open_reader(&callback, readFileBytes, &file_, static_cast<uint32_t>(file_.bytes->size()),
                        row_buffer.data(), static_cast<uint32_t>(row_buffer.size())) != VBT_OK) {
      wrong("the reader does not open the file through a callback");
      return result_;
    }
    first_ = memory.first_code;
    last_ = int64_t{memory.first_code} + memory.count - 1;
    largest_advance_ = largestAdvance();
    for (uint32_t code = 0; code <= 0x10000; ++code) checkCode(code, memory, callback);
    checkCode(0x80000041, memory, callback);
    if (file_.asked_outside) wrong("the read callback was asked for bytes outside the file");
    return result_;
  }

 private:
  void wrong(const std::string& sentence) {
    ++result_.wrong;
    if (result_.listed.size() < kListedWrongDrawings) result_.listed.push_back(sentence);
  }

  const vbtdump::DrawnGlyph* glyphOf(int64_t code) const {
    if (code < first_ || code > last_) return nullptr;
    const auto it = font_.glyphs.find(static_cast<int32_t>(code));
    return it == font_.glyphs.end() ? nullptr : &it->second;
  }

  int32_t largestAdvance() const {
    int32_t largest = 0;
    for (const auto& [code, glyph] : font_.glyphs) {
      if (glyphOf(code)) largest = std::max(largest, glyph.metrics.advance);
    }
    return largest;
  }

  void checkCode(uint64_t code, const vbt_font& memory, const vbt_font& callback) {
    const vbtdump::DrawnGlyph* glyph = glyphOf(static_cast<int64_t>(code));
    MetricRecord want = glyph ? glyph->metrics : MetricRecord{};
    if (fixed_width_) want.advance = largest_advance_;
    const bool present = glyph && !looksEmpty(*glyph, fixed_width_);
    if (glyph) present ? ++result_.glyphs : ++result_.empty_glyphs;
    if (!glyph) ++result_.empty_codes;
    for (const vbt_font* font : {&memory, &callback}) {
      const char* way = font == &memory ? "in memory" : "through the callback";
      vbt_glyph got;
      const vbt_status status = vbt_lookup(font, static_cast<uint32_t>(code), &got);
      if (!present && status == VBT_NOT_PRESENT) continue;
      if (!present || status != VBT_OK) {
        wrong(describe(code, way) + ": lookup gives '" + vbt_status_name(status) + "', not '" +
              (present ? "ok" : "not present") + "'");
      } else if (got.width != want.width || got.height != want.height || got.ascent != want.ascent ||
                 got.x_offset != want.x_offset || got.advance != want.advance) {
        wrong(describe(code, way) + ": the metrics differ from the font's");
      } else {
        checkPixels(code, way, *font, got, *glyph);
      }
    }
  }

  // The glyph drawn with its box's left edge at bit 0..7 of a byte, two
  // rows down and eight columns in, on a canvas with room around it.
  void checkPixels(uint64_t code, const char* way, const vbt_font& font, const vbt_glyph& got,
                   const vbtdump::DrawnGlyph& glyph) {
    const int64_t width = got.width + 24, height = got.height + 4, stride = (width + 7) / 8;
    for (int64_t phase = 0; phase < 8; ++phase) {
      std::vector<uint8_t> drawn(static_cast<size_t>(stride * height)), want(drawn.size());
      vbt_canvas canvas{drawn.data(), static_cast<uint32_t>(stride), static_cast<int32_t>(width),
                        static_cast<int32_t>(height), nullptr, nullptr};
      const auto pen_x = static_cast<int32_t>(8 + phase - got.x_offset);
      const vbt_status status = vbt_draw_glyph(&font, &canvas, pen_x, 2 + got.ascent, &got);
      const int64_t row_bytes = (got.width + 7) / 8;
      for (int64_t y = 0; y < got.height; ++y) {
        for (int64_t x = 0; x < got.width; ++x) {
          if (!(glyph.rows[static_cast<size_t>(y * row_bytes + x / 8)] & (0x80 >> (x % 8)))) continue;
          const int64_t cx = 8 + phase + x, cy = 2 + y;
          want[static_cast<size_t>(cy * stride + cx / 8)] |= static_cast<uint8_t>(0x80 >> (cx % 8));
        }
      }
      if (status != VBT_OK || drawn != want) {
        return wrong(describe(code, way) + ": drawn unlike the font's glyph" +
                     (status != VBT_OK ? std::string(" (") + vbt_status_name(status) + ")" : ""));
      }
    }
  }

  std::string describe(uint64_t code, const char* way) const {
    char text[64];
    snprintf(text, sizeof text, "code 0x%04llX %s", static_cast<unsigned long long>(code), way);
    return text;
  }

  const vbtdump::FontDrawing& font_;
  FileBytes file_;
  bool fixed_width_;
  int64_t first_ = 0, last_ = -1;
  int32_t largest_advance_ = 0;
  ReaderDifferential result_;
};

}  // namespace

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
  vbtdump::FontDrawing font;
  std::string error;
  if (!vbtdump::readFontDrawing(bdf, &font, &error)) {
    ReaderDifferential result;
    result.wrong = 1;
    result.listed.push_back("the plain reading refuses the font: " + error);
    return result;
  }
  return Differential(font, file, fixed_width).run();
}
