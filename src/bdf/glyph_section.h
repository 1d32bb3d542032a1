// The glyph section of a BDF font: its CHARS line, then the glyph records up
// to ENDFONT.
#ifndef BDF2VBT_BDF_GLYPH_SECTION_H
#define BDF2VBT_BDF_GLYPH_SECTION_H

#include <cstddef>
#include <cstdint>
#include <functional>

class BdfReport;
class GlyphBitmap;
class LineReader;
struct GlyphRecord;

// Reads the CHARS line that opens the glyph section into *count: true when
// it holds a count of at least 1, else false after reporting it.
bool readCharsLine(LineReader& reader, BdfReport& report, int32_t* count);

// No stop for readGlyphRecords: it reads to the end of the glyph section.
constexpr size_t kNoStop = SIZE_MAX;

// How readGlyphRecords reads.
struct GlyphRecordsReading {
  GlyphBitmap* bitmap = nullptr;   // each glyph's rows decoded here (and shown with traces), if any
  bool usual_heads = true;         // see readGlyphRecord
  size_t stop = kNoStop;           // a position where the read ends, between two records
  bool every_record = false;       // records whose code has no place in the tables too
};

// How a read of glyph records ended.
enum class GlyphsEnd {
  kEndFont,   // at the ENDFONT line that ends the glyph section
  kStop,      // between two records, at the stop
  kFailed,    // at a problem, reported, or when `use` said so
};

// Reads glyph records from `reader` on, as the glyph section holds them, and
// hands each whose code has a place in the tables (0..65535), or each with
// how.every_record, to use(glyph), which returns false to stop the read. The read ends at the first line that
// is no STARTCHAR, which must begin with ENDFONT (also when it is the last
// and no line feed ends it), or when a record ends exactly at how.stop.
GlyphsEnd readGlyphRecords(LineReader& reader, BdfReport& report, const GlyphRecordsReading& how,
                           const std::function<bool(const GlyphRecord&)>& use);

#endif  // BDF2VBT_BDF_GLYPH_SECTION_H
