#include "bdf/glyph_record.h"

#include <algorithm>
#include <initializer_list>
#include <cstdio>
#include <cstring>

#include "bdf/glyph_rows.h"
#include "bdf/line_reader.h"
#include "bdf/report.h"
#include "bdf/scan.h"
#include "diag/text_out.h"

static_assert(kRowSpill == glyph_rows::kSpill);

namespace {

// A trace line: the label, then each number after a blank.
void traceNumbers(BdfReport& report, std::string_view label, std::initializer_list<int32_t> numbers) {
  TextOut& out = report.out();
  out << label;
  for (int32_t n : numbers) out << ' ' << n;
  out << '\n';
}

bool readName(BdfReport& report, std::string_view line, GlyphRecord* glyph) {
  std::string_view rest = startsWith(line, "STARTCHAR") ? line.substr(9) : std::string_view();
  std::string_view name;
  if (!scanWord(&rest, &name)) {
    report.error("bad character name in BDF file\n");
    return false;
  }
  const size_t n = std::min(name.size(), kMaxGlyphName);
  memcpy(glyph->name, name.data(), n);
  glyph->name[n] = '\0';
  return true;
}

// ENCODING numbers below -1 are refused.
bool encodingValid(int32_t standard, int32_t alternative, bool has_alternative) {
  return standard >= -1 && (!has_alternative || alternative >= -1);
}

// The code an ENCODING line gives: its second number when the first is -1.
int32_t encodedCode(int32_t standard, int32_t alternative, bool has_alternative) {
  return standard == -1 && has_alternative ? alternative : standard;
}

bool readEncoding(LineReader& reader, BdfReport& report, GlyphRecord* glyph) {
  std::string_view line;
  int32_t standard = 0, alternative = 0;
  int32_t* const values[] = {&standard, &alternative};
  const int found = reader.next(&line) ? scanKeywordInts(line, "ENCODING", values, 2) : 0;
  if (found < 1) {
    report.error("bad 'ENCODING' in BDF file\n");
    return false;
  }
  if (!encodingValid(standard, alternative, found == 2)) {
    report.error("bad ENCODING value");
    return false;
  }
  glyph->code = encodedCode(standard, alternative, found == 2);
  if (report.verbose()) {
    report.out() << "character name " << std::string_view(glyph->name) << " number " << glyph->code << '\n';
  }
  return true;
}

// SWIDTH and DWIDTH: two numbers, the second of which must be zero.
template <size_t N>
bool readWidth(LineReader& reader, BdfReport& report, const char (&keyword)[N], int32_t* x, int32_t* y) {
  std::string_view line;
  int32_t* const values[] = {x, y};
  if (!reader.next(&line) || scanKeywordInts(line, keyword, values, 2) != 2) {
    report.error("bad '%s'\n", keyword);
    return false;
  }
  if (report.verbose()) traceNumbers(report, keyword, {*x, *y});
  if (*y != 0) {
    report.error("%s y value must be zero\n", keyword);
    return false;
  }
  return true;
}

bool boxNegative(int32_t width, int32_t height) { return width < 0 || height < 0; }

bool boxTooLarge(int32_t width, int32_t height) {
  if (width > kMaxBoxSide || height > kMaxBoxSide) return true;
  return int64_t{height} * ((int64_t{width} + 7) / 8) > kBitmapCapacity;
}

bool readBoundingBox(LineReader& reader, BdfReport& report, GlyphRecord* g) {
  std::string_view line;
  int32_t* const values[] = {&g->width, &g->height, &g->x_offset, &g->y_offset};
  if (!reader.next(&line) || scanKeywordInts(line, "BBX", values, 4) != 4) {
    report.error("bad 'BBX'\n");
    return false;
  }
  if (report.verbose()) traceNumbers(report, "BBX metrics:", {g->width, g->height, g->x_offset, g->y_offset});
  if (boxNegative(g->width, g->height)) {
    report.error("character '%s' has a negative sized bitmap, %dx%d\n", g->name, g->width, g->height);
    return false;
  }
  if (boxTooLarge(g->width, g->height)) {
    report.error("character '%s' has a bitmap too large, %dx%d\n", g->name, g->width, g->height);
    return false;
  }
  return true;
}

// A cursor over the lines of a record head in the usual form, as nearly
// every font writes them: keywords, a single blank before each number, each
// line ended by a line feed alone.
class UsualHead {
 public:
  explicit UsualHead(std::string_view text) : rest_(text) {}

