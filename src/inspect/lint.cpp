#include "inspect/lint.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "bdf/font_header.h"
#include "bdf/glyph_record.h"
#include "bdf/glyph_section.h"
#include "bdf/line_reader.h"
#include "bdf/properties.h"
#include "bdf/report.h"
#include "convert/conversion.h"
#include "inspect/text_format.h"
#include "inspect/vbt_file.h"
#include "io/output_stream.h"

namespace vbtdump {

namespace {

// Line numbers of positions in a text, from one pass over its line feeds.
class LineNumbers {
 public:
  explicit LineNumbers(std::string_view text) : size_(text.size()) {
    for (size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1)) feeds_.push_back(i);
  }
  // The line that holds `position`; past the end of a text that ends in a
  // line feed, its last line.
  size_t at(size_t position) const {
    const size_t before = static_cast<size_t>(std::lower_bound(feeds_.begin(), feeds_.end(), position) - feeds_.begin());
    const bool past_last_feed = position >= size_ && !feeds_.empty() && feeds_.back() + 1 == size_;
    return past_last_feed ? feeds_.size() : before + 1;
  }

 private:
  std::vector<size_t> feeds_;
  size_t size_;
};

// A glyph record as the lint's own reading found it.
struct RecordFact {
  size_t start = 0;
  std::string name;
  int32_t code = 0;
  int32_t advance = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool pixels_cut = false;   // ink beyond its box
};

// True when the decoded rows of `glyph` have ink that its box leaves out.
bool pixelsBeyondBox(const GlyphRecord& glyph, const GlyphBitmap& bitmap) {
  const int64_t row_bytes = glyph.row_bytes, box = row_bytes * glyph.height;
  const uint8_t* bytes = bitmap.bytes();
  const uint8_t beyond_width = glyph.width % 8 == 0 ? 0 : static_cast<uint8_t>(0xFF >> (glyph.width % 8));
  for (int64_t r = 0; row_bytes > 0 && r < glyph.height; ++r) {
    if (bytes[r * row_bytes + row_bytes - 1] & beyond_width) return true;
  }
  return std::any_of(bytes + std::min<int64_t>(box, bitmap.used()), bytes + bitmap.used(), [](uint8_t b) { return b != 0; });
}

// A kind of warning that is counted and reported once, at its first case.
struct CountedKind {
  size_t count = 0;
  size_t first = 0;    // position
  std::string first_text;
  void add(size_t position, const std::function<std::string()>& text) {
    if (count++ == 0) first = position, first_text = text();
  }
};

class Linter {
 public:
  Linter(const ConversionOptions& options, std::string_view bdf, const std::string& file_name)
      : options_(options), bdf_(bdf), file_name_(file_name), lines_(bdf) {
    options_.verbose = 0;
  }

  LintResult run() {
    convert();
    readRecords();
    checkRecords();
    checkRange();
    checkLines();
    std::stable_sort(result_.findings.begin(), result_.findings.end(),
                     [](const LintFinding& a, const LintFinding& b) { return a.line < b.line; });
    summarize();
    return std::move(result_);
  }

 private:
  void add(size_t position, bool error, const std::string& text) {
    result_.findings.push_back({lines_.at(position), error, text});
    ++(error ? result_.errors : result_.warnings);
  }
  void addCounted(const CountedKind& kind, const std::string& one, const std::string& many) {
    if (kind.count == 0) return;
    add(kind.first, false, kind.count == 1 ? one + ": " + kind.first_text
                                           : formatText("%zu %s, the first %s", kind.count, many.c_str(), kind.first_text.c_str()));
  }

  // The conversion itself: its errors, each once, are the lint's.
  void convert() {
    FontConverter converter;
    OutputStream out;
    std::vector<BdfFinding> found;
    BdfReport report(nullptr, nullptr, false);
    report.keepFindings(&found);
    converted_ = converter.convert(options_, ReadingStrategy(), bdf_, file_name_, out, report);
    out.flush();
    file_ = out.contents();
    std::vector<std::pair<size_t, std::string>> seen;
    for (const BdfFinding& f : found) {
      const bool named = !f.glyph.empty() && f.text.find("'" + f.glyph + "'") == std::string::npos;
      const std::string text = named ? f.text + " in glyph '" + f.glyph + "'" : f.text;
      // The image pass reads again, and says again, what the metrics pass said.
      if (std::find(seen.begin(), seen.end(), std::make_pair(f.position, text)) != seen.end()) continue;
      seen.emplace_back(f.position, text);
      add(f.position, true, text);
    }
  }

