#include "font/output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
constexpr size_t kBufferSize = 1 << 16;
}

OutputFile::OutputFile() { buffer_.reserve(kBufferSize); }

OutputFile::OutputFile(int fd) : fd_(fd) { buffer_.reserve(kBufferSize); }

void OutputFile::put16(uint16_t v) {
  put8(static_cast<uint8_t>(v));
  put8(static_cast<uint8_t>(v >> 8));
}

void OutputFile::put32(uint32_t v) {
  put16(static_cast<uint16_t>(v));
  put16(static_cast<uint16_t>(v >> 16));
}

void OutputFile::putBytes(const uint8_t* data, size_t n) {
  position_ += static_cast<int64_t>(n);
  if (n >= kBufferSize) {
    flush();
    writeOut(data, n);
    return;
  }
  if (buffer_.capacity() - buffer_.size() < n) flush();
  buffer_.insert(buffer_.end(), data, data + n);
}

void OutputFile::flush() {
  writeOut(buffer_.data(), buffer_.size());
  buffer_.clear();
}

// After the first failure nothing more is written: the file is discarded.
void OutputFile::writeOut(const uint8_t* data, size_t n) {
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

void OutputFile::rewriteStart(const uint8_t* data, size_t n) {
  flush();
  if (error_ != 0) return;
  if (fd_ < 0) {
    std::copy(data, data + std::min(n, memory_.size()), memory_.begin());
    return;
  }
  if (::lseek(fd_, 0, SEEK_SET) != 0) {
    error_ = errno;
    return;
  }
  writeOut(data, n);
}
