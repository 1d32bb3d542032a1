#include "convert/conversion.h"

#include <algorithm>

#include "bdf/font_header.h"
#include "bdf/line_reader.h"
#include "bdf/properties.h"
#include "bdf/report.h"
#include "bdf/scan.h"
#include "diag/pixel_dump.h"
#include "io/output_stream.h"
#include "vbt/glyph_image.h"

namespace {

// Two's complement wrap-around, as the format's arithmetic on input values
// is defined.
int32_t wrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// The metrics record a glyph gives its code.
MetricRecord metricRecordOf(const GlyphRecord& glyph) {
  MetricRecord record;
  record.width = static_cast<int16_t>(glyph.width);
  record.height = static_cast<int16_t>(glyph.height);
  record.ascent = wrapAdd(glyph.height, glyph.y_offset);
  record.x_offset = glyph.x_offset;
  record.advance = glyph.advance;
  return record;
}

class FontConversion {
 public:
  FontConversion(const ConversionOptions& options, std::string_view bdf, ConversionTables& tables,
                 OutputStream& out, BdfReport& report, const GlyphSeen& seen)
      : options_(options), bdf_(bdf), reader_(bdf), tables_(tables), out_(out), report_(report), seen_(seen) {}

  // The three stages in turn: each reports its own problems, and the next
  // reads on from wherever the one before stopped. Their results are not
  // looked at: any report at all fails the conversion.
  bool run(std::string_view file_name) {
    BdfFontHeader header;
    readFontHeader(reader_, report_, &header);
    tables_.metrics.reset();
    tables_.places.clear();
    VbtWriter writer(out_, tables_.offsets);
    writer.begin(header.font_name, file_name, header.has_font_name);
    readProperties(reader_, report_);
    return convertGlyphs(header, writer) && report_.errors() == 0;
  }

 private:
  // CHARS, the metrics pass, the code range, the image pass, the tables.
  bool convertGlyphs(const BdfFontHeader& header, VbtWriter& writer) {
    if (!readCharsLine(reader_, report_)) return false;
    const size_t glyphs_start = reader_.position();
    if (!readGlyphs(verbose() ? &tables_.bitmap : nullptr, [this](const GlyphRecord& g) { return noteMetrics(g); })) {
      return false;
    }
    const CodeRange range = tables_.metrics.rangeWithin(options_.lowest_code, options_.code_limit);
    if (range.empty()) {
      report_.error("nothing to convert in codes %d to %d\n", options_.lowest_code, wrapAdd(options_.code_limit, -1));
      return false;
    }
    writer.startImages(range.first);
    if (!imagePass(glyphs_start, writer)) return false;
    writer.pointUnreachedCodes(range);
    return finish(header, range, writer);
  }

  // The image pass reads every glyph record again. When the metrics pass
  // reported nothing and shows nothing, and no image will be too large, the
  // records' first lines would read as they did: only their rows are read
  // again, from where the metrics pass found them, and rows it found plain
  // are decoded without being checked again.
  bool imagePass(size_t glyphs_start, VbtWriter& writer) {
    const auto tooLarge = [this](const GlyphPlace& p) {
      return imageSize(tables_.metrics.at(p.code).width, std::max(p.height, 0)) > kBitmapCapacity;
    };
    const std::vector<GlyphPlace>& places = tables_.places;
    if (verbose() || report_.errors() != 0 || std::any_of(places.begin(), places.end(), tooLarge)) {
      reader_.rewind(glyphs_start);
      return readGlyphs(&tables_.bitmap, [&](const GlyphRecord& g) { return writeImage(g, writer); });
    }
    for (const GlyphPlace& place : places) {
      GlyphRecord glyph;
      glyph.code = place.code;
      glyph.width = place.width;
      glyph.height = place.height;
      glyph.rows_start = place.rows_start;
      if (place.plain_rows) {
        decodePlainRows(bdf_, &glyph, &tables_.bitmap);
      } else {
        reader_.rewind(place.rows_start);
        readGlyphRows(reader_, report_, &glyph, &tables_.bitmap);
      }
      if (!writeImage(glyph, writer)) return false;
    }
    return true;
  }

