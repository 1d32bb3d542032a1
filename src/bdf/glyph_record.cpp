#include "bdf/glyph_record.h"

#include <algorithm>
#include <initializer_list>
#include <cstdio>
#include <cstring>

#include "bdf/line_reader.h"
#include "bdf/report.h"
#include "bdf/scan.h"
#include "diag/text_out.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

#if defined(__SSE2__)
// The eight bytes that the sixteen hex digits at `from` spell, in the low
// half. A digit's value is its low four bits, plus 9 for a letter (bit 6
// set); two digits make a byte.
__m128i hexPairs(const char* from) {
  const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
  const __m128i letters = _mm_and_si128(_mm_srli_epi16(text, 6), _mm_set1_epi8(1));
  const __m128i nibbles = _mm_add_epi8(_mm_and_si128(text, _mm_set1_epi8(0x0F)),
                                       _mm_add_epi8(_mm_slli_epi16(letters, 3), letters));
  const __m128i pairs = _mm_or_si128(_mm_slli_epi16(nibbles, 4), _mm_srli_epi16(nibbles, 8));
  return _mm_packus_epi16(_mm_and_si128(pairs, _mm_set1_epi16(0xFF)), _mm_setzero_si128());
}
#endif

// A row of an even number of hex digits, the kind real fonts hold.
bool isPlainHexRow(std::string_view row) {
  int bad = 0;
  for (char c : row) bad |= hexDigitValue(c);
  return row.size() % 2 == 0 && bad >= 0;
}

// Decodes two characters as one byte; a character that is no hex digit is
// reported ("bad hex char") and adds no digit, so "1Z" gives 0x01.
int hexByte(BdfReport& report, char high, char low) {
  int value = 0;
  for (char c : {high, low}) {
    const int digit = hexDigitValue(c);
    if (digit < 0) {
      report.error("bad hex char '%c'", c);
    } else {
      value = value * 16 + digit;
    }
  }
  return value;
}

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

