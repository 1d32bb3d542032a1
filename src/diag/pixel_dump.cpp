#include "diag/pixel_dump.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string_view>

#include "diag/text_out.h"

namespace {

// The 8 pixel characters of every byte value.
constexpr auto kPixels = [] {
  std::array<std::array<char, 8>, 256> table{};
  for (int byte = 0; byte < 256; ++byte) {
    for (int bit = 0; bit < 8; ++bit) table[byte][bit] = (byte & (0x80 >> bit)) ? '*' : ' ';
  }
  return table;
}();

}  // namespace

void printBitmap(TextOut& out, const uint8_t* data, int32_t bytes_per_row, int32_t rows) {
  if (bytes_per_row <= 0 || rows <= 0) {
    out << '\n';
    return;
  }
  // The whole dump is written in place: "\n%2u:" and the pixels of each row.
  size_t size = 8 * static_cast<size_t>(bytes_per_row) * static_cast<size_t>(rows);
  for (int32_t r = 0; r < rows; ++r) size += r < 100 ? 4 : r < 1000 ? 5 : r < 10000 ? 6 : 7;
  char* to = out.extend(size);
  for (int32_t r = 0; r < rows; ++r) {
    *to++ = '\n';
    if (r < 10) *to++ = ' ';
    to = std::to_chars(to, to + 8, r).ptr;
    *to++ = ':';
    const uint8_t* row = data + int64_t{r} * bytes_per_row;
    for (int32_t k = 0; k < bytes_per_row; ++k, to += 8) memcpy(to, kPixels[row[k]].data(), 8);
  }
  out << '\n';
}
