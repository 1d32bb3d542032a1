#include "inspect/drawing_check.h"

#include <algorithm>

#include "inspect/font_drawing.h"
#include "inspect/text_format.h"
#include "inspect/vbt_file.h"

namespace vbtdump {

namespace {

// Entries of `entry_size` bytes from `position` on that lie in the file.
int64_t entriesInFile(const VbtFile& file, int64_t position, int64_t entry_size) {
  if (position < 0 || position > file.size()) return 0;
  return (file.size() - position) / entry_size;
}

class DrawingChecker {
 public:
  DrawingChecker(const FontDrawing& font, const VbtFile& file, const DrawingOptions& options)
      : font_(font), file_(file), options_(options) {}

  DrawingCheck run() {
    if (!file_.hasHeader()) {
      wrong("the file is too short for a header");
      return std::move(result_);
    }
    const FontHeader& h = file_.header();
    const int64_t count = file_.codeCount();
    const int64_t in_file = std::min({count, entriesInFile(file_, h.metric_pos, kMetricRecordSize),
                                      entriesInFile(file_, h.image_pos, kOffsetEntrySize)});
    const int32_t largest = largestAdvance(in_file);
    for (int64_t i = 0; i < in_file; ++i) checkCode(i, largest);
    if (in_file < count) {
      result_.wrong += count - in_file;
      result_.listed.push_back(formatText("%s from %s on: their tables end outside the file",
                                          countText(count - in_file, "code", "codes").c_str(),
                                          codeText(file_.codeAt(in_file)).c_str()));
    }
    return std::move(result_);
  }

 private:
  void wrong(const std::string& sentence) {
    ++result_.wrong;
    if (result_.listed.size() < kListedWrongCodes) {
      result_.listed.push_back(sentence);
    } else {
      ++result_.unlisted;
    }
  }

  // The font's code for table index `i`.
  int32_t fontCode(int64_t i) const {
    return static_cast<int32_t>(static_cast<uint32_t>(file_.codeAt(i)) - static_cast<uint32_t>(options_.code_offset));
  }

  const DrawnGlyph* glyphOf(int64_t i) const {
    const auto it = font_.glyphs.find(fontCode(i));
    return it == font_.glyphs.end() ? nullptr : &it->second;
  }

  // -w gives every code the largest advance of the glyphs of the range.
  int32_t largestAdvance(int64_t codes) const {
    int32_t largest = 0;
    for (int64_t i = 0; options_.fixed_width && i < codes; ++i) {
      if (const DrawnGlyph* glyph = glyphOf(i)) largest = std::max(largest, glyph->metrics.advance);
    }
    return largest;
  }

  std::string codeName(int64_t i, const DrawnGlyph* glyph) const {
    const std::string name = "code " + codeText(fontCode(i));
    return glyph ? name + " (" + glyph->name + ")" : name;
  }

  void checkCode(int64_t i, int32_t largest) {
    const DrawnGlyph* glyph = glyphOf(i);
    glyph ? ++result_.glyphs : ++result_.empty_codes;
    MetricRecord want = glyph ? glyph->metrics : MetricRecord{};
    if (options_.fixed_width) want.advance = largest;
    const MetricRecord got = *file_.metrics(i);
    const std::string differences = recordDifferences(got, want);
    if (!differences.empty() && !glyph) {
      return wrong(formatText("%s: the font has no glyph, but the file's record is %d x %d, ascent %d, x offset %d, advance %d",
                              codeName(i, glyph).c_str(), got.width, got.height, got.ascent, got.x_offset, got.advance));
    }
    if (!differences.empty()) return wrong(codeName(i, glyph) + ": " + differences);
    const int64_t at = *file_.imageOffset(i);
    const int64_t size = imageSize(want.width, want.height);
    const int64_t end = std::min<int64_t>(file_.header().metric_pos, file_.size());
    if (at < file_.imageAreaBegin() || at > end || size > end - at) {
      return wrong(formatText("%s: its image, %lld bytes at %lld, is not in the image area", codeName(i, glyph).c_str(),
                              static_cast<long long>(size), static_cast<long long>(at)));
    }
    const uint8_t* image = file_.data() + at;
    if (!glyph && image[0] != 0) {
      return wrong(formatText("%s: the font has no glyph, but its image byte is 0x%02X", codeName(i, glyph).c_str(), image[0]));
    }
    if (glyph) comparePixels(codeName(i, glyph), *glyph, image);
  }

  static std::string recordDifferences(const MetricRecord& got, const MetricRecord& want) {
    std::string text;
    const auto field = [&](const char* name, int64_t in_file, int64_t in_font) {
      if (in_file == in_font) return;
      text += formatText("%s%s is %lld in the file, %lld in the font", text.empty() ? "" : "; ", name,
                         static_cast<long long>(in_file), static_cast<long long>(in_font));
    };
    field("width", got.width, want.width);
    field("height", got.height, want.height);
    field("ascent", got.ascent, want.ascent);
    field("x offset", got.x_offset, want.x_offset);
    field("advance", got.advance, want.advance);
    return text;
  }

  void comparePixels(const std::string& name, const DrawnGlyph& glyph, const uint8_t* image) {
    const int64_t width = glyph.metrics.width, height = glyph.metrics.height, row_bytes = imageRowBytes(glyph.metrics.width);
    int64_t differing = 0, first_x = 0, first_y = 0;
    for (int64_t y = 0; y < height; ++y) {
      for (int64_t x = 0; x < width; ++x) {
        const int64_t at = y * row_bytes + x / 8;
        const int bit = 0x80 >> (x % 8);
        if (((image[at] ^ glyph.rows[static_cast<size_t>(at)]) & bit) == 0) continue;
        if (differing++ == 0) first_x = x, first_y = y;
      }
    }
    if (differing == 0) return;
    wrong(formatText("%s: %lld of %lld pixels differ from the font, the first at x %lld, y %lld", name.c_str(),
                     static_cast<long long>(differing), static_cast<long long>(width * height),
                     static_cast<long long>(first_x), static_cast<long long>(first_y)));
  }

  const FontDrawing& font_;
  const VbtFile& file_;
  const DrawingOptions& options_;
  DrawingCheck result_;
};

}  // namespace

DrawingCheck checkDrawing(const FontDrawing& font, const VbtFile& file, const DrawingOptions& options) {
  return DrawingChecker(font, file, options).run();
}

}  // namespace vbtdump
