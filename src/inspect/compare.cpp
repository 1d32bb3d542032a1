#include "inspect/compare.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "bdf/report.h"
#include "convert/conversion.h"
#include "inspect/text_format.h"
#include "inspect/vbt_file.h"
#include "io/input_bytes.h"
#include "io/output_stream.h"

namespace vbtdump {

bool convertText(const ConversionOptions& options, std::string_view bdf, std::string_view file_name,
                 ExpectedFont* expected) {
  auto tables = std::make_unique<ConversionTables>();
  OutputStream out;
  BdfReport report(nullptr, stderr, false);
  const auto note = [&](const GlyphRecord& glyph) { expected->names[glyph.code] = glyph.name; };
  if (!convertFont(options, bdf, file_name, *tables, out, report, note)) return false;
  out.flush();
  expected->bytes = out.contents();
  return true;
}

bool convertForComparison(const ConversionOptions& options, const std::string& path, ExpectedFont* expected,
                          std::string* error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = strerror(errno);
    return false;
  }
  InputBytes input;
  const int read_error = input.readAll(fd);
  close(fd);
  if (read_error != 0) {
    *error = strerror(read_error);
    return false;
  }
  if (!convertText(options, input.text(), "", expected)) {
    *error = "the BDF font has errors; nothing was compared";
    return false;
  }
  return true;
}

namespace {

// Compares one file with the file expected, collecting the mismatches.
class Comparer {
 public:
  Comparer(const ExpectedFont& expected, int32_t code_offset, const VbtFile& file)
      : expected_(expected.bytes.data(), expected.bytes.size()), names_(expected.names),
        code_offset_(code_offset), file_(file) {}

  Comparison run() {
    compareHeader();
    if (file_.nameRecord()->font_name != expected_.nameRecord()->font_name) {
      mismatch("font name", "\"" + file_.nameRecord()->font_name + "\"",
               "\"" + expected_.nameRecord()->font_name + "\"");
    }
    for (int64_t i = 0; i < expected_.codeCount(); ++i) compareCode(i);
    return std::move(result_);
  }

 private:
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

  void compareHeader() {
    const FontHeader& h = file_.header();
    const FontHeader& e = expected_.header();
    compareHex("first code", h.first_code, e.first_code);
    compareNumber("number of codes", h.code_count, e.code_count);
    compareNumber("largest glyph width", h.largest_width, e.largest_width);
    compareNumber("largest glyph height field", h.largest_height, e.largest_height);
    compareNumber("font box width", h.box_width, e.box_width);
    compareNumber("font box height", h.box_height, e.box_height);
    compareNumber("underline row", h.underline, e.underline);
    compareNumber("baseline row field", h.baseline, e.baseline);
    compareHex("flags", h.flags, e.flags);
  }

  // "code 0x0041 (A)": the code of the BDF and its glyph's name, when it has
  // a glyph.
  std::string codeName(int32_t code) const {
    const auto it = names_.find(code);
    const std::string name = "code " + codeText(code);
    return it == names_.end() ? name : name + " (" + it->second + ")";
  }

  // Record and image of the code at index `i` of the expected file.
  void compareCode(int64_t i) {
    const int32_t stored = static_cast<int32_t>(expected_.codeAt(i));
    const int32_t code = static_cast<int32_t>(static_cast<uint32_t>(stored) - static_cast<uint32_t>(code_offset_));
    const bool has_glyph = names_.count(code) != 0;
    has_glyph ? ++result_.glyphs : ++result_.empty_codes;
    const int64_t j = file_.indexOf(stored);
    if (j < 0) {
      result_.mismatches.push_back(codeName(code) + " is missing from the file");
      return;
    }
    const Glyph want = *expected_.glyph(i);
    const Glyph got = *file_.glyph(j);
    if (!compareRecord(code, got.metrics, want.metrics)) return;
    has_glyph ? comparePixels(code, want, got) : compareEmpty(code, got);
  }

  // True when record `m` is the one expected.
  bool compareRecord(int32_t code, const MetricRecord& m, const MetricRecord& e) {
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
  void comparePixels(int32_t code, const Glyph& want, const Glyph& got) {
    int64_t differing = 0, first_x = 0, first_y = 0;
    for (int64_t y = 0; y < want.metrics.height; ++y) {
      for (int64_t x = 0; x < want.metrics.width; ++x) {
        if (want.pixel(x, y) == got.pixel(x, y)) continue;
        if (differing++ == 0) first_x = x, first_y = y;
      }
    }
    if (differing == 0) return;
    result_.mismatches.push_back(formatText(
        "%s: %lld of %lld pixels differ from the BDF, the first at x %lld, y %lld", codeName(code).c_str(),
        static_cast<long long>(differing), static_cast<long long>(int64_t{want.metrics.width} * want.metrics.height),
        static_cast<long long>(first_x), static_cast<long long>(first_y)));
  }

  // A code without glyph must point at a zero byte.
  void compareEmpty(int32_t code, const Glyph& got) {
    if (got.image[0] != 0) {
      result_.mismatches.push_back(codeName(code) + " has no glyph in the BDF, but its image is not a zero byte");
    }
  }

  const VbtFile expected_;
  const std::map<int32_t, std::string>& names_;
  const int32_t code_offset_;
  const VbtFile& file_;
  Comparison result_;
};

}  // namespace

Comparison compareWith(const ExpectedFont& expected, int32_t code_offset, const VbtFile& file) {
  return Comparer(expected, code_offset, file).run();
}

}  // namespace vbtdump
