#include "bdf/glyph_rows.h"

#include <algorithm>
#include <cstring>

#if !defined(BDF2VBT_SCALAR) && defined(__SSE2__)
#define BDF2VBT_HEX_SSE2 1
#include <emmintrin.h>
#endif
#if !defined(BDF2VBT_SCALAR) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define BDF2VBT_HEX_WORDS 1
#endif

namespace glyph_rows {

namespace {

// The plain version: one character at a time.
namespace plain {

int digitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool isBlock(std::string_view text, size_t rows, size_t digits) {
  if (rows == 0 || digits == 0 || text.size() / (digits + 1) != rows || text.size() % (digits + 1) != 0) return false;
  for (size_t at = 0; at < text.size(); at += digits + 1) {
    for (size_t k = 0; k < digits; ++k) {
      if (digitValue(text[at + k]) < 0) return false;
    }
    if (text[at + digits] != '\n') return false;
  }
  return true;
}

bool isWellFormed(std::string_view row) {
  return row.size() % 2 == 0 && std::all_of(row.begin(), row.end(), [](char c) { return digitValue(c) >= 0; });
}

void decodeRow(const char* digits, size_t n, uint8_t* to) {
  for (size_t i = 0; i < n; ++i) to[i] = static_cast<uint8_t>(digitValue(digits[2 * i]) << 4 | digitValue(digits[2 * i + 1]));
}

// The rows from `first` on, each decoded by `decode_row`, and the spill
// cleared.
template <typename DecodeRow>
void decodeRowsFrom(size_t first, std::string_view block, size_t row_bytes, uint8_t* to, size_t room,
                    DecodeRow decode_row) {
  const size_t stride = 2 * row_bytes + 1, rows = block.size() / stride;
  for (size_t r = first; r < rows; ++r) decode_row(block.data() + r * stride, row_bytes, to + r * row_bytes);
  const size_t used = rows * row_bytes;
  memset(to + used, 0, std::min(kSpill, room - used));
}

void decodeBlock(std::string_view block, size_t row_bytes, size_t, uint8_t* to, size_t room) {
  decodeRowsFrom(0, block, row_bytes, to, room, decodeRow);
}

}  // namespace plain

#if defined(BDF2VBT_HEX_WORDS)
// Eight characters at a time in a 64-bit word, lowest address lowest byte.
namespace words {

constexpr uint64_t kOnes = 0x0101010101010101u;
constexpr uint64_t kHighBits = 0x8080808080808080u;

// The high bit of each byte of `word` that is a hex digit: range tests on
// all eight bytes at once, which cannot carry from one byte into the next
// as the bytes are first kept below 0x80.
uint64_t hexDigitBytes(uint64_t word) {
  const uint64_t ascii = word & (kOnes * 0x7F);
  const uint64_t digit = (ascii + kOnes * (0x80 - '0')) & ~(ascii + kOnes * (0x80 - '9' - 1));
  const uint64_t lower = ascii | (kOnes * 0x20);
  const uint64_t letter = (lower + kOnes * (0x80 - 'a')) & ~(lower + kOnes * (0x80 - 'f' - 1));
  return (digit | letter) & ~word & kHighBits;
}

// The four bytes that the eight hex digits of `word` spell, first digits
// first: a digit's value is its low four bits, plus 9 for a letter (bit 6
// set).
uint32_t hexWordBytes(uint64_t word) {
  const uint64_t nibbles = (word & (kOnes * 0x0F)) + ((word >> 6) & kOnes) * 9;
  uint64_t pairs = ((nibbles & (kOnes * 0x0F)) << 4 | nibbles >> 8) & 0x00FF00FF00FF00FFu;
  pairs = (pairs | pairs >> 8) & 0x0000FFFF0000FFFFu;
  return static_cast<uint32_t>(pairs | pairs >> 16);
}

bool isWellFormed(std::string_view row) {
  size_t i = 0;
  for (; i + 8 <= row.size(); i += 8) {
    uint64_t word;
    memcpy(&word, row.data() + i, 8);
    if ((~hexDigitBytes(word) & kHighBits) != 0) return false;
  }
  // What is left has as many characters as the row, less a multiple of 8.
  return plain::isWellFormed(row.substr(i));
}

void decodeRow(const char* digits, size_t n, uint8_t* to) {
  size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    uint64_t word;
    memcpy(&word, digits + 2 * i, 8);
    const uint32_t bytes = hexWordBytes(word);
    memcpy(to + i, &bytes, 4);
  }
  plain::decodeRow(digits + 2 * i, n - i, to + i);
}

#if !defined(BDF2VBT_HEX_SSE2)
void decodeBlock(std::string_view block, size_t row_bytes, size_t, uint8_t* to, size_t room) {
  plain::decodeRowsFrom(0, block, row_bytes, to, room, decodeRow);
}
#endif

}  // namespace words
#endif

#if defined(BDF2VBT_HEX_SSE2)
// Sixteen characters at a time.
namespace sse2 {

// The number of line feeds in `text` when every other byte there is a hex
// digit, else -1.
int64_t feedsAmongHexDigits(std::string_view text) {
  const char* p = text.data();
  const size_t size = text.size();
  // The compares are signed, so bytes from 0x80 up fall below '0'.
  const auto range = [](__m128i v, char low, char high) {
    return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(low - 1))),
                         _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(high + 1)), v));
  };
  // The line feeds are summed in two 64-bit lanes.
  __m128i feed_sums = _mm_setzero_si128();
  size_t i = 0;
  for (; i + 16 <= size; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i lower = _mm_or_si128(v, _mm_set1_epi8(0x20));
    const __m128i hex = _mm_or_si128(range(v, '0', '9'), range(lower, 'a', 'f'));
    const __m128i feed = _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'));
    if (_mm_movemask_epi8(_mm_or_si128(hex, feed)) != 0xFFFF) return -1;
    feed_sums = _mm_add_epi64(feed_sums, _mm_sad_epu8(_mm_and_si128(feed, _mm_set1_epi8(1)), _mm_setzero_si128()));
  }
  int64_t feeds = _mm_cvtsi128_si64(feed_sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(feed_sums, feed_sums));
  for (; i < size; ++i) {
    if (p[i] == '\n') {
      ++feeds;
    } else if (plain::digitValue(p[i]) < 0) {
      return -1;
    }
  }
  return feeds;
}

