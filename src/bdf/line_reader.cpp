#include "bdf/line_reader.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr size_t kReadSize = 1 << 16;
}

BdfInput::BdfInput(int fd) : fd_(fd), buffer_(kReadSize) {
  struct stat st;
  seekable_ = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              lseek(fd, 0, SEEK_CUR) == 0;
  setSpan(buffer_.data(), buffer_.data());
}

BdfInput::BdfInput(std::string text) : seekable_(true), text_(std::move(text)) {
  setSpan(text_.data(), text_.data() + text_.size());
}

void BdfInput::setSpan(const char* begin, const char* end) {
  begin_ = cur_ = begin;
  end_ = end;
}

bool BdfInput::refill() {
  consumed_before_ += end_ - begin_;
  setSpan(end_, end_);
  if (fd_ < 0 || error_ != 0) return false;
  if (replaying_) {
    // The replayed bytes are used up: the file descriptor takes over again.
    replaying_ = false;
    recorded_.clear();
  }
  ssize_t got;
  do {
    got = ::read(fd_, buffer_.data(), buffer_.size());
  } while (got < 0 && errno == EINTR);
  if (got < 0) error_ = errno;
  if (got <= 0) return false;
  setSpan(buffer_.data(), buffer_.data() + got);
  if (recording_) recorded_.append(begin_, end_);
  return true;
}

void BdfInput::mark() {
  mark_ = tell();
  if (seekable_ || replaying_) return;
  recording_ = true;
  recorded_.assign(cur_, end_);
}

bool BdfInput::rewindToMark() {
  if (mark_ < 0) return false;
  if (fd_ < 0) {
    // Memory input: the mark is an offset into the text.
    consumed_before_ = 0;
    setSpan(text_.data(), text_.data() + text_.size());
    cur_ = begin_ + mark_;
    return true;
  }
  if (seekable_) {
    if (lseek(fd_, mark_, SEEK_SET) != mark_) {
      error_ = errno;
      return false;
    }
    consumed_before_ = mark_;
    setSpan(buffer_.data(), buffer_.data());
    return true;
  }
  if (!recording_) return false;
  recording_ = false;
  replaying_ = true;
  consumed_before_ = mark_;
  setSpan(recorded_.data(), recorded_.data() + recorded_.size());
  return true;
}

namespace {

bool isSkipped(const char* line, int n) {
  return n == 0 || (n >= 7 && memcmp(line, "COMMENT", 7) == 0);
}


// A mask with the high bit set in each byte of `word` that equals `c`, exact
// up to the lowest such byte (a borrow may mark bytes above it too).
inline uint64_t bytesEqual(uint64_t word, char c) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHighs = 0x8080808080808080u;
  const uint64_t x = word ^ (kOnes * static_cast<uint8_t>(c));
  return (x - kOnes) & ~x & kHighs;
}

// Copies the ordinary bytes at *p to buffer + *n eight at a time, dropping
// carriage returns, until a line feed (consumed; returns true), fewer than 8
// bytes left before `end`, or fewer than 8 free places in the buffer.
bool copyWords(const char** p, const char* end, char* buffer, size_t* n, size_t capacity) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  while (end - *p >= 8 && capacity - *n >= 8) {
    uint64_t word;
    memcpy(&word, *p, 8);
    memcpy(buffer + *n, &word, 8);
    const uint64_t special = bytesEqual(word, '\n') | bytesEqual(word, '\r');
    if (special == 0) {
      *p += 8;
      *n += 8;
      continue;
    }
    const size_t k = static_cast<size_t>(__builtin_ctzll(special)) / 8;
    *n += k;
    *p += k + 1;
    if ((*p)[-1] == '\n') return true;
  }
#else
  (void)p, (void)end, (void)buffer, (void)n, (void)capacity;
#endif
  return false;
}

}  // namespace

char* bdfGetLine(BdfInput& in, char* buffer, int size) {
  const size_t capacity = static_cast<size_t>(size - 1);
  size_t n = 0;
  for (;;) {
    if (in.cur_ == in.end_ && !in.refill()) {
      buffer[n] = '\0';
      return nullptr;
    }
    const char* p = in.cur_;
    const char* const end = in.end_;
    bool ended = copyWords(&p, end, buffer, &n, capacity);
    while (!ended && p < end) {
      const char c = *p++;
      if (c == '\n') {
        ended = true;
      } else if (c == '\r') {
        continue;
      } else if (n == capacity) {
        // The character that finds the buffer full ends the line and is lost.
        ended = true;
      } else {
        buffer[n++] = c;
      }
    }
    in.cur_ = p;
    if (!ended) continue;
    buffer[n] = '\0';
    if (!isSkipped(buffer, static_cast<int>(n))) return buffer;
    n = 0;
  }
}
