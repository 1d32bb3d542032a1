#include "io/input_bytes.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "io/process_signals.h"

namespace {

constexpr size_t kFirstChunk = size_t{1} << 16;
constexpr uint64_t kMapFrom = uint64_t{1} << 20;

}  // namespace

void InputBytes::unmap() {
  if (mapped_) munmap(mapped_, text_.size());
  mapped_ = nullptr;
  watchMappedInput(false);
}

void InputBytes::reserve(size_t wanted) {
  if (wanted <= capacity_) return;
  std::unique_ptr<char[]> grown(new char[wanted]);
  if (!text_.empty()) memcpy(grown.get(), text_.data(), text_.size());
  data_ = std::move(grown);
  capacity_ = wanted;
}

// The pages are mapped as they are first read, sixteen at a fault, on
// whichever thread reads them: that costs less than mapping them all first.
bool InputBytes::map(int fd, size_t size) {
  void* at = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (at == MAP_FAILED) return false;
  // A file truncated while it is mapped faults on the pages it lost.
  watchMappedInput(true);
  mapped_ = at;
  text_ = std::string_view(static_cast<const char*>(at), size);
  return true;
}

int InputBytes::readAll(int fd, size_t limit) {
  unmap();
  text_ = {};
  struct stat info;
  const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
  if (regular && static_cast<uint64_t>(info.st_size) >= limit) return EFBIG;
  // Mapping pays off for large files; a small one is read at once.
  if (regular && static_cast<uint64_t>(info.st_size) >= kMapFrom && map(fd, static_cast<size_t>(info.st_size))) return 0;
  size_t size = 0;
  reserve(regular ? static_cast<size_t>(info.st_size) + 1 : kFirstChunk);
  for (;;) {
    if (size == capacity_) {
      if (capacity_ >= limit) return EFBIG;
      text_ = std::string_view(data_.get(), size);
      reserve(std::min(2 * capacity_, limit));
    }
    const ssize_t got = read(fd, data_.get() + size, capacity_ - size);
    if (got < 0 && errno == EINTR) continue;
    text_ = std::string_view(data_.get(), size + static_cast<size_t>(std::max<ssize_t>(got, 0)));
    if (got < 0) return errno;
    if (got == 0) return 0;
    size += static_cast<size_t>(got);
  }
}
