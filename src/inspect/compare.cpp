#include "inspect/compare.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "bdf/report.h"
#include "convert/conversion.h"
#include "driver/output_naming.h"
#include "inspect/drawing_check.h"
#include "inspect/font_drawing.h"
#include "inspect/text_format.h"
#include "inspect/vbt_file.h"
#include "io/input_bytes.h"
#include "io/output_stream.h"

namespace vbtdump {

bool convertText(const ConversionOptions& options, std::string_view bdf, std::string_view file_name,
                 ExpectedFont* expected) {
  FontConverter converter;
  OutputStream out;
  BdfReport report(nullptr, stderr, false);
  if (!converter.convert(options, ReadingStrategy(), bdf, file_name, out, report)) return false;
  out.flush();
  expected->bytes = out.contents();
  expected->glyph_codes = converter.glyphCodes();
  return true;
}

bool readFontFile(const std::string& path, std::string* text, std::string* error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  InputBytes input;
  const int read_error = fd < 0 ? errno : input.readAll(fd);
  if (fd >= 0) close(fd);
  if (read_error != 0) {
    *error = strerror(read_error);
    return false;
  }
  *text = input.text();
  return true;
}

namespace {

// The header's fields by position, for naming the one a byte belongs to.
struct HeaderField {
  size_t offset;
  const char* name;
};
constexpr HeaderField kHeaderFields[] = {
    {0, "magic"}, {2, "flags"}, {4, "largest glyph width"}, {6, "largest glyph height field"},
    {8, "font box width"}, {10, "font box height"}, {12, "offset table position"}, {16, "reserved bytes"},
    {20, "metrics table position"}, {24, "reserved bytes"}, {32, "underline row"}, {34, "baseline row field"},
    {36, "first code"}, {40, "number of codes"}};

const char* headerFieldAt(int64_t at) {
  const char* name = kHeaderFields[0].name;
  for (const HeaderField& field : kHeaderFields) {
    if (static_cast<int64_t>(field.offset) <= at) name = field.name;
  }
  return name;
}

// What the byte at `at` of a file laid out as `layout` belongs to.
std::string partAt(const VbtFile& layout, int64_t at) {
  const FontHeader& h = layout.header();
  if (at < static_cast<int64_t>(kHeaderSize)) return std::string("the header's ") + headerFieldAt(at);
  if (at < layout.imageAreaBegin()) return "the name record";
  if (at < h.metric_pos) return "the image area";
  if (at < h.image_pos) {
    return "the metrics record of code " + codeText(layout.codeAt((at - h.metric_pos) / int64_t{kMetricRecordSize}));
  }
  return "the image offset of code " + codeText(layout.codeAt((at - h.image_pos) / int64_t{kOffsetEntrySize}));
}

std::string assumedOptions(const DrawingOptions& options) {
  const std::string offset = options.code_offset ? codeText(options.code_offset) : "0";
  return "assuming -A " + offset + (options.fixed_width ? " and -w" : " and no -w");
}

// "draws: ..." and the codes drawn wrong before it.
std::string drawsVerdict(std::string_view bdf, const std::string& bdf_path, const ConversionOptions& options,
                         const VbtFile& file, const std::string& file_path, bool* ok) {
  FontDrawing font;
  std::string error;
  if (!readFontDrawing(bdf, &font, &error)) {
    *ok = false;
    return "draws: not checked, " + bdf_path + " cannot be read: " + error + "\n";
  }
  const DrawingOptions assumed{options.code_offset, options.fixed_width};
  const DrawingCheck check = checkDrawing(font, file, assumed);
  std::string text;
  for (const std::string& sentence : check.listed) text += file_path + ": " + sentence + "\n";
  if (check.unlisted > 0) {
    text += file_path + ": " + formatText("and %lld more codes drawn wrong\n", static_cast<long long>(check.unlisted));
  }
  *ok = check.wrong == 0;
  if (!*ok) {
    // A file converted with -w checked without it, or the other way round,
    // draws every code wrong but for the advance.
    const DrawingOptions other{assumed.code_offset, !assumed.fixed_width};
    const bool other_width = checkDrawing(font, file, other).wrong == 0;
    return text + formatText("draws: wrong, %lld of %lld codes unlike %s (%s%s)\n", static_cast<long long>(check.wrong),
                             static_cast<long long>(file.codeCount()), bdf_path.c_str(), assumedOptions(assumed).c_str(),
                             other_width ? (other.fixed_width ? "; with -w all are right" : "; without -w all are right") : "");
  }
  return text + formatText("draws: ok, %s and %s without glyph as %s draws them (%s)\n",
                           countText(check.glyphs, "glyph", "glyphs").c_str(),
                           countText(check.empty_codes, "code", "codes").c_str(), bdf_path.c_str(),
                           assumedOptions(assumed).c_str());
}

// "bytes: ...", after the header values and font name that differ.
std::string bytesVerdict(std::string_view bdf, const std::string& bdf_path, const ConversionOptions& options,
                         const VbtFile& file, const std::string& file_path, bool* ok) {
  const std::optional<NameRecord>& recorded = file.nameRecord();
  const std::string output_name = outputNameFor(bdf_path).value_or(recorded ? recorded->file_name : "");
  ExpectedFont expected;
  *ok = false;
  if (!convertText(options, bdf, output_name, &expected)) return "bytes: not compared, bdf2vbt does not convert " + bdf_path + "\n";
  const VbtFile written(expected.bytes.data(), expected.bytes.size());
  const std::string difference = firstByteDifference(written, file);
  *ok = difference.empty();
  if (*ok) return "bytes: ok, as bdf2vbt writes them from " + bdf_path + "\n";
  std::string text;
  for (const std::string& sentence : headerDifferences(written, file)) text += file_path + ": " + sentence + "\n";
  return text + "bytes: different from what bdf2vbt writes from " + bdf_path + ", " + difference + "\n";
}

}  // namespace

std::string firstByteDifference(const VbtFile& expected, const VbtFile& file) {
  const int64_t shared = std::min(expected.size(), file.size());
  const auto [in_expected, in_file] = std::mismatch(expected.data(), expected.data() + shared, file.data());
  const int64_t at = in_expected - expected.data();
  std::string text;
  if (at < shared) {
    text = formatText("the first at byte %lld, in %s", static_cast<long long>(at), partAt(expected, at).c_str());
  } else if (expected.size() == file.size()) {
    return "";
  } else {
    text = formatText("the file %s at byte %lld", file.size() < expected.size() ? "ends" : "goes on",
                      static_cast<long long>(shared));
  }
  if (expected.size() != file.size()) {
    text += formatText("; %lld bytes, not %lld", static_cast<long long>(file.size()), static_cast<long long>(expected.size()));
  }
  return text;
}

std::vector<std::string> headerDifferences(const VbtFile& expected, const VbtFile& file) {
  std::vector<std::string> differences;
  const FontHeader& h = file.header();
  const FontHeader& e = expected.header();
  const auto field = [&](const char* name, int64_t in_file, int64_t want, bool as_code) {
    if (in_file == want) return;
    const std::string a = as_code ? codeText(in_file) : std::to_string(in_file);
    const std::string b = as_code ? codeText(want) : std::to_string(want);
    differences.push_back(std::string(name) + " is " + a + " in the file, " + b + " from bdf2vbt");
  };
  field("first code", h.first_code, e.first_code, true);
  field("number of codes", h.code_count, e.code_count, false);
  field("largest glyph width", h.largest_width, e.largest_width, false);
  field("largest glyph height field", h.largest_height, e.largest_height, false);
  field("font box width", h.box_width, e.box_width, false);
  field("font box height", h.box_height, e.box_height, false);
  field("underline row", h.underline, e.underline, false);
  field("baseline row field", h.baseline, e.baseline, false);
  field("flags", h.flags, e.flags, true);
  const std::optional<NameRecord>& name = file.nameRecord();
  const std::string font_name = expected.nameRecord() ? expected.nameRecord()->font_name : "";
  if (name && name->font_name != font_name) {
    differences.push_back("font name is \"" + name->font_name + "\" in the file, \"" + font_name + "\" from bdf2vbt");
  }
  return differences;
}

std::string compareReport(const ConversionOptions& options, std::string_view bdf, const std::string& bdf_path,
                          const VbtFile& file, const std::string& file_path, bool* ok) {
  bool draws_ok = false, bytes_ok = false;
  std::string text = drawsVerdict(bdf, bdf_path, options, file, file_path, &draws_ok);
  text += bytesVerdict(bdf, bdf_path, options, file, file_path, &bytes_ok);
  *ok = draws_ok && bytes_ok;
  return text;
}

}  // namespace vbtdump
