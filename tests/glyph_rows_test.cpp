// The faster versions of the row operations held against the plain one, on
// random rows rich in what they must tell apart: every hex digit in both
// cases, the characters next to the digits' ranges, line feeds out of place,
// rows of every width around the steps of 8 and 16 characters.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "bdf/glyph_rows.h"

namespace {

using namespace std::string_literals;

const std::string kDigits = "0123456789abcdefABCDEF";
const std::string kNearMisses = "/:@G`g\n\r\x00\x80\xb0\xc1 Z"s;

std::string hexText(std::mt19937& rng, size_t length) {
  std::string text;
  for (size_t i = 0; i < length; ++i) text += kDigits[rng() % kDigits.size()];
  return text;
}

// `text` with now and then one character changed, taken out or added.
std::string nearMiss(std::mt19937& rng, std::string text) {
  if (text.empty()) return text;
  const size_t at = rng() % text.size();
  switch (rng() % 4) {
    case 0: text[at] = kNearMisses[rng() % kNearMisses.size()]; break;
    case 1: text.erase(at, 1); break;
    case 2: text.insert(at, 1, kNearMisses[rng() % kNearMisses.size()]); break;
    default: break;
  }
  return text;
}

std::string blockText(std::mt19937& rng, size_t rows, size_t digits) {
  std::string text;
  for (size_t r = 0; r < rows; ++r) text += hexText(rng, digits) + "\n";
  return text;
}

class GlyphRows : public testing::Test {
 protected:
  GlyphRows() : versions_(glyph_rows::versions(&count_)) {}
  const glyph_rows::Version& plain() const { return versions_[0]; }
  const glyph_rows::Version* versions_;
  size_t count_ = 0;
};

TEST_F(GlyphRows, FasterVersionsTellBlocksAndRowsApartAsThePlainOne) {
  std::mt19937 rng(20261207);
  for (size_t v = 1; v < count_; ++v) {
    SCOPED_TRACE(versions_[v].name);
    for (int i = 0; i < 20000; ++i) {
      const size_t digits = 2 * (1 + rng() % (i % 50 == 0 ? 600 : 12)), rows = 1 + rng() % 20;
      const std::string block = nearMiss(rng, blockText(rng, rows, digits));
      ASSERT_EQ(versions_[v].is_block(block, rows, digits), plain().is_block(block, rows, digits)) << block;
      const std::string row = nearMiss(rng, hexText(rng, rng() % 40));
      ASSERT_EQ(versions_[v].is_well_formed(row), plain().is_well_formed(row)) << row;
    }
  }
}

TEST_F(GlyphRows, FasterVersionsDecodeAsThePlainOneAndWriteNoFurther) {
  std::mt19937 rng(20261208);
  for (size_t v = 1; v < count_; ++v) {
    SCOPED_TRACE(versions_[v].name);
    for (int i = 0; i < 20000; ++i) {
      const size_t n = rng() % 40;
      const std::string row = hexText(rng, 2 * n);
      std::vector<uint8_t> want(n + 16, 0xEE), got(n + 16, 0xEE);
      plain().decode_row(row.data(), n, want.data());
      versions_[v].decode_row(row.data(), n, got.data());
      ASSERT_EQ(got, want) << row;

      const size_t row_bytes = 1 + rng() % 20, rows = 1 + rng() % 20;
      // The text may end right after the block, or go on; so may the room.
      const std::string text = blockText(rng, rows, 2 * row_bytes) + (rng() % 2 ? "ENDCHAR\n" : "");
      const std::string_view block = std::string_view(text).substr(0, rows * (2 * row_bytes + 1));
      const size_t room = rows * row_bytes + (rng() % 2 ? glyph_rows::kSpill : 0);
      std::vector<uint8_t> want_block(room + 16, 0xEE), got_block(room + 16, 0xEE);
      plain().decode_block(block, row_bytes, text.size(), want_block.data(), room);
      versions_[v].decode_block(block, row_bytes, text.size(), got_block.data(), room);
      ASSERT_EQ(got_block, want_block) << text;
    }
  }
}

}  // namespace
