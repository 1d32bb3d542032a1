// The bitmap rows of a glyph record, decoded: rows of hex digits, two a
// byte, the first digit the byte's high four bits; and picture rows, a
// character a pixel. Everything that tells such rows apart and decodes them
// is here. The operations on rows of hex digits only have a plain version
// and, unless the build is BDF2VBT_SCALAR, a faster one (SSE2, sixteen
// characters a step, or a 64-bit word, eight characters a step on a
// little-endian host) that gives the same results; the functions below are
// the faster ones where there are any.
#ifndef BDF2VBT_BDF_GLYPH_ROWS_H
#define BDF2VBT_BDF_GLYPH_ROWS_H

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace glyph_rows {

// Bytes after the rows' own that decodeBlock() may write (and leaves zero).
constexpr size_t kSpill = 8;

// True when `row` begins with a hex digit: a hex row; any other is a
// picture row.
bool isHexRow(std::string_view row);

// True when `text` holds `rows` lines (at least one) of `digits` hex digits
// each, every one ended by a line feed, and nothing else.
bool isBlock(std::string_view text, size_t rows, size_t digits);

// True when `row` is an even number of hex digits and nothing else.
bool isWellFormed(std::string_view row);

// Decodes the 2 * n hex digits at `digits` into n bytes at `to`.
void decodeRow(const char* digits, size_t n, uint8_t* to);

// Decodes a block that isBlock() accepted, rows of `row_bytes` bytes, into
// their bytes one after another at `to`. The text may be read up to
// `readable` characters from its start, and `room` bytes may be written at
// `to`: the rows' own, then up to kSpill more, which are left zero.
void decodeBlock(std::string_view block, size_t row_bytes, size_t readable, uint8_t* to, size_t room);

// Decodes a row that begins with a hex digit but may be no well-formed one:
// an odd last digit is read as if a '0' followed it, and a character that
// is no hex digit is handed to bad_char() and adds no digit ("1Z" gives
// 0x01). The first `room` of its bytes go to `to`; returns their number.
size_t decodeAnyHexRow(std::string_view row, uint8_t* to, size_t room, void (*bad_char)(char, void*), void* context);

// Sets the pixels of a picture row: '#', '*' and '@' set pixel i, bit
// 0x80 >> (i % 8) of byte i / 8 of `to`, as far as `room` goes; every other
// character leaves its pixel as it is. Returns one more than the last byte
// changed, or 0.
size_t addPictureRow(std::string_view row, uint8_t* to, size_t room);

// One version of the operations, for the tests that hold the faster
// versions against the plain one.
struct Version {
  const char* name;
  bool (*is_block)(std::string_view text, size_t rows, size_t digits);
  bool (*is_well_formed)(std::string_view row);
  void (*decode_row)(const char* digits, size_t n, uint8_t* to);
  void (*decode_block)(std::string_view block, size_t row_bytes, size_t readable, uint8_t* to, size_t room);
};

// The plain version, then the one the functions above use, when it differs.
const Version* versions(size_t* count);

}  // namespace glyph_rows

#endif  // BDF2VBT_BDF_GLYPH_ROWS_H