  // Reads the glyph records up to the first line that is no STARTCHAR, which
  // must begin with ENDFONT, and hands each to `use`.
  template <typename Use>
  bool readGlyphs(GlyphBitmap* bitmap, Use use) {
    std::string_view line;
    bool have_line = reader_.next(&line);
    while (have_line && startsWith(line, "STARTCHAR")) {
      GlyphRecord glyph;
      if (!readGlyphRecord(reader_, report_, line, &glyph, bitmap)) return false;
      if (verbose()) printBitmap(report_.out(), bitmap->bytes(), glyph.row_bytes, bitmap->rowsShown(glyph));
      if (codeHasSlot(glyph.code) && !use(glyph)) return false;
      have_line = reader_.next(&line);
    }
    if (have_line && startsWith(line, "ENDFONT")) return true;
    report_.error("missing 'ENDFONT'\n");
    return false;
  }

  bool noteMetrics(const GlyphRecord& glyph) {
    tables_.metrics.set(glyph.code, metricRecordOf(glyph));
    tables_.places.push_back(
        {static_cast<uint32_t>(glyph.rows_start), glyph.code, glyph.width, glyph.height, glyph.plain_rows});
    if (seen_) seen_(glyph);
    return true;
  }

  // The glyph's image, with the row size of its code's record; written when
  // its code lies within the bounds.
  bool writeImage(const GlyphRecord& glyph, VbtWriter& writer) {
    const MetricRecord& record = tables_.metrics.at(glyph.code);
    const int32_t rows = std::max(glyph.height, 0);
    const int64_t size = imageSize(record.width, rows);
    if (size > kBitmapCapacity) {
      report_.error("character '%s' has a bitmap too large, %dx%d\n", glyph.name, glyph.width, glyph.height);
      return false;
    }
    makeGlyphImage({tables_.bitmap.bytes(), glyph.row_bytes, glyph.width, rows}, record.width, tables_.image.data());
    if (withinBounds(glyph.code) && !emitImage(glyph.code, static_cast<size_t>(size), record, writer)) return false;
    if (verbose()) {
      printBitmap(report_.out(), tables_.image.data(), static_cast<int32_t>(imageRowBytes(record.width)), rows);
    }
    return true;
  }

  // The bounds of -S and -E, compared as signed numbers as in the range scan.
  bool withinBounds(int32_t code) const { return code >= options_.lowest_code && code < options_.code_limit; }

  bool emitImage(int32_t code, size_t size, const MetricRecord& record, VbtWriter& writer) {
    const uint32_t c = static_cast<uint32_t>(code);
    if (!writer.roomForImage(c, size)) {
      report_.error("output file too large for 32-bit positions\n");
      return false;
    }
    if (c < writer.nextCode()) {
      report_.warning("bdf file has characters out of sequence, char %d prev %d\n", code,
                      static_cast<int32_t>(writer.nextCode()));
    }
    writer.addImage(c, tables_.image.data(), size, record);
    return true;
  }

  // The header values that follow from the font box and the options, then
  // the tables and the header itself.
  bool finish(const BdfFontHeader& font, const CodeRange& range, VbtWriter& writer) {
    if (options_.fixed_width) tables_.metrics.setAdvances(range, writer.largestAdvance());
    const int32_t above = wrapAdd(font.box_y_offset, font.box_height);
    FontHeader header;
    header.box_width = static_cast<uint16_t>(font.box_width);
    header.box_height = static_cast<uint16_t>(wrapAdd(font.box_height, options_.box_height_adjustment));
    header.underline = static_cast<uint16_t>(options_.underline != 0 ? options_.underline : wrapAdd(above, 1));
    header.baseline = static_cast<uint16_t>(wrapAdd(options_.baseline != 0 ? options_.baseline : above, -1));
    header.first_code = wrapAdd(options_.code_offset, range.first);
    if (writer.finish(tables_.metrics, range, header)) return true;
    report_.error("output file too large for 32-bit positions\n");
    return false;
  }

  bool verbose() const { return report_.verbose(); }

  const ConversionOptions& options_;
  const std::string_view bdf_;
  LineReader reader_;
  ConversionTables& tables_;
  OutputStream& out_;
  BdfReport& report_;
  const GlyphSeen& seen_;
};

}  // namespace

bool convertFont(const ConversionOptions& options, std::string_view bdf, std::string_view file_name,
                 ConversionTables& tables, OutputStream& out, BdfReport& report, const GlyphSeen& seen) {
  return FontConversion(options, bdf, tables, out, report, seen).run(file_name);
}
