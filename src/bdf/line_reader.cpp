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

}  // namespace

// BDF lines are short: one pass over the bytes beats searching for the line
// end and the carriage returns separately.
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
    bool ended = false;
    while (p < end) {
      const char c = *p++;
      if (c == '\n') {
        ended = true;
        break;
      }
      if (c == '\r') continue;
      if (n == capacity) {
        // The character that finds the buffer full ends the line and is lost.
        ended = true;
        break;
      }
      buffer[n++] = c;
    }
    in.cur_ = p;
    if (!ended) continue;
    buffer[n] = '\0';
    if (!isSkipped(buffer, static_cast<int>(n))) return buffer;
    n = 0;
  }
}
