#include "bdf/glyph_record.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "bdf/error.h"
#include "bdf/line_reader.h"
#include "bdf/scan.h"

namespace {

bool readName(ConversionState& st, const char* line, GlyphRecord& glyph) {
  const char* p = afterKeyword(line, "STARTCHAR");
  if (p && scanWord(&p, glyph.name, sizeof glyph.name)) {
    return true;
  }
  bdfError(st, "bad character name in BDF file\n");
  return false;
}

bool readEncoding(ConversionState& st, BdfInput& in, GlyphRecord& glyph) {
  char buffer[kLineSize];
  const char* line = bdfGetLine(in, buffer, kLineSize);
  int32_t standard = 0;
  int32_t alternative = 0;
  int32_t* const values[] = {&standard, &alternative};
  int found = line ? scanKeywordInts(line, "ENCODING", values, 2) : 0;
  if (found < 1) {
    bdfError(st, "bad 'ENCODING' in BDF file\n");
    return false;
  }
  if (standard < -1 || (found == 2 && alternative < -1)) {
    bdfError(st, "bad ENCODING value");
    return false;
  }
  glyph.code = standard == -1 && found == 2 ? alternative : standard;
  if (st.verbose) fprintf(st.out, "character name %s number %d\n", glyph.name, glyph.code);
  return true;
}

// SWIDTH and DWIDTH: two numbers, the second of which must be zero.
bool readWidth(ConversionState& st, BdfInput& in, const char* keyword, int32_t* x,
               int32_t* y) {
  char buffer[kLineSize];
  const char* line = bdfGetLine(in, buffer, kLineSize);
  int32_t* const values[] = {x, y};
  if (!line || scanKeywordInts(line, keyword, values, 2) != 2) {
    bdfError(st, "bad '%s'\n", keyword);
    return false;
  }
  if (st.verbose) fprintf(st.out, "%s %d %d\n", keyword, *x, *y);
  if (*y != 0) {
    bdfError(st, "%s y value must be zero\n", keyword);
    return false;
  }
  return true;
}

bool boxTooLarge(int32_t width, int32_t height) {
  if (width > kMaxBoxSide || height > kMaxBoxSide) return true;
  int64_t bytes = int64_t{height} * ((int64_t{width} + 7) / 8);
  return bytes > kBitmapSize;
}

bool readBoundingBox(ConversionState& st, BdfInput& in, const GlyphRecord& glyph) {
  char buffer[kLineSize];
  const char* line = bdfGetLine(in, buffer, kLineSize);
  int32_t* const values[] = {&st.bbw, &st.bbh, &st.bbox, &st.bboy};
  if (!line || scanKeywordInts(line, "BBX", values, 4) != 4) {
    bdfError(st, "bad 'BBX'\n");
    return false;
  }
  if (st.verbose) {
    fprintf(st.out, "BBX metrics: %d %d %d %d\n", st.bbw, st.bbh, st.bbox, st.bboy);
  }
  if (st.bbh < 0 || st.bbw < 0) {
    bdfError(st, "character '%s' has a negative sized bitmap, %dx%d\n", glyph.name,
             st.bbw, st.bbh);
    return false;
  }
  if (boxTooLarge(st.bbw, st.bbh)) {
    bdfError(st, "character '%s' has a bitmap too large, %dx%d\n", glyph.name, st.bbw,
             st.bbh);
    return false;
  }
  return true;
}

bool readBitmapLine(ConversionState& st, BdfInput& in) {
  char buffer[kLineSize];
  const char* line = bdfGetLine(in, buffer, kLineSize);
  if (line && startsWith(line, "BITMAP")) return true;
  bdfError(st, "missing 'BITMAP'\n");
  return false;
}

// Only the bytes earlier glyphs may have set need clearing.
void clearBitmaps(ConversionState& st) {
  memset(st.bitmap, 0, static_cast<size_t>(st.bitmap_dirty));
  memset(st.rast_map, 0, static_cast<size_t>(st.rast_map_dirty));
  st.bitmap_dirty = 0;
  st.rast_map_dirty = 0;
}

// Values of the hex digits; -1 for every other character.
constexpr auto kHexValue = [] {
  std::array<int8_t, 256> table{};
  table.fill(-1);
  for (int c = '0'; c <= '9'; ++c) table[c] = static_cast<int8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) table[c] = static_cast<int8_t>(c - 'A' + 10);
  for (int c = 'a'; c <= 'f'; ++c) table[c] = static_cast<int8_t>(c - 'a' + 10);
  return table;
}();

