#include "bdf/line_reader.h"

#include "bdf/scan.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The number of line feeds in [p, p + size) when every other byte there is
// a hex digit, else -1.
int64_t feedsAmongHexDigits(const char* p, size_t size) {
  int64_t feeds = 0;
  size_t i = 0;
#if defined(__SSE2__)
  // Sixteen bytes a step; the compares are signed, so bytes from 0x80 up
  // fall below '0'.
  const auto range = [](__m128i v, char low, char high) {
    return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(low - 1))),
                         _mm_cmpgt_epi8(_mm_set1_epi8(static_cast<char>(high + 1)), v));
  };
  // The line feeds are summed in two 64-bit lanes.
  __m128i feed_sums = _mm_setzero_si128();
  for (; i + 16 <= size; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i lower = _mm_or_si128(v, _mm_set1_epi8(0x20));
    const __m128i hex = _mm_or_si128(range(v, '0', '9'), range(lower, 'a', 'f'));
    const __m128i feed = _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'));
    if (_mm_movemask_epi8(_mm_or_si128(hex, feed)) != 0xFFFF) return -1;
    feed_sums = _mm_add_epi64(feed_sums, _mm_sad_epu8(_mm_and_si128(feed, _mm_set1_epi8(1)), _mm_setzero_si128()));
  }
  feeds = _mm_cvtsi128_si64(feed_sums) + _mm_cvtsi128_si64(_mm_unpackhi_epi64(feed_sums, feed_sums));
#endif
  for (; i < size; ++i) {
    if (p[i] == '\n') {
      ++feeds;
    } else if (hexDigitValue(p[i]) < 0) {
      return -1;
    }
  }
  return feeds;
}

bool isSkipped(std::string_view line) {
  return line.empty() || (line[0] == 'C' && startsWith(line, "COMMENT"));
}

}  // namespace

bool LineReader::takeHexBlock(int64_t rows, int64_t digits, std::string_view* block) {
  if (rows <= 0 || digits <= 0 || digits > static_cast<int64_t>(kMaxLineLength)) return false;
  const size_t stride = static_cast<size_t>(digits) + 1;
  if (static_cast<uint64_t>(rows) > static_cast<size_t>(end_ - cur_) / stride) return false;
  const size_t size = static_cast<size_t>(rows) * stride;
  // As many line feeds as rows, each where a row ends.
  if (feedsAmongHexDigits(cur_, size) != rows) return false;
  for (size_t at = stride - 1; at < size; at += stride) {
    if (cur_[at] != '\n') return false;
  }
  *block = std::string_view(cur_, size);
  cur_ += size;
  return true;
}

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
