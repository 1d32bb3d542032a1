#include "inspect/compare.h"

#include <algorithm>

#include "conversion_state.h"
#include "inspect/bdf_font.h"
#include "inspect/text_format.h"
#include "inspect/vbt_file.h"

namespace vbtdump {

namespace {

// What the conversion makes of the font: the codes it emits and its range.
struct Expected {
  int32_t low = 0x10000;        // the range; empty when low > high
  int32_t high = 0;
  int32_t largest_width = 0;    // maxima over the emitted glyphs
  int32_t largest_height = 0;
  int32_t largest_advance = 0;
};

// True for a code whose image the conversion writes: inside [-S, -E).
bool emitted(const ConversionState& options, int32_t code) {
  return code >= options.ForceMinChar && code < options.ForceMaxChar;
}

// The range and the maxima of the glyphs the conversion writes.
Expected expectFrom(const BdfFont& font, const ConversionState& options) {
  Expected e;
  for (const auto& [code, g] : font.glyphs) {
    if (!emitted(options, code)) continue;
    e.largest_width = std::max<int32_t>(e.largest_width, static_cast<int16_t>(g.width));
    e.largest_height = std::max<int32_t>(e.largest_height, static_cast<int16_t>(g.height));
    e.largest_advance = std::max(e.largest_advance, g.advance);
    if (g.advance == 0) continue;
    e.low = std::min(e.low, code);
    e.high = std::max(e.high, code);
  }
  return e;
}

// The metrics record the conversion writes for `code` of the range.
MetricRecord expectedRecord(const BdfFont& font, const ConversionState& options,
                            const Expected& e, int32_t code) {
  MetricRecord m;
  auto it = font.glyphs.find(code);
  if (it != font.glyphs.end()) {
    const BdfGlyph& g = it->second;
    m.width = static_cast<int16_t>(g.width);
    m.height = static_cast<int16_t>(g.height);
    m.ascent = wrapAdd(g.height, g.y_offset);
    m.x_offset = g.x_offset;
    m.advance = g.advance;
  }
  if (options.fix_width) m.advance = e.largest_advance;
  return m;
}

// Compares one file with one font, collecting the mismatches.
class Comparer {
 public:
  Comparer(const BdfFont& font, const ConversionState& options, const VbtFile& file)
      : font_(font), options_(options), file_(file), expected_(expectFrom(font, options)) {}

  // Runs every comparison.
  Comparison run() {
    compareHeader();
    if (file_.nameRecord()->font_name != font_.font_name) {
      mismatch("font name", "\"" + file_.nameRecord()->font_name + "\"", "\"" + font_.font_name + "\"");
    }
    for (int32_t code = expected_.low; code <= expected_.high; ++code) compareCode(code);
    return std::move(result_);
  }

 private:
  // Notes that `what` differs.
  void mismatch(const std::string& what, const std::string& in_file, const std::string& expected) {
    result_.mismatches.push_back(what + " is " + in_file + " in the file, " + expected + " from the BDF");
  }

  // Notes a difference, values in decimal.
  void compareNumber(const std::string& what, int64_t in_file, int64_t expected) {
    if (in_file != expected) mismatch(what, std::to_string(in_file), std::to_string(expected));
  }

  // Notes a difference, values as codes in hex.
  void compareHex(const std::string& what, int64_t in_file, int64_t expected) {
    if (in_file != expected) mismatch(what, codeText(in_file), codeText(expected));
  }

  // The header fields that follow from the font and the options.
  void compareHeader() {
    const FontHeader& h = file_.header();
    const bool empty = expected_.low > expected_.high;
    compareHex("first code", h.first_code, wrapAdd(options_.ForceAsciiOffset, expected_.low));
    compareNumber("number of codes", h.code_count, expected_.high + 1 - expected_.low);
    compareNumber("largest glyph width", h.largest_width, static_cast<uint16_t>(expected_.largest_width));
    compareNumber("largest glyph height field", h.largest_height,
                  static_cast<uint16_t>(expected_.largest_height - 1));
    compareNumber("font box width", h.box_width, static_cast<uint16_t>(font_.box_width));
    compareNumber("font box height", h.box_height,
                  static_cast<uint16_t>(wrapAdd(font_.box_height, options_.bound_height_adjustment)));
    const int32_t above = wrapAdd(font_.box_y_offset, font_.box_height);
    const int32_t baseline = options_.arg_baseline != 0 ? options_.arg_baseline : above;
    const int32_t underline = options_.arg_underline != 0 ? options_.arg_underline : wrapAdd(above, 1);
    compareNumber("underline row", h.underline, static_cast<uint16_t>(underline));
    compareNumber("baseline row field", h.baseline, static_cast<uint16_t>(wrapSub(baseline, 1)));
    compareHex("flags", h.flags, kFlagBase | (empty || allAdvancesEqual() ? kFlagFixedWidth : 0));
  }