int hexValue(char c) { return kHexValue[static_cast<uint8_t>(c)]; }

void noteBitmapWrite(ConversionState& st, int64_t end) {
  st.bitmap_dirty = std::max(st.bitmap_dirty, static_cast<int32_t>(end));
}

// Decodes a row of an even number of hex digits that fits the bitmap, in one
// pass; false, with nothing reported, for any other row.
bool decodePlainHexRow(ConversionState& st, const char* line, int64_t offset) {
  int64_t i = 0;
  for (const char* at = line; *at != '\0'; at += 2, ++i) {
    const int high = hexValue(at[0]);
    const int low = hexValue(at[1]);   // the terminator is no hex digit
    if ((high | low) < 0 || offset + i >= kBitmapSize) return false;
    st.bitmap[offset + i] = static_cast<uint8_t>(high * 16 + low);
  }
  if (i > 0) noteBitmapWrite(st, offset + i);
  return true;
}

// A row of an odd length is read as if a '0' followed it. Bytes past the end
// of the bitmap are dropped, but their characters are still checked.
void decodeHexRow(ConversionState& st, const char* line, int64_t offset) {
  if (decodePlainHexRow(st, line, offset)) return;
  const size_t length = strlen(line);
  if (length % 2 != 0) bdfError(st, "odd number of characters in hex encoding\n");
  const int64_t room = kBitmapSize - std::min<int64_t>(offset, kBitmapSize);
  const int64_t pairs = static_cast<int64_t>((length + 1) / 2);
  for (int64_t i = 0; i < pairs; ++i) {
    const char* at = line + 2 * i;
    const char pair[2] = {at[0], at[1] != '\0' ? at[1] : '0'};
    const int byte = bdfHexByte(st, pair);
    if (i < room) st.bitmap[offset + i] = static_cast<uint8_t>(byte);
  }
  if (pairs > 0 && room > 0) noteBitmapWrite(st, offset + std::min(pairs, room));
}

// Pixels are only ever set; a row longer than the glyph sets bits in the bytes
// of the rows that follow.
void decodePictureRow(ConversionState& st, const char* line, int64_t offset) {
  for (int64_t i = 0; line[i] != '\0'; ++i) {
    char c = line[i];
    if (c != '#' && c != '*' && c != '@') continue;
    int64_t at = offset + i / 8;
    if (at >= kBitmapSize) return;
    st.bitmap[at] = static_cast<uint8_t>(st.bitmap[at] | (0x80 >> (i % 8)));
    noteBitmapWrite(st, at + 1);
  }
}

bool readRows(ConversionState& st, BdfInput& in, GlyphRecord& glyph) {
  char buffer[kLineSize];
  int64_t offset = 0;
  for (;;) {
    const char* line = bdfGetLine(in, buffer, kLineSize);
    if (!line) {
      bdfError(st, "missing 'ENDCHAR'\n");
      return false;
    }
    if (startsWith(line, "ENDCHAR")) return true;
    if (hexValue(line[0]) >= 0) {
      decodeHexRow(st, line, offset);
    } else {
      decodePictureRow(st, line, offset);
    }
    ++glyph.rows;
    offset += st.bytes_per_bdf_line;
  }
}

}  // namespace

bool bdfReadGlyphRecord(ConversionState& st, BdfInput& in, const char* startchar,
                        GlyphRecord& glyph) {
  if (!readName(st, startchar, glyph) || !readEncoding(st, in, glyph) ||
      !readWidth(st, in, "SWIDTH", &st.swidthx, &st.swidthy) ||
      !readWidth(st, in, "DWIDTH", &st.dwidthx, &st.dwidthy) ||
      !readBoundingBox(st, in, glyph) || !readBitmapLine(st, in)) {
    return false;
  }
  clearBitmaps(st);
  st.bytes_per_bdf_line = (st.bbw + 7) / 8;
  glyph.rows = 0;
  return readRows(st, in, glyph);
}

int32_t bitmapRowsShown(const ConversionState& st, const GlyphRecord& glyph) {
  if (st.bytes_per_bdf_line <= 0) return static_cast<int32_t>(std::min<int64_t>(glyph.rows, kBitmapSize));
  return static_cast<int32_t>(
      std::min<int64_t>(glyph.rows, kBitmapSize / st.bytes_per_bdf_line));
}
