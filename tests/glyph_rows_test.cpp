// The row operations: the faster versions held against the plain one on
// random rows rich in what they must tell apart (every hex digit in both
// cases, the characters next to the digits' ranges, line feeds out of place,
// rows of every width around the steps of 8 and 16 characters); and the
// rows of a glyph record, read as a block or a line at a time, held against
// a decoding of one digit pair at a time.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "bdf/glyph_record.h"
#include "bdf/glyph_rows.h"
#include "bdf/line_reader.h"
#include "bdf/report.h"
#include "random_rows.h"

namespace {

using random_rows::hexDigits;
using random_rows::hexLines;
using random_rows::nearMiss;

// The versions glyph_rows.cpp builds here: a test that finds fewer compares
// nothing.
#if !defined(BDF2VBT_SCALAR) && (defined(__SSE2__) || __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__)
constexpr size_t kVersionCount = 2;
#else
constexpr size_t kVersionCount = 1;
#endif

class GlyphRows : public testing::Test {
 protected:
  GlyphRows() { EXPECT_EQ(count_, kVersionCount); }
  const glyph_rows::Version& plain() const { return versions_[0]; }
  size_t count_ = 0;   // before versions_, which sets it
  const glyph_rows::Version* versions_ = glyph_rows::versions(&count_);
};

TEST_F(GlyphRows, FasterVersionsTellBlocksAndRowsApartAsThePlainOne) {
  std::mt19937 rng(20261207);
  for (size_t v = 1; v < count_; ++v) {
    SCOPED_TRACE(versions_[v].name);
    for (int i = 0; i < 20000; ++i) {
      const size_t digits = 2 * (1 + rng() % (i % 50 == 0 ? 600 : 12)), rows = 1 + rng() % 20;
      const std::string block = nearMiss(rng, hexLines(rng, rows, digits));
      ASSERT_EQ(versions_[v].is_block(block, rows, digits), plain().is_block(block, rows, digits)) << block;
      const std::string row = nearMiss(rng, hexDigits(rng, rng() % 40));
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
      const std::string row = hexDigits(rng, 2 * n);
      std::vector<uint8_t> want(n + 16, 0xEE), got(n + 16, 0xEE);
      plain().decode_row(row.data(), n, want.data());
      versions_[v].decode_row(row.data(), n, got.data());
      ASSERT_EQ(got, want) << row;

      const size_t row_bytes = 1 + rng() % 20, rows = 1 + rng() % 20;
      // The text may end right after the block, or go on; so may the room.
      const std::string text = hexLines(rng, rows, 2 * row_bytes) + (rng() % 2 ? "ENDCHAR\n" : "");
      const std::string_view block = std::string_view(text).substr(0, rows * (2 * row_bytes + 1));
      const size_t room = rows * row_bytes + (rng() % 2 ? glyph_rows::kSpill : 0);
      std::vector<uint8_t> want_block(room + 16, 0xEE), got_block(room + 16, 0xEE);
      plain().decode_block(block, row_bytes, text.size(), want_block.data(), room);
      versions_[v].decode_block(block, row_bytes, text.size(), got_block.data(), room);
      ASSERT_EQ(got_block, want_block) << text;
    }
  }
}

// Rows of 1 to 12 bytes, 1 to 4 of them, in a record without a COMMENT
// line, which reads them as a block, and with one before each row, which
// makes it read them a line at a time, and after the last, which does not:
// each time the glyph's bitmap holds the rows' bytes and zeros after them,
// as does what decodeRowsInBlock makes of a block. Each record is read after
// a larger one of all ones, read either way, into the same bitmap, as in a
// font: it must clear what that one left.
TEST(GlyphRecordRows, ReadAsABlockOrALineAtATimeDecodeAsEachDigitPairAlone) {
  std::mt19937 rng(20261209);
  BdfReport report(nullptr, nullptr, false);
  GlyphBitmap bitmap;
  // Reads a record of `rows` with a COMMENT line before row `comment_before`
  // (none when -1); returns its text.
  const auto read = [&](int width, const std::vector<std::string>& rows, int comment_before, GlyphRecord* glyph) {
    std::string text = "ENCODING 65\nSWIDTH 500 0\nDWIDTH 8 0\nBBX " + std::to_string(width) + " " +
                       std::to_string(rows.size()) + " 0 0\nBITMAP\n";
    for (int r = 0; r <= static_cast<int>(rows.size()); ++r) {
      if (r == comment_before) text += "COMMENT between the rows\n";
      if (r < static_cast<int>(rows.size())) text += rows[static_cast<size_t>(r)] + "\n";
    }
    text += "ENDCHAR\n";
    LineReader reader(text);
    EXPECT_TRUE(readGlyphRecord(reader, report, "STARTCHAR g", true, glyph, &bitmap));
    return text;
  };
  const std::vector<std::string> ones(5, std::string(26, 'F'));
  for (int row_bytes = 1; row_bytes <= 12; ++row_bytes) {
    for (int height = 1; height <= 4; ++height) {
      const int width = 8 * row_bytes - static_cast<int>(rng() % 8);
      std::vector<std::string> rows;
      std::vector<uint8_t> want(65 + kRowSpill);
      for (int r = 0; r < height; ++r) {
        rows.push_back(hexDigits(rng, 2 * static_cast<size_t>(row_bytes)));
        for (int i = 0; i < row_bytes; ++i) {
          want[r * row_bytes + i] = static_cast<uint8_t>(std::stoi(rows[r].substr(2 * i, 2), nullptr, 16));
        }
      }
      for (int comment_before = -1; comment_before <= height; ++comment_before) {
        SCOPED_TRACE(testing::Message() << width << " x " << height << ", COMMENT line "
                                        << (comment_before < 0 ? "none" : "before row " + std::to_string(comment_before)));
        GlyphRecord glyph;
        read(104, ones, comment_before % 2 == 0 ? -1 : 0, &glyph);
        const std::string text = read(width, rows, comment_before, &glyph);
        // Else the test would not reach the path it means to.
        ASSERT_EQ(glyph.rows_in_block, comment_before < 0 || comment_before == height);
        EXPECT_EQ(std::vector<uint8_t>(bitmap.bytes(), bitmap.bytes() + want.size()), want);
        if (!glyph.rows_in_block) continue;
        std::vector<uint8_t> decoded(want.size());
        decodeRowsInBlock(text, glyph, decoded.data());
        EXPECT_EQ(decoded, want);
      }
    }
  }
  EXPECT_EQ(report.errors(), 0);
}

}  // namespace
