// A reader of VBT2 files for the tests, written apart from the converter's
// writer so that the two check each other.
#ifndef BDF2VBT_TESTS_VBT_READER_H
#define BDF2VBT_TESTS_VBT_READER_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct VbtMetrics {
  int16_t width = 0;
  int16_t height = 0;
  int32_t ascent = 0;
  int32_t x_offset = 0;
  int32_t advance = 0;
  bool reserved_zero = true;
  bool operator==(const VbtMetrics&) const = default;
};

struct VbtFile {
  uint16_t magic = 0;
  uint16_t flags = 0;
  uint16_t largest_width = 0;
  uint16_t largest_height = 0;
  uint16_t box_width = 0;
  uint16_t box_height = 0;
  uint32_t image_pos = 0;
  uint32_t metric_pos = 0;
  uint16_t underline = 0;
  uint16_t baseline = 0;
  int32_t first_code = 0;
  int32_t code_count = 0;
  bool reserved_zero = true;
  std::string font_name;    // name record up to the ','
  std::string file_name;    // name record after the ','
  std::vector<VbtMetrics> metrics;     // one per code of the range
  std::vector<uint32_t> offsets;       // one per code of the range
  std::vector<uint8_t> bytes;

  // Parses a whole file; nullopt when a table lies outside it or the name
  // record is not terminated.
  static std::optional<VbtFile> parse(const std::vector<uint8_t>& bytes);
  static std::optional<VbtFile> parse(const std::string& bytes);

  // Index of `code` in the tables (code - first code, first code taken
  // without any -A offset given as `shift`).
  size_t index(int32_t code, int32_t shift = 0) const;
  // The image of the code at table index `i`: height rows of (width + 7) / 8
  // bytes.
  std::vector<uint8_t> image(size_t i) const;
  // Pixel (x, y) of the image at table index `i`, top row 0.
  bool pixel(size_t i, int x, int y) const;
};

#endif  // BDF2VBT_TESTS_VBT_READER_H
