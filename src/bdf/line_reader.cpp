#include "bdf/line_reader.h"

#include <algorithm>
#include <cstring>

#include "bdf/glyph_rows.h"
#include "bdf/scan.h"

namespace {

#if !defined(BDF2VBT_SCALAR) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#define BDF2VBT_LINE_WORDS 1

constexpr uint64_t kOnes = 0x0101010101010101u;
constexpr uint64_t kHighBits = 0x8080808080808080u;

// The high bit of each byte of `word` that may be a line feed, a carriage
// return or a zero byte; exact up to the lowest such byte, which is all that
// is used.
uint64_t specialBytes(uint64_t word) {
  const uint64_t lf = word ^ (kOnes * '\n');
  const uint64_t cr = word ^ (kOnes * '\r');
  return (((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr) | ((word - kOnes) & ~word)) & kHighBits;
}
#endif

// The first line feed, carriage return or zero byte in [p, end), or end.
const char* findSpecial(const char* p, const char* end) {
#if defined(BDF2VBT_LINE_WORDS)
  // Eight bytes a step, by the bit trick that finds a zero byte in a word.
  for (; end - p >= 8; p += 8) {
    uint64_t word;
    memcpy(&word, p, 8);
    const uint64_t found = specialBytes(word);
    if (found != 0) return p + __builtin_ctzll(found) / 8;
  }
#endif
  for (; p < end; ++p) {
    if (*p == '\n' || *p == '\r' || *p == '\0') return p;
  }
  return end;
}

bool isSkipped(std::string_view line) {
  return line.empty() || (line[0] == 'C' && startsWith(line, "COMMENT"));
}

}  // namespace

bool LineReader::next(std::string_view* line) { return nextShortLine(line) || nextAnyLine(line); }

bool LineReader::nextShortLine(std::string_view* line) {
#if defined(BDF2VBT_LINE_WORDS)
  // Empty lines, as between records, are skipped.
  while (end_ - cur_ >= 24 && *cur_ == '\n') ++cur_;
  // Most lines are short: a line feed within the next 24 bytes with nothing
  // special before it, and not beginning with 'C' (COMMENT).
  if (end_ - cur_ < 24 || *cur_ == 'C') return false;
  uint64_t words[3];
  memcpy(words, cur_, sizeof words);
  const uint64_t a = specialBytes(words[0]), b = specialBytes(words[1]), c = specialBytes(words[2]);
  const size_t n = a != 0   ? __builtin_ctzll(a) / 8
                   : b != 0 ? 8 + __builtin_ctzll(b) / 8
                   : c != 0 ? 16 + __builtin_ctzll(c) / 8
                            : 0;
  if (n == 0 || cur_[n] != '\n') return false;
  *line = std::string_view(cur_, n);
  line_start_ = cur_;
  cur_ += n + 1;
  return true;
#else
  (void)line;
  return false;
#endif
}

bool LineReader::takeHexLines(int64_t rows, int64_t digits, std::string_view* block) {
  if (rows <= 0 || digits <= 0 || digits > static_cast<int64_t>(kMaxLineLength)) return false;
  const size_t stride = static_cast<size_t>(digits) + 1;
  if (static_cast<uint64_t>(rows) > static_cast<size_t>(end_ - cur_) / stride) return false;
  const std::string_view candidate(cur_, static_cast<size_t>(rows) * stride);
  if (!glyph_rows::isBlock(candidate, static_cast<size_t>(rows), static_cast<size_t>(digits))) return false;
  *block = candidate;
  cur_ += candidate.size();
  return true;
}

bool LineReader::nextAnyLine(std::string_view* line) {
  size_t zero;
  do {
    line_start_ = cur_;
    if (!nextLine(line, &zero)) return false;
  } while (isSkipped(*line));
  if (zero != std::string_view::npos) *line = line->substr(0, zero);
  return true;
}

bool LineReader::nextLine(std::string_view* line, size_t* zero) {
  // Most lines are a stretch of the input that a line feed ends within the
  // limit, with no carriage return in it but one just before the feed.
  const char* window = cur_ + std::min<size_t>(static_cast<size_t>(end_ - cur_), kMaxLineLength + 1);
  const char* stop = findSpecial(cur_, window);
  *zero = std::string_view::npos;
  if (stop < window && *stop == '\0') {
    *zero = static_cast<size_t>(stop - cur_);
    stop = findSpecial(stop + 1, window);
    while (stop < window && *stop == '\0') stop = findSpecial(stop + 1, window);
  }
  if (stop < window && *stop == '\n') {
    *line = std::string_view(cur_, static_cast<size_t>(stop - cur_));
    cur_ = stop + 1;
    return true;
  }
  if (stop < window && end_ - stop >= 2 && stop[1] == '\n') {
    *line = std::string_view(cur_, static_cast<size_t>(stop - cur_));
    cur_ = stop + 2;
    return true;
  }
  return nextLineSlowly(line, zero);
}

bool LineReader::nextLineSlowly(std::string_view* line, size_t* zero) {
  copy_.clear();
  while (cur_ < end_) {
    const char c = *cur_++;
    if (c == '\r') continue;
    if (c == '\n' || copy_.size() == kMaxLineLength) {
      *line = copy_;
      *zero = copy_.find('\0');
      return true;
    }
    copy_ += c;
  }
  return false;
}
