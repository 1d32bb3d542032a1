#include "bdf/line_reader.h"

#include "bdf/scan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The first line feed, carriage return or zero byte in [p, end), or end:
// eight bytes a step, by the bit trick that finds a zero byte in a word.
const char* findSpecial(const char* p, const char* end) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
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

bool LineReader::nextAnyLine(std::string_view* line) {
  size_t zero;
  do {
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