  // The lint's own reading of the glyph records, every one of them.
  void readRecords() {
    LineReader reader(bdf_);
    BdfReport quiet(nullptr, nullptr, false);
    BdfFontHeader header;
    readFontHeader(reader, quiet, &header);
    readProperties(reader, quiet);
    int32_t count = 0;
    if (!readCharsLine(reader, quiet, &count)) return;
    chars_ = count;
    chars_at_ = reader.lineStart();
    auto bitmap = std::make_unique<GlyphBitmap>();
    GlyphRecordsReading how;
    how.bitmap = bitmap.get();
    how.every_record = true;
    read_to_end_ = readGlyphRecords(reader, quiet, how, [&](const GlyphRecord& g) {
      records_.push_back({g.start, g.name, g.code, g.advance, g.width, g.height, pixelsBeyondBox(g, *bitmap)});
      return true;
    }) == GlyphsEnd::kEndFont;
  }

  bool charsDiffer() const { return read_to_end_ && chars_ && static_cast<size_t>(*chars_) != records_.size(); }

  bool withinBounds(int32_t code) const { return code >= options_.lowest_code && code < options_.code_limit; }

  void checkRecords() {
    if (charsDiffer()) {
      add(chars_at_, false, formatText("CHARS says %d, but the font holds %zu glyph records: bdf2vbt reads them all",
                                       *chars_, records_.size()));
    }
    std::map<int32_t, const RecordFact*> last_of;
    const RecordFact* before = nullptr;
    for (const RecordFact& r : records_) {
      if (r.pixels_cut) {
        cut_.add(r.start, [&] { return formatText("glyph '%s', %d x %d: bdf2vbt cuts them", r.name.c_str(), r.width, r.height); });
      }
      if (!placeInFile(r)) continue;
      if (const auto it = last_of.find(r.code); it != last_of.end()) {
        add(r.start, false, formatText("glyph '%s' gives code %s again, after glyph '%s' at line %zu: the later record wins",
                                       r.name.c_str(), codeText(r.code).c_str(), it->second->name.c_str(),
                                       lines_.at(it->second->start)));
        ++duplicates_;
      } else if (before && r.code < before->code) {
        add(r.start, false, formatText("glyph '%s', code %s, follows code %s out of code order: bdf2vbt writes it where "
                                       "it comes and says so, and every code keeps its own image",
                                       r.name.c_str(), codeText(r.code).c_str(), codeText(before->code).c_str()));
        ++out_of_order_;
      }
      last_of[r.code] = &r;
      before = &r;
    }
    for (const auto& [code, r] : last_of) winners_.push_back(r);
    addCounted(no_encoding_, "a glyph record has no encoding", "glyph records have no encoding");
    const std::string bounds = formatText("the codes %s to %s that -S and -E leave", codeText(options_.lowest_code).c_str(),
                                          codeText(int64_t{options_.code_limit} - 1).c_str());
    addCounted(above_, "a glyph record has a code above U+FFFF", "glyph records have codes above U+FFFF");
    addCounted(outside_, "a glyph record lies outside " + bounds, "glyph records lie outside " + bounds);
    addCounted(cut_, "a glyph has pixels beyond its BBX", "glyphs have pixels beyond their BBX");
  }

  // True for a record whose code has a place in the file; otherwise counts
  // it by why not.
  bool placeInFile(const RecordFact& r) {
    const auto text = [&] { return formatText("glyph '%s' (ENCODING gives %d): bdf2vbt leaves them out", r.name.c_str(), r.code); };
    if (r.code < 0) {
      no_encoding_.add(r.start, text);
    } else if (r.code > 65535) {
      above_.add(r.start, text);
    } else if (!withinBounds(r.code)) {
      outside_.add(r.start, text);
    } else {
      return true;
    }
    return false;
  }

