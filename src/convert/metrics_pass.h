// The metrics pass: every glyph record read once, in order, and of each
// whose code has a place in the tables its metrics, where its rows are and,
// when they are plain, the rows decoded, so that the image pass needs no
// second look at them. A large glyph section is read in stretches at once,
// one per thread; what they read is used only when they join up exactly as
// one read would have and none of them found a problem.
#ifndef BDF2VBT_CONVERT_METRICS_PASS_H
#define BDF2VBT_CONVERT_METRICS_PASS_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "bdf/glyph_record.h"
#include "bdf/line_reader.h"
#include "bdf/report.h"
#include "convert/options.h"
#include "diag/pixel_dump.h"
#include "vbt/format.h"

// A glyph record whose code has a place in the tables, as the metrics pass
// found it.
struct GlyphPlace {
  uint32_t rows_start;    // the input position of its first row (inputs stay below 4 GiB)
  uint32_t rows_at;       // where its decoded rows start in its list, when they are plain
  int32_t code;
  bool plain_rows;        // as GlyphRecord::plain_rows
  MetricRecord metrics;   // the record it gives its code; its width and height are the glyph's
};

// The glyphs of one stretch of the glyph section, in the order of their
// records, and the plain rows among them decoded, the pixels beyond each
// glyph's width cleared: the image of the glyph when its code's record has
// its width.
class GlyphList {
 public:
  // Empties the list for a stretch of `bytes` bytes, keeping its room.
  void clear(size_t bytes);
  // Adds `glyph`, whose record in `text` was just read, decoding its rows
  // when they are plain and `keep_rows` (else the place counts them as not
  // plain: the image pass that reads every record again needs none).
  void add(std::string_view text, const GlyphRecord& glyph, bool keep_rows = true);

  const std::vector<GlyphPlace>& places() const { return places_; }
  // The decoded rows of a place whose rows are plain.
  const uint8_t* rows(const GlyphPlace& place) const { return rows_.get() + place.rows_at; }

 private:
  // Room for `more` bytes of rows after those there.
  void reserveRows(size_t more);

  std::vector<GlyphPlace> places_;
  std::unique_ptr<uint8_t[]> rows_;
  size_t rows_size_ = 0;
  size_t rows_room_ = 0;
};

// No stop for readGlyphRecords: it reads to the end of the glyph section.
constexpr size_t kNoStop = SIZE_MAX;

// How a read of glyph records ended.
enum class GlyphsEnd {
  kEndFont,   // at the ENDFONT line that ends the glyph section
  kStop,      // between two records, at the stop
  kFailed,    // at a problem, reported, or when `use` said so
};

// Reads glyph records from `reader` on, as the glyph section holds them:
// each is decoded into `bitmap` (if any; shown with report.verbose()) and,
// when its code has a place in the tables, handed to use(glyph), which
// returns false to stop the read. The read ends at the first line that is
// no STARTCHAR, which must begin with ENDFONT (also when it is the last and
// no line feed ends it), or when a record ends exactly at `stop`.
template <typename Use>
GlyphsEnd readGlyphRecords(LineReader& reader, BdfReport& report, GlyphBitmap* bitmap, size_t stop, Use use) {
  std::string_view line;
  bool have_line = false;
  for (;;) {
    if (reader.position() == stop) return GlyphsEnd::kStop;
    have_line = reader.next(&line);
    if (!have_line || !startsWith(line, "STARTCHAR")) break;
    GlyphRecord glyph;
    if (!readGlyphRecord(reader, report, line, &glyph, bitmap)) return GlyphsEnd::kFailed;
    if (bitmap && report.verbose()) printBitmap(report.out(), bitmap->bytes(), glyph.row_bytes, bitmap->rowsShown(glyph));
    if (codeHasSlot(glyph.code) && !use(glyph)) return GlyphsEnd::kFailed;
  }
  // An editor may leave out the line feed after ENDFONT.
  if (startsWith(have_line ? line : reader.unterminatedLine(), "ENDFONT")) return GlyphsEnd::kEndFont;
  report.error("missing 'ENDFONT'\n");
  return GlyphsEnd::kFailed;
}

// Reads the glyph section of `text`, from `start` on, in stretches at once
// as `plan` allows, into `lists`: one list a stretch, in order. True when the
// section was split, every stretch read without a problem, and each ended
// exactly where the next begins (the last at ENDFONT); otherwise false, and
// the lists hold nothing to use.
bool readGlyphsInStretches(std::string_view text, size_t start, const ReadingPlan& plan,
                           std::vector<GlyphList>* lists);

#endif  // BDF2VBT_CONVERT_METRICS_PASS_H