// A cursor over the lines of a record head as nearly every font writes
// them: keywords, single blanks and numbers of an optional minus sign and up
// to nine digits, each line ended by a line feed alone.
class PlainHead {
 public:
  explicit PlainHead(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

  // Moves past `literal` when the text goes on with it.
  template <size_t N>
  bool literal(const char (&literal)[N]) {
    if (end_ - p_ < static_cast<ptrdiff_t>(N - 1) || memcmp(p_, literal, N - 1) != 0) return false;
    p_ += N - 1;
    return true;
  }
  // Reads a number, when one comes next.
  bool number(int32_t* value) {
    const bool minus = p_ < end_ && *p_ == '-';
    const char* digits = p_ + (minus ? 1 : 0);
    const char* const last = std::min(end_, digits + 9);
    int32_t magnitude = 0;
    const char* q = digits;
    for (; q < last && static_cast<unsigned>(*q - '0') <= 9; ++q) magnitude = magnitude * 10 + (*q - '0');
    if (q == digits) return false;
    *value = minus ? -magnitude : magnitude;
    p_ = q;
    return true;
  }
  // Reads the numbers, a blank before each, and the line feed after them.
  bool numbers(std::initializer_list<int32_t*> values) {
    for (int32_t* value : values) {
      if (!literal(" ") || !number(value)) return false;
    }
    return literal("\n");
  }
  size_t consumed(std::string_view text) const { return static_cast<size_t>(p_ - text.data()); }

 private:
  const char* p_;
  const char* end_;
};

// The lines from ENCODING to BITMAP in one step, when they are plain (see
// PlainHead), follow one another and hold values the line-by-line reading
// accepts: then *glyph has them and the reader is past them. Otherwise
// nothing moves, and that reading reads them and reports what it finds.
bool readPlainHead(LineReader& reader, GlyphRecord* g) {
  const std::string_view text = reader.rest();
  PlainHead head(text);
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

// Decodes rows of 2 * row_bytes hex digits each, every one ended by a line
// feed, into `to`, their bytes one after another; returns the end of their
// bytes. The text up to `readable_end` may be read; up to eight bytes past
// the rows' own are cleared, as far as `room_end` allows.
const uint8_t* decodeHexBlock(std::string_view block, int32_t row_bytes, const char* readable_end, uint8_t* to,
                              const uint8_t* room_end) {
  const size_t n = static_cast<size_t>(row_bytes), stride = 2 * n + 1;
  const size_t rows = block.size() / stride;
  const char* from = block.data();
  size_t row = 0;
#if defined(__SSE2__)
  // Eight bytes a row at once, while sixteen characters can be read and
  // eight bytes stored; the bytes past a row's own are overwritten by the
  // next row, or cleared below.
  if (n <= 8 && readable_end - from >= 16 && room_end - to >= 8 && rows > 0) {
    const size_t readable_rows = static_cast<size_t>(readable_end - 16 - from) / stride + 1;
    const size_t room_rows = static_cast<size_t>(room_end - 8 - to) / n + 1;
    for (const size_t fast_rows = std::min({rows, readable_rows, room_rows}); row < fast_rows; ++row) {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(to), hexPairs(from));
      from += stride;
      to += n;
    }
  }
#endif
  for (; row < rows; ++row, from += stride, to += n) {
    for (size_t i = 0; i < n; ++i) {
      to[i] = static_cast<uint8_t>(hexDigitValue(from[2 * i]) << 4 | hexDigitValue(from[2 * i + 1]));
    }
  }
  memset(to, 0, static_cast<size_t>(std::min<ptrdiff_t>(8, room_end - to)));
  return to;
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

  // A row of `n` bytes (up to 3) whose digits are the low bytes of `word`.
  void shortHexRow(size_t n, uint64_t word, int64_t offset) {
    if (!bitmap_ || offset >= kBitmapCapacity) return;
    const size_t room = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(n), kBitmapCapacity - offset));
    // Exactly the row's own bytes: the rest of its room may hold what a
    // longer row before it ran on into.
    storeBytes(hexWordBytes(word), room, bitmap_->bytes_.data() + offset);
    bitmap_->used_ = std::max(bitmap_->used_, static_cast<int32_t>(offset + static_cast<int64_t>(room)));
  }

  // Rows of 2 * row_bytes hex digits each, every one ended by a line feed,
  // from the first row on: their bytes follow one another.
  void hexBlock(std::string_view block, int32_t row_bytes) {
    if (!bitmap_) return;
    uint8_t* const begin = bitmap_->bytes_.data();
    const uint8_t* end = decodeHexBlock(block, row_bytes, block.data() + block.size(), begin, begin + kBitmapCapacity);
    bitmap_->used_ = static_cast<int32_t>(end - begin);
  }

  // A row of an even number of hex digits.
  void plainHexRow(std::string_view row, int64_t offset) {
    if (bitmap_) storePlainHex(row, offset);
  }

  // A row that begins with a hex digit; an odd one is read as if a '0'
  // followed it. Bytes beyond the bitmap are dropped, their characters still
  // checked.
  void hexRow(std::string_view row, int64_t offset) {
    if (isPlainHexRow(row)) return plainHexRow(row, offset);
    if (row.size() % 2 != 0) report_.error("odd number of characters in hex encoding\n");
    for (size_t i = 0; i < row.size(); i += 2) {
      const int byte = hexByte(report_, row[i], i + 1 < row.size() ? row[i + 1] : '0');
      if (bitmap_ && offset + static_cast<int64_t>(i / 2) < kBitmapCapacity) {
        store(offset + static_cast<int64_t>(i / 2), static_cast<uint8_t>(byte));
      }
    }
  }

  // A picture row: '#', '*' and '@' set pixels, which are never cleared.
  void pictureRow(std::string_view row, int64_t offset) {
    if (!bitmap_) return;
    for (size_t i = 0; i < row.size(); ++i) {
      if (row[i] != '#' && row[i] != '*' && row[i] != '@') continue;
      const int64_t at = offset + static_cast<int64_t>(i / 8);
      if (at >= kBitmapCapacity) return;
      store(at, static_cast<uint8_t>(bitmap_->bytes_[static_cast<size_t>(at)] | (0x80 >> (i % 8))));
    }
  }

 private:
  void storePlainHex(std::string_view row, int64_t offset) {
    if (offset >= kBitmapCapacity) return;
    const int64_t n = std::min<int64_t>(static_cast<int64_t>(row.size() / 2), kBitmapCapacity - offset);
    uint8_t* to = bitmap_->bytes_.data() + offset;
    int64_t i = 0;
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // Eight digits at a time into four bytes.
    for (; i + 4 <= n; i += 4) {
      uint64_t word;
      memcpy(&word, row.data() + 2 * i, 8);
      const uint32_t bytes = hexWordBytes(word);
      memcpy(to + i, &bytes, 4);
    }
#endif
    for (; i < n; ++i) to[i] = static_cast<uint8_t>(hexDigitValue(row[2 * i]) * 16 + hexDigitValue(row[2 * i + 1]));
    if (n > 0) bitmap_->used_ = std::max(bitmap_->used_, static_cast<int32_t>(offset + n));
  }

  // The first `n` (1 to 3) bytes of `bytes`.
  static void storeBytes(uint32_t bytes, size_t n, uint8_t* to) {
    to[0] = static_cast<uint8_t>(bytes);
    if (n > 1) to[1] = static_cast<uint8_t>(bytes >> 8);
    if (n > 2) to[2] = static_cast<uint8_t>(bytes >> 16);
  }

  void store(int64_t at, uint8_t byte) {
    bitmap_->bytes_[static_cast<size_t>(at)] = byte;
    bitmap_->used_ = std::max(bitmap_->used_, static_cast<int32_t>(at + 1));
  }

  BdfReport& report_;
  GlyphBitmap* bitmap_;
};