  // Glyphs without advance beyond the glyphs with advance at either end.
  void checkRange() {
    std::optional<int32_t> first, last;
    for (const RecordFact* r : winners_) {
      if (r->advance == 0) continue;
      if (!first) first = r->code;
      last = r->code;
    }
    if (!first) return;
    for (const RecordFact* r : winners_) {
      if (r->advance != 0 || (r->code >= *first && r->code <= *last)) continue;
      no_advance_.add(r->start, [&] {
        return formatText("glyph '%s' (code %s): bdf2vbt leaves them out", r->name.c_str(), codeText(r->code).c_str());
      });
    }
    const std::string range = formatText("the range %s to %s that the glyphs with advance span",
                                         codeText(*first).c_str(), codeText(*last).c_str());
    addCounted(no_advance_, "a glyph without advance lies outside " + range, "glyphs without advance lie outside " + range);
  }

  // Lines longer than a line may be, and a last line without a line feed.
  void checkLines() {
    size_t begin = 0;
    for (size_t feed; (feed = bdf_.find('\n', begin)) != std::string_view::npos; begin = feed + 1) {
      const std::string_view line = bdf_.substr(begin, feed - begin);
      const size_t length = line.size() - static_cast<size_t>(std::count(line.begin(), line.end(), '\r'));
      if (length <= kMaxLineLength) continue;
      long_lines_.add(begin, [&] { return formatText("of %zu characters", length); });
    }
    const std::string cut = "bdf2vbt cuts there (the character after the cut is lost, the rest read as a line of its own)";
    addCounted(long_lines_, "a line longer than 1023 characters, which " + cut,
               "lines longer than 1023 characters, which " + cut);
    if (begin >= bdf_.size()) return;
    ++last_line_;
    std::string tail(bdf_.substr(begin));
    tail.erase(std::remove(tail.begin(), tail.end(), '\r'), tail.end());
    add(begin, false, tail.rfind("ENDFONT", 0) == 0
                          ? "the last line, ENDFONT, has no line feed: bdf2vbt reads it all the same"
                          : "the last line has no line feed: bdf2vbt reads it only as ENDFONT");
  }

  void summarize() {
    std::string& s = result_.summary;
    s = countText(static_cast<int64_t>(records_.size()), "glyph record", "glyph records");
    if (!read_to_end_) s += " read up to the first error";
    if (converted_) {
      const VbtFile file(file_.data(), file_.size());
      const int64_t offset = options_.code_offset;
      s += formatText(", %s written (%s to %s), %zu bytes", countText(file.codeCount(), "code", "codes").c_str(),
                      codeText(file.codeAt(0) - offset).c_str(), codeText(file.codeAt(file.codeCount() - 1) - offset).c_str(),
                      file_.size());
    } else {
      s += formatText("; %s: bdf2vbt writes no file", countText(result_.errors, "error", "errors").c_str());
    }
    std::string kinds;
    const auto kind = [&](size_t n, const char* one, const char* many) {
      if (n > 0) kinds += (kinds.empty() ? "" : ", ") + countText(static_cast<int64_t>(n), one, many);
    };
    kind(out_of_order_, "record out of code order", "records out of code order");
    kind(duplicates_, "code given again", "codes given again");
    kind(no_encoding_.count, "without encoding", "without encoding");
    kind(above_.count, "above U+FFFF", "above U+FFFF");
    kind(outside_.count, "outside -S/-E", "outside -S/-E");
    kind(no_advance_.count, "without advance beyond the range", "without advance beyond the range");
    kind(cut_.count, "with pixels cut", "with pixels cut");
    kind(charsDiffer(), "CHARS count unlike the records", "");
    kind(long_lines_.count, "line cut", "lines cut");
    kind(last_line_, "last line without line feed", "");
    s += kinds.empty() ? "; no warnings" : "; warnings: " + kinds;
  }

  ConversionOptions options_;
  std::string_view bdf_;
  std::string file_name_;
  LineNumbers lines_;
  LintResult result_;
  bool converted_ = false;
  std::vector<uint8_t> file_;
  std::optional<int32_t> chars_;
  bool read_to_end_ = false;   // the own reading read every record
  size_t chars_at_ = 0;
  std::vector<RecordFact> records_;
  std::vector<const RecordFact*> winners_;   // the last record of each code with a place, by code
  size_t out_of_order_ = 0, duplicates_ = 0, last_line_ = 0;
  CountedKind no_encoding_, above_, outside_, no_advance_, cut_, long_lines_;
};

}  // namespace

LintResult lintFont(const ConversionOptions& options, std::string_view bdf, const std::string& file_name) {
  return Linter(options, bdf, file_name).run();
}

}  // namespace vbtdump
