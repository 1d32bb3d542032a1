#include "diag/pixel_dump.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string>

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

void printBitmap(FILE* out, const uint8_t* data, int32_t bytes_per_row, int32_t rows) {
  if (bytes_per_row <= 0 || rows <= 0) {
    putText(out, "\n");
    return;
  }
  // A whole row is built before it is printed.
  std::string line;
  for (int32_t r = 0; r < rows; ++r) {
    // "\n%2u:" without printf.
    char number[16] = "\n ";
    char* end = std::to_chars(number + (r < 10 ? 2 : 1), number + sizeof number - 1, r).ptr;
    *end++ = ':';
    line.assign(number, end);
    const uint8_t* row = data + int64_t{r} * bytes_per_row;
    for (int32_t k = 0; k < bytes_per_row; ++k) line.append(kPixels[row[k]].data(), 8);
    putText(out, line);
  }
  putText(out, "\n");
}
