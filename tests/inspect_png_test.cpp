// vbtdump --png: the specimen sheet, decoded back with libpng.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <optional>
#include <set>
#include <sstream>

#include "test_support.h"

namespace {

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rgb& c) {
  return out << "rgb(" << c.r << "," << c.g << "," << c.b << ")";
}

struct Image {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgb;
  Rgb at(uint32_t x, uint32_t y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb.at(i), rgb.at(i + 1), rgb.at(i + 2)};
  }
};

std::optional<Image> readPng(const std::string& path) {
  png_image png;
  memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&png, path.c_str())) return std::nullopt;
  png.format = PNG_FORMAT_RGB;
  Image image;
  image.width = png.width;
  image.height = png.height;
  image.rgb.resize(PNG_IMAGE_SIZE(png));
  if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) return std::nullopt;
  return image;
}

const Rgb kPaper{255, 255, 255}, kGrid{200, 200, 200}, kAdvance{255, 240, 200};
const Rgb kBaseline{120, 160, 255}, kInk{0, 0, 0}, kLabel{60, 60, 60}, kFillerLabel{185, 185, 185};

TEST(InspectPng, GoldenSheetHasItsSizeAndPixels) {
  TempDir dir;
  writeFile(dir.file("test8.vbt"), readFile(testDataDir() + "/golden/test8.vbt"));
  RunResult run = runVbtdump({"--png", "sheet.png", "test8.vbt"}, dir.path());
  EXPECT_EQ(run, (RunResult{0, "test8.vbt: sheet of 1 row of 16 codes written to sheet.png, 305 x 27 pixels\n", ""}));
  std::optional<Image> image = readPng(dir.file("sheet.png"));
  ASSERT_TRUE(image);
  // At scale 2 each cell is 19 x 26 pixels: its grid line, a gap, a 3 x 5 dot
  // label (4 digits, 15 pixels wide), a 2-row gap, then the glyph area of the
  // font box, 8 x 8 glyph pixels of 2 x 2, with 6 rows above the baseline.
  EXPECT_EQ(image->width, 305u);
  EXPECT_EQ(image->height, 27u);
  EXPECT_EQ(image->at(0, 5), kGrid);
  EXPECT_EQ(image->at(19, 5), kGrid);
  EXPECT_EQ(image->at(304, 5), kGrid);
  EXPECT_EQ(image->at(5, 0), kGrid);
  EXPECT_EQ(image->at(5, 26), kGrid);
  EXPECT_EQ(image->at(2, 2), kPaper);           // 0x40 lies outside the range: no label
  EXPECT_EQ(image->at(21, 2), kLabel);          // top of the '0' of "0041"
  EXPECT_EQ(image->at(22, 3), kPaper);          // inside that '0'
  EXPECT_EQ(image->at(40, 2), kFillerLabel);    // "0042", a filler
  // 'A' with its pen at x 21, the top of its box at y 9.
  EXPECT_EQ(image->at(25, 9), kInk);            // row 0 = 0x20: pixel 2
  EXPECT_EQ(image->at(26, 10), kInk);
  EXPECT_EQ(image->at(24, 9), kAdvance);
  EXPECT_EQ(image->at(33, 9), kPaper);          // right of the advance of 6
  EXPECT_EQ(image->at(21, 15), kInk);           // row 3 = 0xF8: pixels 0..4
  EXPECT_EQ(image->at(30, 16), kInk);
  EXPECT_EQ(image->at(31, 15), kAdvance);
  EXPECT_EQ(image->at(35, 21), kBaseline);      // first row below the baseline
  EXPECT_EQ(image->at(35, 22), kPaper);
  EXPECT_EQ(image->at(45, 15), kPaper);         // the filler's cell stays blank
  EXPECT_EQ(image->at(59, 15), kInk);           // 'C' row 3 = 0x80 at pen 59
}

TEST(InspectPng, ScaleSetsTheSizeOfGlyphPixels) {
  TempDir dir;
  writeFile(dir.file("test8.vbt"), readFile(testDataDir() + "/golden/test8.vbt"));
  RunResult run = runVbtdump({"--png", "sheet.png", "--scale", "3", "test8.vbt"}, dir.path());
  EXPECT_EQ(run.status, 0) << run.err;
  std::optional<Image> image = readPng(dir.file("sheet.png"));
  ASSERT_TRUE(image);
  // Cells of 27 x 34: the glyph area is 24 x 24 now.
  EXPECT_EQ(image->width, 433u);
  EXPECT_EQ(image->height, 35u);
  EXPECT_EQ(image->at(29 + 2 * 3, 9), kInk);    // 'A' row 0, pixel 2, pen at 29
  EXPECT_EQ(image->at(29 + 2 * 3 - 1, 9), kAdvance);
}

// Grid rows that hold a glyph of the BDF text: code / 16 of each ENCODING.
size_t rowsWithGlyphs(const std::string& bdf) {
  std::set<long> rows;
  std::istringstream in(bdf);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("ENCODING ", 0) == 0) rows.insert(std::stol(line.substr(9)) / 16);
  }
  return rows.size();
}

TEST(InspectPng, SampleFontSheetHasOneGridRowPerSixteenCodesWithGlyphs) {
  TempDir dir;
  const std::string bdf = readFile(testDataDir() + "/fonts/4x6.bdf");
  writeFile(dir.file("4x6.bdf"), bdf);
  ASSERT_EQ(runBdf2vbt({"4x6.bdf"}, dir.path()).status, 0);
  RunResult run = runVbtdump({"--png", "4x6.png", "4x6.vbt"}, dir.path());
  ASSERT_EQ(run.status, 0) << run.err;
  std::optional<Image> image = readPng(dir.file("4x6.png"));
  ASSERT_TRUE(image);
  const size_t rows = rowsWithGlyphs(bdf);
  ASSERT_GT(rows, 50u);
  EXPECT_EQ((image->height - 1) % rows, 0u) << image->height;
  const uint32_t cell_height = (image->height - 1) / static_cast<uint32_t>(rows);
  // The label part (9), the font box of 5 + 1 rows at scale 2, the gap.
  EXPECT_EQ(cell_height, 9u + 6u * 2u + 1u);
  for (uint32_t y = 0; y < image->height; y += cell_height) EXPECT_EQ(image->at(3, y), kGrid) << y;
}

TEST(InspectPng, UnwritableOutputLeavesNoFile) {
  TempDir dir;
  writeFile(dir.file("test8.vbt"), readFile(testDataDir() + "/golden/test8.vbt"));
  RunResult run = runVbtdump({"--png", "missing/sheet.png", "test8.vbt"}, dir.path());
  EXPECT_EQ(run, (RunResult{1, "", "vbtdump: missing/sheet.png: No such file or directory\n"}));
  EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{"test8.vbt"}));
}

}  // namespace
