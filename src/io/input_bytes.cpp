#include "io/input_bytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr size_t kFirstChunk = size_t{1} << 16;
}

void InputBytes::reserve(size_t wanted) {
  if (wanted <= capacity_) return;
  std::unique_ptr<char[]> grown(new char[wanted]);
  if (size_ > 0) memcpy(grown.get(), data_.get(), size_);
  data_ = std::move(grown);
  capacity_ = wanted;
}

int InputBytes::readAll(int fd) {
  size_ = 0;
  struct stat info;
  // A regular file's size is known: one byte more lets the end be seen in
  // the first read.
  const bool known = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
                     static_cast<uint64_t>(info.st_size) < kMaxInputSize;
  reserve(known ? static_cast<size_t>(info.st_size) + 1 : kFirstChunk);
  for (;;) {
    if (size_ == capacity_) {
      if (capacity_ >= kMaxInputSize) return EFBIG;
      reserve(std::min(2 * capacity_, kMaxInputSize));
    }
    const ssize_t got = read(fd, data_.get() + size_, capacity_ - size_);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) return 0;
    size_ += static_cast<size_t>(got);
  }
}