namespace {

bool readRows(LineReader& reader, BdfReport& report, GlyphRecord* glyph, GlyphBitmap* bitmap) {
  RowDecoder decoder(report, bitmap);
  int64_t offset = 0;
  std::string_view block;
  if (reader.takeHexBlock(glyph->height, 2 * int64_t{glyph->row_bytes}, &block)) {
    decoder.hexBlock(block, glyph->row_bytes);
    glyph->rows = glyph->height;
    offset = int64_t{glyph->height} * glyph->row_bytes;
    // Nearly always ENDCHAR follows; else the rows go on below.
    const size_t after_block = reader.position();
    std::string_view line;
    glyph->plain_rows = reader.next(&line) && startsWith(line, "ENDCHAR");
    if (glyph->plain_rows) return true;
    reader.rewind(after_block);
  }
  for (std::string_view line;;) {
    reader.takeShortHexRows([&](std::string_view row, uint64_t word) {
      decoder.shortHexRow(row.size() / 2, word, offset);
      ++glyph->rows;
      offset += glyph->row_bytes;
    });
    if (reader.nextHexRow(&line)) {
      decoder.plainHexRow(line, offset);
    } else if (!reader.next(&line)) {
      report.error("missing 'ENDCHAR'\n");
      return false;
    } else if (startsWith(line, "ENDCHAR")) {
      return true;
    } else if (!line.empty() && hexDigitValue(line[0]) >= 0) {
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

bool readCharsLine(LineReader& reader, BdfReport& report) {
  std::string_view line;
  int32_t count = 0;
  int32_t* const values[] = {&count};
  if (!reader.next(&line) || scanKeywordInts(line, "CHARS", values, 1) != 1) {
    report.error("bad 'CHARS' in bdf file\n");
    return false;
  }
  if (count < 1) {
    report.error("invalid number of CHARS in BDF file\n");
    return false;
  }
  if (report.verbose()) report.out() << "encoding " << count << " characters\n";
  return true;
}

bool readGlyphRecord(LineReader& reader, BdfReport& report, std::string_view startchar,
                     GlyphRecord* glyph, GlyphBitmap* bitmap) {
  if (!readName(report, startchar, glyph)) return false;
  const bool plain = !report.verbose() && readPlainHead(reader, glyph);
  if (!plain && (!readEncoding(reader, report, glyph) ||
      !readWidth(reader, report, "SWIDTH", &glyph->swidth_x, &glyph->swidth_y) ||
      !readWidth(reader, report, "DWIDTH", &glyph->advance, &glyph->dwidth_y) ||
      !readBoundingBox(reader, report, glyph) || !readBitmapLine(reader, report))) {
    return false;
  }
  glyph->rows_start = reader.position();
  return readGlyphRows(reader, report, glyph, bitmap);
}

bool readGlyphRows(LineReader& reader, BdfReport& report, GlyphRecord* glyph, GlyphBitmap* bitmap) {
  glyph->row_bytes = (glyph->width + 7) / 8;
  glyph->rows = 0;
  glyph->plain_rows = false;
  return readRows(reader, report, glyph, bitmap);
}

void decodePlainRows(std::string_view text, const GlyphRecord& glyph, uint8_t* to) {
  const size_t rows = static_cast<size_t>(glyph.height), row_bytes = static_cast<size_t>(glyph.row_bytes);
  const std::string_view block = text.substr(glyph.rows_start, rows * (2 * row_bytes + 1));
  decodeHexBlock(block, glyph.row_bytes, text.data() + text.size(), to, to + rows * row_bytes + kRowSpill);
}
