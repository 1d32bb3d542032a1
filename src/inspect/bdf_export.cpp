#include "inspect/bdf_export.h"

#include <algorithm>

#include "convert/options.h"
#include "driver/command_line.h"
#include "inspect/compare.h"
#include "inspect/drawing_check.h"
#include "inspect/font_drawing.h"
#include "inspect/text_format.h"
#include "inspect/vbt_file.h"

namespace vbtdump {

namespace {

// One glyph record to write.
struct ExportGlyph {
  int32_t code;
  MetricRecord metrics;
  const uint8_t* image;   // imageSize() bytes of rows
};

// A stretch of the image area no code points at.
struct Span {
  int64_t begin;
  int64_t end;
};

class Exporter {
 public:
  explicit Exporter(const VbtFile& file) : file_(file), header_(file.header()) {}

  bool run(BdfExport* result, std::string* error) {
    if (file_.codeCount() > kCodeCount) {
      *error = formatText("its %lld codes cannot all be BDF codes", static_cast<long long>(file_.codeCount()));
      return false;
    }
    collectGlyphs();
    placeCodes(unreferencedSpans());
    keepLargestGlyph();
    numberGlyphsAfter();
    chooseOptions();
    result->text = bdfText();
    result->options = options_;
    result->glyphs = static_cast<int64_t>(glyphs_.size());
    result->kept = static_cast<int64_t>(before_.size() + after_.size());
    return true;
  }

 private:
  void collectGlyphs() {
    fixed_advance_ = file_.emptyCodeAdvance();
    for (int64_t i = 0; i < file_.codeCount(); ++i) {
      const Glyph g = *file_.glyph(i);
      if (!file_.isEmptyCode(i, fixed_advance_)) glyphs_.push_back({static_cast<int32_t>(i), g.metrics, g.image});
    }
  }

  // The stretches of the image area outside every code's image.
  std::vector<Span> unreferencedSpans() const {
    const int64_t begin = file_.imageAreaBegin();
    std::vector<bool> used(static_cast<size_t>(file_.imageAreaEnd() - begin), false);
    for (int64_t i = 0; i < file_.codeCount(); ++i) {
      const int64_t at = *file_.imageOffset(i) - begin;
      std::fill_n(used.begin() + at, file_.glyph(i)->imageSize(), true);
    }
    std::vector<Span> spans;
    for (size_t at = 0; at < used.size();) {
      size_t end = at;
      while (end < used.size() && !used[end]) ++end;
      if (end > at) spans.push_back({begin + static_cast<int64_t>(at), begin + static_cast<int64_t>(end)});
      at = end + 1;
    }
    return spans;
  }

  // Glyphs without advance whose images are the bytes of `span`: rows of one
  // byte, as many as the largest glyph height allows.
  std::vector<ExportGlyph> keepBytes(const Span& span) const {
    const int32_t width = std::min<int32_t>(header_.largest_width, 8);
    const int64_t rows = std::max<int64_t>(uint16_t(header_.largest_height + 1), 1);
    std::vector<ExportGlyph> kept;
    for (int64_t at = span.begin; at < span.end && width > 0; at += rows) {
      const int16_t height = static_cast<int16_t>(std::min(rows, span.end - at));
      kept.push_back({0, MetricRecord{static_cast<int16_t>(width), height, height, 0, 0}, file_.data() + at});
    }
    return kept;
  }

  // Codes: the range's own where they fit 0..65535 (else shifted, with -A),
  // bytes before the first image kept just below it, the rest just above.
  void placeCodes(const std::vector<Span>& spans) {
    for (size_t s = 0; s < spans.size(); ++s) {
      std::vector<ExportGlyph>& list = s == 0 && spans[s].begin == file_.imageAreaBegin() ? before_ : after_;
      const std::vector<ExportGlyph> kept = keepBytes(spans[s]);
      list.insert(list.end(), kept.begin(), kept.end());
    }
    const int64_t first = header_.first_code;
    const int64_t count = file_.codeCount();
    const int64_t below = static_cast<int64_t>(before_.size());
    const int64_t base = first >= below && first + count <= kCodeCount ? first : std::min(below, kCodeCount - count);
    if (base < below) {
      after_.insert(after_.begin(), before_.begin(), before_.end());
      before_.clear();
    }
    code_shift_ = static_cast<int32_t>(first - base);
    for (size_t k = 0; k < before_.size(); ++k) before_[k].code = static_cast<int32_t>(base - before_.size() + k);
    for (ExportGlyph& g : glyphs_) g.code = static_cast<int32_t>(base + g.code);
    next_code_ = base + count;
  }

  // Glyphs of no bytes that reach the header's largest width and height,
  // when no other glyph does.
  void keepLargestGlyph() {
    int32_t width = 0, height = 0;
    for (const std::vector<ExportGlyph>* list : {&before_, &glyphs_, &after_}) {
      for (const ExportGlyph& g : *list) {
        width = std::max<int32_t>(width, g.metrics.width);
        height = std::max<int32_t>(height, g.metrics.height);
      }
    }
    const int32_t largest_width = header_.largest_width;
    const int32_t largest_height = static_cast<uint16_t>(header_.largest_height + 1);
    if (width < largest_width && largest_width <= 0x7FFF) {
      after_.push_back({0, MetricRecord{static_cast<int16_t>(largest_width), 0, 0, 0, 0}, nullptr});
    }
    if (height < largest_height && largest_height <= 0x7FFF) {
      const int16_t h = static_cast<int16_t>(largest_height);
      after_.push_back({0, MetricRecord{0, h, h, 0, 0}, nullptr});
    }
  }

