#include "convert/conversion.h"

#include <algorithm>
#include <array>

#include "bdf/font_header.h"
#include "bdf/glyph_record.h"
#include "bdf/glyph_section.h"
#include "bdf/line_reader.h"
#include "bdf/properties.h"
#include "bdf/report.h"
#include "convert/glyph_list.h"
#include "convert/wrap_add.h"
#include "diag/pixel_dump.h"
#include "io/output_stream.h"
#include "vbt/glyph_image.h"
#include "vbt/metrics_table.h"
#include "vbt/vbt_writer.h"

// The tables of one output, kept from font to font so that each font resets
// only what the one before it used.
struct ConversionTables {
  MetricsTable metrics;
  GlyphList glyphs;                              // what the metrics pass read
  ImageOffsetTable offsets;
  GlyphBitmap bitmap;                            // the glyph being read
  std::array<uint8_t, kBitmapCapacity> image;    // its image as the file stores it
};

namespace {

// How a conversion reads, as `strategy` says, but for what tracing needs:
// the image pass reads every record again to show it, so no rows are kept.
// This is the one place that knows it.
ReadingStrategy readingStrategy(const ReadingStrategy& strategy, bool tracing) {
  ReadingStrategy reading = strategy;
  if (tracing) reading.keep_rows = false;
  return reading;
}

class FontConversion {
 public:
  FontConversion(const ConversionOptions& options, const ReadingStrategy& strategy, std::string_view bdf,
                 ConversionTables& tables, OutputStream& out, BdfReport& report)
      : options_(options), strategy_(readingStrategy(strategy, report.verbose())), bdf_(bdf), reader_(bdf),
        tables_(tables), out_(out), report_(report) {
    report_.readingFrom(&reader_);
  }
  ~FontConversion() { report_.readingFrom(nullptr); }

  // The three stages in turn: each reports its own problems, and the next
  // reads on from wherever the one before stopped. Their results are not
  // looked at: any report at all fails the conversion.
  bool run(std::string_view file_name) {
    BdfFontHeader header;
    readFontHeader(reader_, report_, &header);
    tables_.metrics.reset();
    VbtWriter writer(out_, tables_.offsets);
    writer.begin(header.font_name, file_name, header.has_font_name);
    readProperties(reader_, report_);
    return convertGlyphs(header, writer) && report_.errors() == 0;
  }

