#include "diag/pixel_dump.h"

#include <cstring>
#include <string>

char* binary(uint8_t byte, char* dest) {
  for (int bit = 0; bit < 8; ++bit) dest[bit] = (byte & (0x80 >> bit)) ? '*' : ' ';
  dest[8] = '\0';
  return dest;
}

void display_bitmap(FILE* out, const uint8_t* data, int32_t bytes_per_row, int32_t rows) {
  const int64_t total = int64_t{bytes_per_row} * rows;
  if (bytes_per_row <= 0 || rows <= 0 || total == 0) {
    fputc('\n', out);
    return;
  }
  // A whole row is built before it is printed.
  std::string line;
  char pixels[9];
  for (int32_t r = 0; r < rows; ++r) {
    char number[16];
    int length = snprintf(number, sizeof number, "\n%2u:", static_cast<unsigned>(r));
    line.assign(number, static_cast<size_t>(length));
    const uint8_t* row = data + int64_t{r} * bytes_per_row;
    for (int32_t k = 0; k < bytes_per_row; ++k) line.append(binary(row[k], pixels), 8);
    fwrite(line.data(), 1, line.size(), out);
  }
  fputc('\n', out);
}