  // True when every code of the range gets the same advance.
  bool allAdvancesEqual() const {
    const int32_t first = expectedRecord(font_, options_, expected_, expected_.low).advance;
    for (int32_t code = expected_.low + 1; code <= expected_.high; ++code) {
      if (expectedRecord(font_, options_, expected_, code).advance != first) return false;
    }
    return true;
  }

  // "code 0x0041 (A)": the code and its glyph's name, when it has a glyph.
  std::string codeName(int32_t code) const {
    auto it = font_.glyphs.find(code);
    std::string name = "code " + codeText(code);
    return it == font_.glyphs.end() ? name : name + " (" + it->second.name + ")";
  }

  // Record and image of `code`, which lies in the range.
  void compareCode(int32_t code) {
    const int64_t i = file_.indexOf(wrapAdd(code, options_.ForceAsciiOffset));
    const bool has_glyph = font_.glyphs.count(code) != 0;
    has_glyph ? ++result_.glyphs : ++result_.empty_codes;
    if (i < 0) {
      result_.mismatches.push_back(codeName(code) + " is missing from the file");
      return;
    }
    const Glyph g = *file_.glyph(i);
    if (!compareRecord(code, g.metrics)) return;
    has_glyph ? comparePixels(code, font_.glyphs.at(code), g) : compareEmpty(code, g);
  }

  // True when record `m` is what `code` must get.
  bool compareRecord(int32_t code, const MetricRecord& m) {
    const MetricRecord e = expectedRecord(font_, options_, expected_, code);
    const size_t before = result_.mismatches.size();
    const std::string name = codeName(code);
    compareNumber(name + " width", m.width, e.width);
    compareNumber(name + " height", m.height, e.height);
    compareNumber(name + " ascent", m.ascent, e.ascent);
    compareNumber(name + " x offset", m.x_offset, e.x_offset);
    compareNumber(name + " advance", m.advance, e.advance);
    return result_.mismatches.size() == before;
  }

  // Every pixel inside the glyph's box.
  void comparePixels(int32_t code, const BdfGlyph& bdf, const Glyph& g) {
    int64_t differing = 0, first_x = 0, first_y = 0;
    for (int64_t y = 0; y < bdf.height; ++y) {
      for (int64_t x = 0; x < bdf.width; ++x) {
        if (bdf.pixel(x, y) == g.pixel(x, y)) continue;
        if (differing++ == 0) first_x = x, first_y = y;
      }
    }
    if (differing == 0) return;
    result_.mismatches.push_back(formatText("%s: %lld of %lld pixels differ from the BDF, the first at x %lld, y %lld",
                                            codeName(code).c_str(), static_cast<long long>(differing),
                                            static_cast<long long>(int64_t{bdf.width} * bdf.height),
                                            static_cast<long long>(first_x), static_cast<long long>(first_y)));
  }

  // A code without glyph must point at a zero byte.
  void compareEmpty(int32_t code, const Glyph& g) {
    if (g.image[0] != 0) {
      result_.mismatches.push_back(codeName(code) + " has no glyph in the BDF, but its image is not a zero byte");
    }
  }

  const BdfFont& font_;
  const ConversionState& options_;
  const VbtFile& file_;
  const Expected expected_;
  Comparison result_;
};

}  // namespace

Comparison compareFont(const BdfFont& font, const ConversionState& options, const VbtFile& file) {
  return Comparer(font, options, file).run();
}

}  // namespace vbtdump
