#include "io/output_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

OutputStream::OutputStream() : buffer_(new uint8_t[kBufferSize]) {}

OutputStream::OutputStream(int fd) : fd_(fd), buffer_(new uint8_t[kBufferSize]) {}

void OutputStream::putBytesFlushing(const uint8_t* data, size_t n) {
  flush();
  if (n >= kBufferSize) {
    position_ += static_cast<int64_t>(n);
    writeOut(data, n);
    return;
  }
  putBytes(data, n);
}

void OutputStream::flush() {
  writeOut(buffer_.get(), buffered_);
  buffered_ = 0;
}

// After the first failure nothing more is written: the file is discarded.
void OutputStream::writeOut(const uint8_t* data, size_t n) {
  if (error_ != 0 || n == 0) return;
  if (fd_ < 0) {
    memory_.insert(memory_.end(), data, data + n);
    return;
  }
  while (n > 0) {
    ssize_t done = ::write(fd_, data, n);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      error_ = done < 0 ? errno : EIO;
      return;
    }
    data += done;
    n -= static_cast<size_t>(done);
  }
}

void OutputStream::rewriteStart(const uint8_t* data, size_t n) {
  flush();
  if (error_ != 0) return;
  if (fd_ < 0) {
    std::copy(data, data + std::min(n, memory_.size()), memory_.begin());
    return;
  }
  // Written in place: the stream's own position stays at the end.
  for (size_t written = 0; written < n;) {
    const ssize_t done = ::pwrite(fd_, data + written, n - written, static_cast<off_t>(written));
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      error_ = done < 0 ? errno : EIO;
      return;
    }
    written += static_cast<size_t>(done);
  }
}