  // Moves past `literal` when the text goes on with it.
  template <size_t N>
  bool literal(const char (&literal)[N]) {
    if (!startsWith(rest_, literal)) return false;
    rest_.remove_prefix(N - 1);
    return true;
  }
  // Reads a number, when one comes next.
  bool number(int32_t* value) { return scanIntHere(&rest_, value); }
  // Reads the numbers, a blank before each, and the line feed after them.
  bool numbers(std::initializer_list<int32_t*> values) {
    for (int32_t* value : values) {
      if (!literal(" ") || !number(value)) return false;
    }
    return literal("\n");
  }
  size_t consumed(std::string_view text) const { return text.size() - rest_.size(); }

 private:
  std::string_view rest_;
};

// The traces of the lines from ENCODING to BBX, as the line-by-line reading
// prints them while it reads.
void traceHead(BdfReport& report, const GlyphRecord& g) {
  if (!report.verbose()) return;
  report.out() << "character name " << std::string_view(g.name) << " number " << g.code << '\n';
  traceNumbers(report, "SWIDTH", {g.swidth_x, g.swidth_y});
  traceNumbers(report, "DWIDTH", {g.advance, g.dwidth_y});
  traceNumbers(report, "BBX metrics:", {g.width, g.height, g.x_offset, g.y_offset});
}

// The lines from ENCODING to BITMAP in one step, when they are in the usual
// form (see UsualHead), follow one another and hold values the line-by-line
// reading accepts: then *glyph has them and the reader is past them.
// Otherwise nothing moves, and that reading reads them and reports what it
// finds.
bool readUsualHead(LineReader& reader, GlyphRecord* g) {
  const std::string_view text = reader.rest();
  UsualHead head(text);
  int32_t standard = 0, alternative = 0;
  if (!head.literal("ENCODING") || !head.literal(" ") || !head.number(&standard)) return false;
  const bool has_alternative = !head.literal("\n");
  if ((has_alternative && !head.numbers({&alternative})) || !head.literal("SWIDTH") ||
      !head.numbers({&g->swidth_x, &g->swidth_y}) || !head.literal("DWIDTH") ||
      !head.numbers({&g->advance, &g->dwidth_y}) || !head.literal("BBX") ||
      !head.numbers({&g->width, &g->height, &g->x_offset, &g->y_offset}) || !head.literal("BITMAP\n")) {
    return false;
  }
  if (!encodingValid(standard, alternative, has_alternative) || g->swidth_y != 0 || g->dwidth_y != 0 ||
      boxNegative(g->width, g->height) || boxTooLarge(g->width, g->height)) {
    return false;
  }
  g->code = encodedCode(standard, alternative, has_alternative);
  reader.rewind(reader.position() + head.consumed(text));
  return true;
}

bool readBitmapLine(LineReader& reader, BdfReport& report) {
  std::string_view line;
  if (reader.next(&line) && startsWith(line, "BITMAP")) return true;
  report.error("missing 'BITMAP'\n");
  return false;
}

}  // namespace

// Decodes rows into a glyph's bitmap, or, without one, checks them only.
class RowDecoder {
 public:
  // Clears the bytes the glyph before set.
  RowDecoder(BdfReport& report, GlyphBitmap* bitmap) : report_(report), bitmap_(bitmap) {
    if (!bitmap_) return;
    memset(bitmap_->bytes_.data(), 0, static_cast<size_t>(bitmap_->used_));
    bitmap_->used_ = 0;
  }

  // Rows of 2 * row_bytes hex digits each, every one ended by a line feed,
  // from the first row on: their bytes follow one another.
  void hexBlock(std::string_view block, int32_t row_bytes) {
    if (!bitmap_) return;
    glyph_rows::decodeBlock(block, static_cast<size_t>(row_bytes), block.size(), bitmap_->bytes_.data(), kBitmapCapacity);
    bitmap_->used_ = static_cast<int32_t>(block.size() / (2 * static_cast<size_t>(row_bytes) + 1) * static_cast<size_t>(row_bytes));
  }

  // A row that begins with a hex digit; an odd one is read as if a '0'
  // followed it, and its characters that are no hex digits are reported.
  // Bytes beyond the bitmap are dropped, their characters still checked.
  void hexRow(std::string_view row, int64_t offset) {
    if (glyph_rows::isWellFormed(row)) return wellFormedHexRow(row, offset);
    if (row.size() % 2 != 0) report_.error("odd number of characters in hex encoding\n");
    uint8_t scratch[1];
    const bool in_bitmap = bitmap_ && offset < kBitmapCapacity;
    uint8_t* to = in_bitmap ? bitmap_->bytes_.data() + offset : scratch;
    const size_t room = in_bitmap ? static_cast<size_t>(kBitmapCapacity - offset) : 0;
    const auto bad_char = [](char c, void* report) { static_cast<BdfReport*>(report)->error("bad hex char '%c'", c); };
    noteUsed(offset, glyph_rows::decodeAnyHexRow(row, to, room, bad_char, &report_));
  }

