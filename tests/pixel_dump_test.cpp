// The verbose pixel dump: bitmaps shown as numbered rows of '*' and ' '.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "diag/pixel_dump.h"

namespace {

std::string dump(const std::vector<uint8_t>& data, int32_t bytes_per_row, int32_t rows) {
  char* text = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&text, &size);
  display_bitmap(out, data.data(), bytes_per_row, rows);
  fclose(out);
  std::string result(text, size);
  free(text);
  return result;
}

TEST(PixelDump, BinaryGivesEightPixelCharacters) {
  struct Case {
    uint8_t byte;
    std::string pixels;
  };
  for (const Case& c : std::vector<Case>{{0x81, "*      *"},
                                         {0x00, "        "},
                                         {0xFF, "********"},
                                         {0xA5, "* *  * *"},
                                         {0x01, "       *"}}) {
    char dest[12];
    std::fill(std::begin(dest), std::end(dest), 'x');
    EXPECT_EQ(binary(c.byte, dest), dest);
    EXPECT_EQ(std::string(dest), c.pixels);
    EXPECT_EQ(dest[9], 'x');
  }
}

TEST(PixelDump, RowsAreNumberedAndShownBytePerByte) {
  EXPECT_EQ(dump({0x81, 0x00}, 1, 2), "\n 0:*      *\n 1:        \n");
  EXPECT_EQ(dump({0xF0, 0x0F, 0x01, 0x80}, 2, 2), "\n 0:****        ****\n 1:       **       \n");
  // Only the rows asked for are shown.
  EXPECT_EQ(dump({0xFF, 0xFF, 0xFF}, 1, 1), "\n 0:********\n");
}

TEST(PixelDump, EmptyBitmapIsOneLineFeed) {
  EXPECT_EQ(dump({0xFF}, 1, 0), "\n");
  EXPECT_EQ(dump({0xFF}, 0, 3), "\n");
  EXPECT_EQ(dump({0xFF}, 0, 0), "\n");
}

TEST(PixelDump, RowNumbersFrom100TakeThreeDigits) {
  std::vector<uint8_t> data(101, 0);
  data[9] = 0x80;
  data[100] = 0x01;
  std::string expected;
  for (int r = 0; r <= 100; ++r) {
    const std::string number = std::to_string(r);
    const std::string label = (r < 10 ? " " : "") + number + ":";
    const std::string pixels = r == 9 ? "*       " : r == 100 ? "       *" : "        ";
    expected += "\n" + label + pixels;
  }
  expected += "\n";
  EXPECT_EQ(dump(data, 1, 101), expected);
}

}  // namespace