// As many line feeds as rows, every one where a row ends.
bool isBlock(std::string_view text, size_t rows, size_t digits) {
  if (rows == 0 || digits == 0 || text.size() / (digits + 1) != rows || text.size() % (digits + 1) != 0) return false;
  if (feedsAmongHexDigits(text) != static_cast<int64_t>(rows)) return false;
  for (size_t at = digits; at < text.size(); at += digits + 1) {
    if (text[at] != '\n') return false;
  }
  return true;
}

// The eight bytes that the sixteen hex digits at `from` spell, in the low
// half: a digit's value is its low four bits, plus 9 for a letter (bit 6
// set); two digits make a byte.
__m128i hexPairs(const char* from) {
  const __m128i text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
  const __m128i letters = _mm_and_si128(_mm_srli_epi16(text, 6), _mm_set1_epi8(1));
  const __m128i nibbles = _mm_add_epi8(_mm_and_si128(text, _mm_set1_epi8(0x0F)),
                                       _mm_add_epi8(_mm_slli_epi16(letters, 3), letters));
  const __m128i pairs = _mm_or_si128(_mm_slli_epi16(nibbles, 4), _mm_srli_epi16(nibbles, 8));
  return _mm_packus_epi16(_mm_and_si128(pairs, _mm_set1_epi16(0xFF)), _mm_setzero_si128());
}