  // A picture row: '#', '*' and '@' set pixels, which are never cleared.
  void pictureRow(std::string_view row, int64_t offset) {
    if (!bitmap_ || offset >= kBitmapCapacity) return;
    const size_t room = static_cast<size_t>(kBitmapCapacity - offset);
    noteUsed(offset, glyph_rows::addPictureRow(row, bitmap_->bytes_.data() + offset, room));
  }

 private:
  // Exactly the row's own bytes, as far as the bitmap goes: the rest of its
  // room may hold what a longer row before it ran on into.
  void wellFormedHexRow(std::string_view row, int64_t offset) {
    if (!bitmap_ || offset >= kBitmapCapacity) return;
    const size_t n = std::min(row.size() / 2, static_cast<size_t>(kBitmapCapacity - offset));
    glyph_rows::decodeRow(row.data(), n, bitmap_->bytes_.data() + offset);
    noteUsed(offset, n);
  }

  // Bytes up to `offset` + `bytes` may now not be zero.
  void noteUsed(int64_t offset, size_t bytes) {
    if (bitmap_ && bytes > 0) bitmap_->used_ = std::max(bitmap_->used_, static_cast<int32_t>(offset + static_cast<int64_t>(bytes)));
  }

  BdfReport& report_;
  GlyphBitmap* bitmap_;
};

namespace {

bool readRows(LineReader& reader, BdfReport& report, GlyphRecord* glyph, GlyphBitmap* bitmap) {
  RowDecoder decoder(report, bitmap);
  int64_t offset = 0;
  std::string_view block;
  if (reader.takeHexLines(glyph->height, 2 * int64_t{glyph->row_bytes}, &block)) {
    decoder.hexBlock(block, glyph->row_bytes);
    glyph->rows = glyph->height;
    offset = int64_t{glyph->height} * glyph->row_bytes;
    // Nearly always ENDCHAR follows; else the rows go on below.
    const size_t after_block = reader.position();
    std::string_view line;
    glyph->rows_in_block = reader.next(&line) && startsWith(line, "ENDCHAR");
    if (glyph->rows_in_block) return true;
    reader.rewind(after_block);
  }
  for (std::string_view line;;) {
    if (!reader.next(&line)) {
      report.error("missing 'ENDCHAR'\n");
      return false;
    } else if (startsWith(line, "ENDCHAR")) {
      return true;
    } else if (glyph_rows::isHexRow(line)) {
      decoder.hexRow(line, offset);
    } else {
      decoder.pictureRow(line, offset);
    }
    ++glyph->rows;
    offset += glyph->row_bytes;
  }
}

}  // namespace

int32_t GlyphBitmap::rowsShown(const GlyphRecord& glyph) const {
  if (glyph.row_bytes <= 0) return static_cast<int32_t>(std::min<int64_t>(glyph.rows, kBitmapCapacity));
  return static_cast<int32_t>(std::min<int64_t>(glyph.rows, kBitmapCapacity / glyph.row_bytes));
}

bool readGlyphRecord(LineReader& reader, BdfReport& report, std::string_view startchar, bool usual_heads,
                     GlyphRecord* glyph, GlyphBitmap* bitmap) {
  if (!readName(report, startchar, glyph)) return false;
  report.readingGlyph(glyph->name);
  if (usual_heads && readUsualHead(reader, glyph)) {
    traceHead(report, *glyph);
  } else if (!readEncoding(reader, report, glyph) ||
             !readWidth(reader, report, "SWIDTH", &glyph->swidth_x, &glyph->swidth_y) ||
             !readWidth(reader, report, "DWIDTH", &glyph->advance, &glyph->dwidth_y) ||
             !readBoundingBox(reader, report, glyph) || !readBitmapLine(reader, report)) {
    return false;
  }
  glyph->rows_start = reader.position();
  return readGlyphRows(reader, report, glyph, bitmap);
}

bool readGlyphRows(LineReader& reader, BdfReport& report, GlyphRecord* glyph, GlyphBitmap* bitmap) {
  glyph->row_bytes = (glyph->width + 7) / 8;
  glyph->rows = 0;
  glyph->rows_in_block = false;
  return readRows(reader, report, glyph, bitmap);
}

void decodeRowsInBlock(std::string_view text, const GlyphRecord& glyph, uint8_t* to) {
  const size_t rows = static_cast<size_t>(glyph.height), row_bytes = static_cast<size_t>(glyph.row_bytes);
  const std::string_view block = text.substr(glyph.rows_start, rows * (2 * row_bytes + 1));
  glyph_rows::decodeBlock(block, row_bytes, text.size() - glyph.rows_start, to, rows * row_bytes + kRowSpill);
}