 private:
  // CHARS, the metrics pass, the code range, the image pass, the tables.
  bool convertGlyphs(const BdfFontHeader& header, VbtWriter& writer) {
    int32_t count = 0;
    if (!readCharsLine(reader_, report_, &count)) return false;
    const size_t glyphs_start = reader_.position();
    if (!metricsPass(glyphs_start)) return false;
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

  // Reads the glyph section into tables_.glyphs, then sets the metrics
  // records in the order of the records.
  bool metricsPass(size_t glyphs_start) {
    GlyphList& list = tables_.glyphs;
    list.clear(bdf_.size() - glyphs_start);
    const auto note = [&](const GlyphRecord& glyph) {
      list.add(bdf_, glyph, strategy_.keep_rows);
      return true;
    };
    if (readGlyphRecords(reader_, report_, reading(bitmapShown()), note) != GlyphsEnd::kEndFont) return false;
    for (const GlyphPlace& place : list.places()) tables_.metrics.set(place.code, place.metrics);
    return true;
  }

  // The image pass takes each glyph's rows from the metrics pass: decoded
  // when they were plain, else read once more from where it found them.
  // When that pass reported anything or traced, or an image will be too
  // large, it reads every record again instead, as the metrics pass did.
  bool imagePass(size_t glyphs_start, VbtWriter& writer) {
    if (verbose() || report_.errors() != 0 || anyImageTooLarge()) {
      reader_.rewind(glyphs_start);
      const auto write = [&](const GlyphRecord& glyph) { return writeImage(glyph, tables_.bitmap.bytes(), writer); };
      return readGlyphRecords(reader_, report_, reading(&tables_.bitmap), write) == GlyphsEnd::kEndFont;
    }
    for (const GlyphPlace& place : tables_.glyphs.places()) {
      if (!writePlaceImage(place, tables_.glyphs, writer)) return false;
    }
    return true;
  }

  // The image of a glyph the metrics pass listed: its decoded rows as they
  // are when they were kept and its code's record has its width, else an
  // image made from them, or from its rows read again when none were kept.
  bool writePlaceImage(const GlyphPlace& place, const GlyphList& list, VbtWriter& writer) {
    const MetricRecord& record = tables_.metrics.at(place.code);
    if (place.rows_kept && record.width == place.metrics.width) {
      if (!withinBounds(place.code)) return true;
      const int64_t size = imageSize(record.width, place.metrics.height);
      return emitImage(place.code, list.rows(place), static_cast<size_t>(size), record, writer);
    }
    GlyphRecord glyph;
    glyph.code = place.code;
    glyph.width = place.metrics.width;
    glyph.height = place.metrics.height;
    glyph.row_bytes = (glyph.width + 7) / 8;
    glyph.rows = glyph.height;
    if (place.rows_kept) return writeImage(glyph, list.rows(place), writer);
    reader_.rewind(place.rows_start);
    readGlyphRows(reader_, report_, &glyph, &tables_.bitmap);
    return writeImage(glyph, tables_.bitmap.bytes(), writer);
  }

  bool anyImageTooLarge() const {
    for (const GlyphPlace& place : tables_.glyphs.places()) {
      if (imageSize(tables_.metrics.at(place.code).width, place.metrics.height) > kBitmapCapacity) return true;
    }
    return false;
  }

  GlyphBitmap* bitmapShown() { return verbose() ? &tables_.bitmap : nullptr; }

  // How the records are read, into `bitmap` when there is one.
  GlyphRecordsReading reading(GlyphBitmap* bitmap) const {
    GlyphRecordsReading how;
    how.bitmap = bitmap;
    how.usual_heads = strategy_.usual_heads;
    return how;
  }

  // The glyph's image, with the row size of its code's record; written when
  // its code lies within the bounds.
  bool writeImage(const GlyphRecord& glyph, const uint8_t* bitmap, VbtWriter& writer) {
    const MetricRecord& record = tables_.metrics.at(glyph.code);
    const int32_t rows = std::max(glyph.height, 0);
    const int64_t size = imageSize(record.width, rows);
    if (size > kBitmapCapacity) {
      report_.error("character '%s' has a bitmap too large, %dx%d\n", glyph.name, glyph.width, glyph.height);
      return false;
    }
    makeGlyphImage({bitmap, glyph.row_bytes, glyph.width, rows}, record.width, tables_.image.data());
    const uint8_t* image = tables_.image.data();
    if (withinBounds(glyph.code) && !emitImage(glyph.code, image, static_cast<size_t>(size), record, writer)) return false;
    if (verbose()) {
      printBitmap(report_.out(), tables_.image.data(), static_cast<int32_t>(imageRowBytes(record.width)), rows);
    }
    return true;
  }

  // The bounds of -S and -E, compared as signed numbers as in the range scan.
  bool withinBounds(int32_t code) const { return code >= options_.lowest_code && code < options_.code_limit; }

  bool emitImage(int32_t code, const uint8_t* image, size_t size, const MetricRecord& record, VbtWriter& writer) {
    const uint32_t c = static_cast<uint32_t>(code);
    if (!writer.roomForImage(c, size)) {
      report_.error("output file too large for 32-bit positions\n");
      return false;
    }
    if (c < writer.nextCode()) {
      report_.warning("bdf file has characters out of sequence, char %d prev %d\n", code,
                      static_cast<int32_t>(writer.nextCode()));
    }
    writer.addImage(c, image, size, record);
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
  const ReadingStrategy strategy_;
  const std::string_view bdf_;
  LineReader reader_;
  ConversionTables& tables_;
  OutputStream& out_;
  BdfReport& report_;
};

}  // namespace

FontConverter::FontConverter() : tables_(std::make_unique_for_overwrite<ConversionTables>()) {}

FontConverter::~FontConverter() = default;

bool FontConverter::convert(const ConversionOptions& options, const ReadingStrategy& strategy, std::string_view bdf,
                            std::string_view file_name, OutputStream& out, BdfReport& report) {
  return FontConversion(options, strategy, bdf, *tables_, out, report).run(file_name);
}

std::vector<int32_t> FontConverter::glyphCodes() const {
  std::vector<int32_t> codes;
  for (const GlyphPlace& place : tables_->glyphs.places()) codes.push_back(place.code);
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  return codes;
}
