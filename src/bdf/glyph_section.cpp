#include "bdf/glyph_section.h"

#include <string_view>

#include "bdf/glyph_record.h"
#include "bdf/line_reader.h"
#include "bdf/report.h"
#include "bdf/scan.h"
#include "diag/pixel_dump.h"
#include "diag/text_out.h"

bool readCharsLine(LineReader& reader, BdfReport& report, int32_t* count) {
  std::string_view line;
  int32_t* const values[] = {count};
  if (!reader.next(&line) || scanKeywordInts(line, "CHARS", values, 1) != 1) {
    report.error("bad 'CHARS' in bdf file\n");
    return false;
  }
  if (*count < 1) {
    report.error("invalid number of CHARS in BDF file\n");
    return false;
  }
  if (report.verbose()) report.out() << "encoding " << *count << " characters\n";
  return true;
}


GlyphsEnd readGlyphRecords(LineReader& reader, BdfReport& report, const GlyphRecordsReading& how,
                           const std::function<bool(const GlyphRecord&)>& use) {
  std::string_view line;
  bool have_line = false;
  for (;;) {
    if (reader.position() == how.stop) return GlyphsEnd::kStop;
    have_line = reader.next(&line);
    if (!have_line || !startsWith(line, "STARTCHAR")) break;
    GlyphRecord glyph;
    glyph.start = reader.lineStart();
    if (!readGlyphRecord(reader, report, line, how.usual_heads, &glyph, how.bitmap)) return GlyphsEnd::kFailed;
    if (how.bitmap && report.verbose()) {
      printBitmap(report.out(), how.bitmap->bytes(), glyph.row_bytes, how.bitmap->rowsShown(glyph));
    }
    const bool used = !(how.every_record || codeHasSlot(glyph.code)) || use(glyph);
    report.readingGlyph(nullptr);
    if (!used) return GlyphsEnd::kFailed;
  }
  // An editor may leave out the line feed after ENDFONT.
  if (startsWith(have_line ? line : reader.unterminatedLine(), "ENDFONT")) return GlyphsEnd::kEndFont;
  report.error("missing 'ENDFONT'\n");
  return GlyphsEnd::kFailed;
}
