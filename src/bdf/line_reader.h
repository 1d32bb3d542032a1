// The lines of a BDF text held whole in memory, handed out as views into it.
//
// Line rules: a line ends at a line feed; carriage returns are dropped
// wherever they stand; a line holds at most kMaxLineLength characters, and a
// character that arrives when it is full ends it and is lost (the rest comes
// back as the next line); lines that are empty or begin with "COMMENT" are
// skipped; text after the last line feed is never returned. A zero byte
// counts as a character, but the text of a line ends at its first one.
#ifndef BDF2VBT_BDF_LINE_READER_H
#define BDF2VBT_BDF_LINE_READER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "bdf/scan.h"

constexpr size_t kMaxLineLength = 1023;

constexpr uint64_t kOnes = 0x0101010101010101u;
constexpr uint64_t kHighBits = 0x8080808080808080u;

// The high bit of each byte of `word` that may be a line feed, a carriage
// return or a zero byte; exact up to the lowest such byte, which is all that
// is used.
inline uint64_t specialBytes(uint64_t word) {
  const uint64_t lf = word ^ (kOnes * '\n');
  const uint64_t cr = word ^ (kOnes * '\r');
  return (((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr) | ((word - kOnes) & ~word)) & kHighBits;
}

// The high bit of each byte of `word` that is a hex digit: range tests on
// all eight bytes at once, which cannot carry from one byte into the next
// as the bytes are first kept below 0x80.
inline uint64_t hexDigitBytes(uint64_t word) {
  const uint64_t ascii = word & (kOnes * 0x7F);
  const uint64_t digit = (ascii + kOnes * (0x80 - '0')) & ~(ascii + kOnes * (0x80 - '9' - 1));
  const uint64_t lower = ascii | (kOnes * 0x20);
  const uint64_t letter = (lower + kOnes * (0x80 - 'a')) & ~(lower + kOnes * (0x80 - 'f' - 1));
  return (digit | letter) & ~word & kHighBits;
}

// The four bytes that the eight hex digits of `word` spell, first digits
// first; a digit's value is its low four bits, plus 9 for a letter (bit 6
// set). Only the bytes whose two digits are hex digits mean anything.
inline uint32_t hexWordBytes(uint64_t word) {
  const uint64_t nibbles = (word & (kOnes * 0x0F)) + ((word >> 6) & kOnes) * 9;
  uint64_t pairs = ((nibbles & (kOnes * 0x0F)) << 4 | nibbles >> 8) & 0x00FF00FF00FF00FFu;
  pairs = (pairs | pairs >> 8) & 0x0000FFFF0000FFFFu;
  return static_cast<uint32_t>(pairs | pairs >> 16);
}

class LineReader {
 public:
  explicit LineReader(std::string_view text)
      : begin_(text.data()), cur_(text.data()), end_(text.data() + text.size()) {}
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Sets *line to the text of the next line that is neither empty nor a
  // COMMENT line; false at the end of the input. The view lasts until the
  // next call.
  bool next(std::string_view* line) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // Empty lines, as between records, are skipped.
    while (end_ - cur_ >= 24 && *cur_ == '\n') ++cur_;
    // Most lines are short: a line feed within the next 24 bytes with
    // nothing special before it, and not beginning with 'C' (COMMENT).
    if (end_ - cur_ >= 24 && *cur_ != 'C') {
      uint64_t words[3];
      memcpy(words, cur_, sizeof words);
      const uint64_t a = specialBytes(words[0]), b = specialBytes(words[1]), c = specialBytes(words[2]);
      const size_t n = a != 0   ? __builtin_ctzll(a) / 8
                       : b != 0 ? 8 + __builtin_ctzll(b) / 8
                       : c != 0 ? 16 + __builtin_ctzll(c) / 8
                                : 0;
      if (n > 0 && cur_[n] == '\n') {
        *line = std::string_view(cur_, n);
        cur_ += n + 1;
        return true;
      }
    }
#endif
    return nextAnyLine(line);
  }

  // When the next line is a row of hex digits only, an even number of them
  // from 2 to kMaxLineLength, ended by a line feed (the rows of nearly every
  // font), sets *row to it and moves past it; otherwise moves nowhere.
  bool nextHexRow(std::string_view* row) {
    const char* p = cur_;
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    for (; end_ - p >= 8 && p - cur_ <= static_cast<ptrdiff_t>(kMaxLineLength); p += 8) {
      uint64_t word;
      memcpy(&word, p, 8);
      const uint64_t others = ~hexDigitBytes(word) & kHighBits;
      if (others != 0) return endHexRow(p + __builtin_ctzll(others) / 8, row);
    }
#endif
    while (p < end_ && hexDigitValue(*p) >= 0) ++p;
    return endHexRow(p, row);
  }

  // Hands `use` each of the lines that come next while they are rows of 2,
  // 4 or 6 hex digits ended by a line feed (the rows of glyphs up to 24
  // pixels wide), with the eight bytes the row starts with; moves past them.
  template <typename Use>
  void takeShortHexRows(Use use) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    const char* p = cur_;
    while (end_ - p >= 8) {
      uint64_t word;
      memcpy(&word, p, 8);
      const uint64_t others = ~hexDigitBytes(word) & kHighBits;
      const size_t n = others == 0 ? 0 : static_cast<size_t>(__builtin_ctzll(others)) / 8;
      if (n == 0 || n % 2 != 0 || p[n] != '\n') break;
      use(std::string_view(p, n), word);
      p += n + 1;
    }
    cur_ = p;
#else
    (void)use;
#endif
  }

  // When the next `rows` lines each hold `digits` hex digits and nothing
  // else, ended by a line feed (the rows of nearly every glyph), sets *block
  // to them, line feeds included, and moves past them; otherwise moves
  // nowhere.
  bool takeHexBlock(int64_t rows, int64_t digits, std::string_view* block);

  // Once next() has found no more lines: the text after the last line feed,
  // which is no line by the rules above (carriage returns dropped, cut at
  // its first zero byte); empty when the input ends in a line feed.
  std::string_view unterminatedLine() const {
    return std::string_view(copy_).substr(0, copy_.find('\0'));
  }

  // Where the next line starts, for rewind().
  size_t position() const { return static_cast<size_t>(cur_ - begin_); }
  // The text from there to the end.
  std::string_view rest() const { return std::string_view(cur_, static_cast<size_t>(end_ - cur_)); }
  // Goes back (or on) to a position position() gave.
  void rewind(size_t position) { cur_ = begin_ + position; }

 private:
  // next() for every kind of line.
  bool nextAnyLine(std::string_view* line);
  // The next line, skipped or not, and where its first zero byte is (npos
  // for none); false at the end of the input.
  bool nextLine(std::string_view* line, size_t* zero);
  // Ends a row of hex digits at `p`, when it is one.
  bool endHexRow(const char* p, std::string_view* row) {
    const size_t n = static_cast<size_t>(p - cur_);
    if (p >= end_ || *p != '\n' || n == 0 || n % 2 != 0 || n > kMaxLineLength) return false;
    *row = std::string_view(cur_, n);
    cur_ = p + 1;
    return true;
  }
  // The same, character by character: for lines with carriage returns
  // inside, lines beyond the limit, and the end of the input.
  bool nextLineSlowly(std::string_view* line, size_t* zero);

  const char* begin_;
  const char* cur_;
  const char* end_;
  std::string copy_;   // a line that is no plain stretch of the input
};

#endif  // BDF2VBT_BDF_LINE_READER_H
