// vbtdump --check: the golden file is sound, and each kind of damage gives its
// own report.
#include <gtest/gtest.h>

#include <cstring>

#include "inspect/check.h"
#include "test_support.h"

namespace {

std::string golden() { return readFile(testDataDir() + "/golden/test8.vbt"); }

// The report of checkVbt on `bytes`.
std::string check(const std::string& bytes) {
  std::string report;
  vbtdump::checkVbt(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &report);
  return report;
}

std::string with16(std::string bytes, size_t at, uint16_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
  return bytes;
}

std::string with32(std::string bytes, size_t at, uint32_t value) {
  for (int k = 0; k < 4; ++k) bytes[at + static_cast<size_t>(k)] = static_cast<char>(value >> (8 * k));
  return bytes;
}

std::string withByte(std::string bytes, size_t at, uint8_t value) {
  bytes[at] = static_cast<char>(value);
  return bytes;
}

// Positions in the golden file (180 bytes): header 0..43, name record 44..58,
// images 59..71 (A at 59, the filler of B at 65, C at 66), metrics table
// 72..167 (A, B, C), image offset table 168..179.
constexpr size_t kFlags = 2, kLargestWidth = 4, kImagePos = 12, kMetricPos = 20;
constexpr size_t kCount = 40;
constexpr size_t kRecordA = 72, kRecordC = 136;
constexpr size_t kOffsetA = 168, kOffsetC = 176;

TEST(InspectCheck, GoldenFileIsSound) {
  const std::string bytes = golden();
  ASSERT_EQ(bytes.size(), 180u);
  std::string report;
  EXPECT_EQ(vbtdump::checkVbt(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &report), 0);
  EXPECT_EQ(report, "ok\n");
}

TEST(InspectCheck, ShortFileAndWrongMagicStopTheCheck) {
  EXPECT_EQ(check(""), "file has 0 bytes, fewer than the 44 of a header\n");
  EXPECT_EQ(check(golden().substr(0, 43)), "file has 43 bytes, fewer than the 44 of a header\n");
  EXPECT_EQ(check(with16(golden(), 0, 0x3256)),
            "bad magic 0x3256, not 0x5632 ('2V'): not a VBT2 file\n");
  EXPECT_EQ(check(std::string(200, '\0')), "bad magic 0x0000, not 0x5632 ('2V'): not a VBT2 file\n");
}

TEST(InspectCheck, MetricsTablePositionOutOfBounds) {
  EXPECT_EQ(check(with32(golden(), kMetricPos, 1000)),
            "metrics table at 1000, 96 bytes, does not fit in the file of 180 bytes\n");
  EXPECT_EQ(check(with32(golden(), kMetricPos, 85)),
            "metrics table at 85, 96 bytes, does not fit in the file of 180 bytes\n");
  EXPECT_EQ(check(with32(golden(), kMetricPos, 0xFFFFFFFF)),
            "metrics table at -1, 96 bytes, does not fit in the file of 180 bytes\n");
  EXPECT_EQ(check(with32(golden(), kMetricPos, 50)),
            "metrics table at 50 begins before the end of the name record at 59\n");
}

TEST(InspectCheck, ImageOffsetTablePositionOutOfBounds) {
  EXPECT_EQ(check(with32(golden(), kImagePos, 1000)),
            "image offset table at 1000, 12 bytes, does not fit in the file of 180 bytes\n");
  EXPECT_EQ(check(with32(golden(), kImagePos, 0x80000000)),
            "image offset table at -2147483648, 12 bytes, does not fit in the file of 180 bytes\n");
  EXPECT_EQ(check(with32(golden(), kImagePos, 160)),
            "image offset table at 160 begins before the end of the metrics table at 168\n");
  EXPECT_EQ(check(with32(golden(), kImagePos, 100)),
            "image offset table at 100 begins before the end of the metrics table at 168\n");
}

TEST(InspectCheck, NumberOfCodesOutOfBounds) {
  EXPECT_EQ(check(with32(golden(), kCount, 4)),
            "metrics table at 72, 128 bytes, does not fit in the file of 180 bytes\n"
            "image offset table at 168, 16 bytes, does not fit in the file of 180 bytes\n");
  EXPECT_EQ(check(with32(golden(), kCount, 0x7FFFFFFF)),
            "metrics table at 72, 68719476704 bytes, does not fit in the file of 180 bytes\n"
            "image offset table at 168, 8589934588 bytes, does not fit in the file of 180 bytes\n");
  EXPECT_EQ(check(with32(golden(), kCount, 2)),
            "4 bytes follow the image offset table, which should end the file\n");
  EXPECT_EQ(check(with32(golden(), kCount, 0xFFFFFFFF)),
            "number of codes -1 is negative\n"
            "12 bytes follow the image offset table, which should end the file\n"
            "flag 0x1000 (fixed width) is missing, but the range of codes is empty\n");
}

TEST(InspectCheck, TruncatedAtEveryTableBoundary) {
  const std::string bytes = golden();
  EXPECT_EQ(check(bytes.substr(0, 44)),
            "name record at 44 is not terminated by a zero byte\n"
            "metrics table at 72, 96 bytes, does not fit in the file of 44 bytes\n"
            "image offset table at 168, 12 bytes, does not fit in the file of 44 bytes\n");
  EXPECT_EQ(check(bytes.substr(0, 59)),
            "metrics table at 72, 96 bytes, does not fit in the file of 59 bytes\n"
            "image offset table at 168, 12 bytes, does not fit in the file of 59 bytes\n");
  EXPECT_EQ(check(bytes.substr(0, 72)),
            "metrics table at 72, 96 bytes, does not fit in the file of 72 bytes\n"
            "image offset table at 168, 12 bytes, does not fit in the file of 72 bytes\n");
  EXPECT_EQ(check(bytes.substr(0, 168)),
            "image offset table at 168, 12 bytes, does not fit in the file of 168 bytes\n");
  EXPECT_EQ(check(bytes.substr(0, 179)),
            "image offset table at 168, 12 bytes, does not fit in the file of 179 bytes\n");
  EXPECT_EQ(check(bytes + std::string(1, '\0')),
            "1 byte follows the image offset table, which should end the file\n");
}

TEST(InspectCheck, EveryTruncationIsReported) {
  const std::string bytes = golden();
  for (size_t size = 0; size < bytes.size(); ++size) {
    EXPECT_NE(check(bytes.substr(0, size)), "ok\n") << "truncated to " << size << " bytes";
  }
}

TEST(InspectCheck, NameRecordWithoutTerminatorOrComma) {
  EXPECT_EQ(check(golden().substr(0, 58)),
            "name record at 44 is not terminated by a zero byte\n"
            "metrics table at 72, 96 bytes, does not fit in the file of 58 bytes\n"
            "image offset table at 168, 12 bytes, does not fit in the file of 58 bytes\n");
  // Without its zero byte the name record runs on to the filler of B at 65.
  EXPECT_EQ(check(withByte(golden(), 58, 'x')),
            "code 0x0041: image offset 59 lies outside the image area, bytes 66..71\n"
            "code 0x0042: image offset 65 lies outside the image area, bytes 66..71\n");
  EXPECT_EQ(check(withByte(golden(), 48, '_')),
            "name record has no ',' between font name and file name\n");
}

TEST(InspectCheck, NegativeWidthOrHeight) {
  EXPECT_EQ(check(with16(golden(), kRecordA, static_cast<uint16_t>(-5))),
            "code 0x0041: negative width -5\n");
  EXPECT_EQ(check(with16(golden(), kRecordC + 2, static_cast<uint16_t>(-1))),
            "code 0x0043: negative height -1\n");
}

TEST(InspectCheck, ImageOffsetOutsideTheImageArea) {
  EXPECT_EQ(check(with32(golden(), kOffsetA, 200)),
            "code 0x0041: image offset 200 lies outside the image area, bytes 59..71\n");
  EXPECT_EQ(check(with32(golden(), kOffsetA, 50)),
            "code 0x0041: image offset 50 lies outside the image area, bytes 59..71\n");
  EXPECT_EQ(check(with32(golden(), kOffsetA, 0xFFFFFFFF)),
            "code 0x0041: image offset 4294967295 lies outside the image area, bytes 59..71\n");
}

TEST(InspectCheck, ImageOverrunningTheMetricsTable) {
  EXPECT_EQ(check(with32(golden(), kOffsetC, 70)),
            "code 0x0043: image of 6 bytes at 70 runs into the metrics table at 72\n");
  EXPECT_EQ(check(with16(golden(), kRecordA + 2, 20)),
            "code 0x0041: image of 20 bytes at 59 runs into the metrics table at 72\n");
  EXPECT_EQ(check(with16(golden(), kRecordA, 32767)),
            "code 0x0041: image of 24576 bytes at 59 runs into the metrics table at 72\n");
}

TEST(InspectCheck, HeaderFlagsAndReservedBytes) {
  EXPECT_EQ(check(with16(golden(), kFlags, 0)),
            "unknown flags 0x0000, expected 0x0800 or 0x1800\n");
  EXPECT_EQ(check(with16(golden(), kFlags, 0x1800)),
            "flag 0x1000 (fixed width) is set, but code 0x0041 has advance 6 and code 0x0042 0\n");
  EXPECT_EQ(check(withByte(golden(), 16, 1)), "reserved header bytes 16..19 are not zero\n");
  EXPECT_EQ(check(withByte(golden(), 31, 1)), "reserved header bytes 24..31 are not zero\n");
  EXPECT_EQ(check(withByte(golden(), kRecordA + 16, 1)),
            "code 0x0041: reserved bytes of the metrics record are not zero\n");
}

TEST(InspectCheck, GlyphsBeyondTheirWidthOrTheHeaderMaxima) {
  EXPECT_EQ(check(withByte(golden(), 59, 0x21)),
            "code 0x0041: image has pixels beyond its width of 5\n");
  EXPECT_EQ(check(with16(golden(), kLargestWidth, 4)),
            "code 0x0041: width 5 exceeds the largest glyph width 4 of the header\n"
            "code 0x0043: width 5 exceeds the largest glyph width 4 of the header\n");
  EXPECT_EQ(check(with16(golden(), kLargestWidth + 2, 4)),
            "code 0x0041: height 6 exceeds the largest glyph height 5 of the header\n"
            "code 0x0043: height 6 exceeds the largest glyph height 5 of the header\n");
}

TEST(InspectCheck, AnyChangeToMagicTablePositionsCountOrOffsetsIsReported) {
  const std::string bytes = golden();
  std::vector<size_t> positions = {0, 1};
  for (size_t at = kImagePos; at < kImagePos + 4; ++at) positions.push_back(at);
  for (size_t at = kMetricPos; at < kMetricPos + 4; ++at) positions.push_back(at);
  for (size_t at = kCount; at < kCount + 4; ++at) positions.push_back(at);
  for (size_t at = kOffsetA; at < bytes.size(); ++at) positions.push_back(at);
  for (size_t at : positions) {
    for (int value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
      if (static_cast<uint8_t>(bytes[at]) == value) continue;
      // An exact copy, so that nothing lies after the damaged file.
      const std::string damaged = withByte(bytes, at, static_cast<uint8_t>(value));
      std::vector<uint8_t> exact(damaged.begin(), damaged.end());
      EXPECT_GT(vbtdump::checkVbt(exact.data(), exact.size(), nullptr), 0)
          << "byte " << at << " = " << value;
    }
  }
}

}  // namespace