// Rows of up to eight bytes take one step each, while sixteen characters
// can be read and eight bytes stored: the bytes past a row's own are
// overwritten by the next row, or cleared at the end.
void decodeBlock(std::string_view block, size_t row_bytes, size_t readable, uint8_t* to, size_t room) {
  const size_t stride = 2 * row_bytes + 1, rows = block.size() / stride;
  size_t row = 0;
  if (row_bytes <= 8 && readable >= 16 && room >= 8) {
    const size_t fast_rows = std::min({rows, (readable - 16) / stride + 1, (room - 8) / row_bytes + 1});
    for (; row < fast_rows; ++row) {
      _mm_storel_epi64(reinterpret_cast<__m128i*>(to + row * row_bytes), hexPairs(block.data() + row * stride));
    }
  }
#if defined(BDF2VBT_HEX_WORDS)
  plain::decodeRowsFrom(row, block, row_bytes, to, room, words::decodeRow);
#else
  plain::decodeRowsFrom(row, block, row_bytes, to, room, plain::decodeRow);
#endif
}

}  // namespace sse2
#endif

constexpr Version kVersions[] = {
    {"plain", plain::isBlock, plain::isWellFormed, plain::decodeRow, plain::decodeBlock},
#if defined(BDF2VBT_HEX_SSE2) && defined(BDF2VBT_HEX_WORDS)
    {"SSE2 blocks, 64-bit word rows", sse2::isBlock, words::isWellFormed, words::decodeRow, sse2::decodeBlock},
#elif defined(BDF2VBT_HEX_SSE2)
    {"SSE2 blocks", sse2::isBlock, plain::isWellFormed, plain::decodeRow, sse2::decodeBlock},
#elif defined(BDF2VBT_HEX_WORDS)
    {"64-bit words", plain::isBlock, words::isWellFormed, words::decodeRow, words::decodeBlock},
#endif
};
constexpr size_t kVersionCount = sizeof kVersions / sizeof kVersions[0];
constexpr const Version& kInUse = kVersions[kVersionCount - 1];

}  // namespace

size_t decodeAnyHexRow(std::string_view row, uint8_t* to, size_t room, void (*bad_char)(char, void*), void* context) {
  const size_t bytes = std::min((row.size() + 1) / 2, room);
  for (size_t i = 0; i < row.size(); i += 2) {
    int value = 0;
    for (const char c : {row[i], i + 1 < row.size() ? row[i + 1] : '0'}) {
      const int digit = plain::digitValue(c);
      if (digit < 0) {
        bad_char(c, context);
      } else {
        value = value * 16 + digit;
      }
    }
    if (i / 2 < room) to[i / 2] = static_cast<uint8_t>(value);
  }
  return bytes;
}

size_t addPictureRow(std::string_view row, uint8_t* to, size_t room) {
  size_t end = 0;
  for (size_t i = 0; i < row.size() && i / 8 < room; ++i) {
    if (row[i] != '#' && row[i] != '*' && row[i] != '@') continue;
    to[i / 8] = static_cast<uint8_t>(to[i / 8] | (0x80 >> (i % 8)));
    end = i / 8 + 1;
  }
  return end;
}

bool isHexRow(std::string_view row) { return !row.empty() && plain::digitValue(row[0]) >= 0; }

bool isBlock(std::string_view text, size_t rows, size_t digits) { return kInUse.is_block(text, rows, digits); }

bool isWellFormed(std::string_view row) { return kInUse.is_well_formed(row); }

void decodeRow(const char* digits, size_t n, uint8_t* to) { kInUse.decode_row(digits, n, to); }

void decodeBlock(std::string_view block, size_t row_bytes, size_t readable, uint8_t* to, size_t room) {
  kInUse.decode_block(block, row_bytes, readable, to, room);
}

const Version* versions(size_t* count) {
  *count = kVersionCount;
  return kVersions;
}

}  // namespace glyph_rows
