#include "bdf/line_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The first line feed or carriage return in [p, end), or end: eight bytes a
// step, by the bit trick that finds a zero byte in a word.
const char* findLineEnd(const char* p, const char* end) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHighs = 0x8080808080808080u;
  for (; end - p >= 8; p += 8) {
    uint64_t word;
    memcpy(&word, p, 8);
    const uint64_t lf = word ^ (kOnes * '\n');
    const uint64_t cr = word ^ (kOnes * '\r');
    // Exact up to the lowest marked byte, which is all that is used.
    const uint64_t found = ((lf - kOnes) & ~lf & kHighs) | ((cr - kOnes) & ~cr & kHighs);
    if (found != 0) return p + __builtin_ctzll(found) / 8;
  }
#endif
  for (; p < end; ++p) {
    if (*p == '\n' || *p == '\r') return p;
  }
  return end;
}

bool isSkipped(std::string_view line) {
  return line.empty() || line.compare(0, 7, "COMMENT") == 0;
}

}  // namespace

bool LineReader::next(std::string_view* line) {
  std::string_view raw;
  do {
    if (!nextLine(&raw)) return false;
  } while (isSkipped(raw));
  const void* zero = memchr(raw.data(), '\0', raw.size());
  *line = zero ? raw.substr(0, static_cast<size_t>(static_cast<const char*>(zero) - raw.data())) : raw;
  return true;
}

bool LineReader::nextLine(std::string_view* line) {
  // Most lines are a stretch of the input that a line feed ends within the
  // limit, with no carriage return before it but one just before the feed.
  const char* window = cur_ + std::min<size_t>(static_cast<size_t>(end_ - cur_), kMaxLineLength + 1);
  const char* stop = findLineEnd(cur_, window);
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
  return nextLineSlowly(line);
}

bool LineReader::nextLineSlowly(std::string_view* line) {
  copy_.clear();
  while (cur_ < end_) {
    const char c = *cur_++;
    if (c == '\r') continue;
    if (c == '\n' || copy_.size() == kMaxLineLength) {
      *line = copy_;
      return true;
    }
    copy_ += c;
  }
  return false;
}