  // The glyphs after the range take the codes after it, as far as there are.
  void numberGlyphsAfter() {
    for (ExportGlyph& g : after_) g.code = static_cast<int32_t>(next_code_++);
    after_.erase(std::remove_if(after_.begin(), after_.end(), [](const ExportGlyph& g) { return g.code >= kCodeCount; }),
                 after_.end());
  }

  void chooseOptions() {
    if (code_shift_ != 0) options_.insert(options_.end(), {"-A", formatText("%s0x%X", code_shift_ < 0 ? "-" : "", code_shift_ < 0 ? 0u - static_cast<uint32_t>(code_shift_) : static_cast<uint32_t>(code_shift_))});
    const bool has_65535 = std::any_of(after_.begin(), after_.end(), [](const ExportGlyph& g) { return g.code == 65535; }) ||
                           (!glyphs_.empty() && glyphs_.back().code == 65535);
    if (has_65535) options_.insert(options_.end(), {"-E", "65536"});
    // The baseline follows from the font box; the underline too, unless it
    // is not the row below the baseline.
    const uint16_t baseline = static_cast<uint16_t>(header_.baseline + 1);
    if (header_.underline != static_cast<uint16_t>(baseline + 1)) {
      options_.insert(options_.end(), {"-u", std::to_string(header_.underline == 0 ? 65536 : header_.underline)});
    }
    if (fixed_advance_ != 0) options_.insert(options_.end(), {"-w", "x"});
  }

  std::string glyphText(const ExportGlyph& g) const {
    const MetricRecord& m = g.metrics;
    const int32_t point_size = std::max<int32_t>(header_.box_height, 1);
    std::string text = formatText("STARTCHAR uni%04X\nENCODING %d\nSWIDTH %d 0\nDWIDTH %d 0\nBBX %d %d %d %d\nBITMAP\n",
                                  g.code, g.code, static_cast<int32_t>(int64_t{m.advance} * 72000 / (point_size * 75)),
                                  m.advance, m.width, m.height,
                                  m.x_offset, static_cast<int32_t>(static_cast<uint32_t>(m.ascent) - static_cast<uint32_t>(m.height)));
    const int64_t row_bytes = imageRowBytes(m.width);
    for (int64_t y = 0; g.image && y < m.height; ++y) {
      for (int64_t k = 0; k < row_bytes; ++k) text += formatText("%02X", g.image[y * row_bytes + k]);
      text += '\n';
    }
    return text + "ENDCHAR\n";
  }

  std::string bdfText() const {
    const int32_t height = header_.box_height;
    const int32_t baseline = static_cast<uint16_t>(header_.baseline + 1);
    std::string text = formatText("STARTFONT 2.1\nFONT %s\nSIZE %d 75 75\nFONTBOUNDINGBOX %u %d 0 %d\n",
                                  file_.nameRecord()->font_name.c_str(), std::max(height, 1), header_.box_width,
                                  height, baseline - height);
    text += formatText("STARTPROPERTIES 3\nFONT_ASCENT %d\nFONT_DESCENT %d\nSPACING \"%s\"\nENDPROPERTIES\n", baseline,
                       height - baseline, (header_.flags & kFlagFixedWidth) ? "C" : "P");
    text += formatText("CHARS %zu\n", before_.size() + glyphs_.size() + after_.size());
    for (const std::vector<ExportGlyph>* list : {&before_, &glyphs_, &after_}) {
      for (const ExportGlyph& g : *list) text += glyphText(g);
    }
    return text + "ENDFONT\n";
  }

  const VbtFile& file_;
  const FontHeader& header_;
  int32_t fixed_advance_ = 0;     // the advance -w gave every code, when it did
  int32_t code_shift_ = 0;        // -A
  int64_t next_code_ = 0;         // the code after the range
  std::vector<ExportGlyph> before_, glyphs_, after_;
  std::vector<std::string> options_;
};

}  // namespace

bool exportBdf(const VbtFile& file, BdfExport* result, std::string* error) {
  return Exporter(file).run(result, error);
}

Rebuild checkRebuild(const VbtFile& file, const BdfExport& exported, const std::string& file_name,
                     int64_t* mismatches) {
  ConversionOptions conversion;
  size_t first_operand = 0;
  std::string error;
  parseConversionArguments(exported.options, &conversion, &first_operand, &error);
  ExpectedFont rebuilt;
  FontDrawing font;
  *mismatches = -1;
  if (!convertText(conversion, exported.text, file_name, &rebuilt) ||
      !readFontDrawing(exported.text, &font, &error)) {
    return Rebuild::kDiffers;
  }
  const VbtFile written(rebuilt.bytes.data(), rebuilt.bytes.size());
  if (firstByteDifference(written, file).empty()) return Rebuild::kSameBytes;
  const DrawingCheck drawn = checkDrawing(font, file, {conversion.code_offset, conversion.fixed_width});
  *mismatches = drawn.wrong + static_cast<int64_t>(headerDifferences(written, file).size());
  return *mismatches == 0 ? Rebuild::kSameGlyphs : Rebuild::kDiffers;
}

}  // namespace vbtdump
