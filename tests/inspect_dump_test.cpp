// vbtdump FILE.vbt: the header in words, the name record and the summary.
#include <gtest/gtest.h>

#include "inspect/summary.h"
#include "inspect/vbt_file.h"
#include "test_support.h"

namespace {

std::string golden() { return readFile(testDataDir() + "/golden/test8.vbt"); }

TEST(InspectDump, GoldenFileHeaderAndSummaryInFull) {
  TempDir dir;
  writeFile(dir.file("test8.vbt"), golden());
  RunResult run = runVbtdump({"test8.vbt"}, dir.path());
  EXPECT_EQ(run, (RunResult{0,
                            "File:               test8.vbt, 180 bytes\n"
                            "Magic:              0x5632 ('2V')\n"
                            "Flags:              0x0800 (proportional: the advances differ)\n"
                            "Largest glyph:      5 x 6 pixels (height field 5)\n"
                            "Font box:           8 x 8 pixels\n"
                            "Underline row:      7\n"
                            "Baseline row:       5 (6 rows above the baseline)\n"
                            "Codes:              3, from 0x0041 to 0x0043\n"
                            "Metrics table:      at 72, 3 records of 32 bytes\n"
                            "Offset table:       at 168, 3 entries of 4 bytes\n"
                            "Font name:          test\n"
                            "File name:          test8.vbt\n"
                            "Codes with images:  2\n"
                            "One-byte fillers:   1\n"
                            "Image area:         59..71, 13 bytes\n",
                            ""}));
}

TEST(InspectDump, FixedWidthFontWithShiftedCodes) {
  // Two glyphs of advance 6 converted with -A 0xF000.
  const std::string bdf = bdfFont({bdfGlyph("A", "65", 6, "5 6 0 0", {"20", "50", "88", "F8", "88", "88"}),
                                   bdfGlyph("B", "66", 6, "5 6 0 0", {"F0", "88", "F0", "88", "88", "F0"})});
  Conversion c = convertBdf(bdf, [](ConversionState& st) { st.ForceAsciiOffset = 0xF000; });
  ASSERT_TRUE(c.completed);
  const vbtdump::VbtFile file(c.bytes.data(), c.bytes.size());
  EXPECT_EQ(vbtdump::describeHeader(file, "x.vbt"),
            "File:               x.vbt, 142 bytes\n"
            "Magic:              0x5632 ('2V')\n"
            "Flags:              0x1800 (fixed width: every code has the same advance)\n"
            "Largest glyph:      5 x 6 pixels (height field 5)\n"
            "Font box:           8 x 8 pixels\n"
            "Underline row:      7\n"
            "Baseline row:       5 (6 rows above the baseline)\n"
            "Codes:              2, from 0xF041 to 0xF042\n"
            "Metrics table:      at 70, 2 records of 32 bytes\n"
            "Offset table:       at 134, 2 entries of 4 bytes\n");
  EXPECT_EQ(vbtdump::describeContents(file),
            "Font name:          test\n"
            "File name:          test.vbt\n"
            "Codes with images:  2\n"
            "One-byte fillers:   0\n"
            "Image area:         58..69, 12 bytes\n");
}

TEST(InspectDump, EmptyRangeIsShownAsNoCodes) {
  // The only glyph has advance 0, so no code qualifies for the range.
  const std::string bdf = bdfFont({bdfGlyph("mark", "65", 0, "2 2 0 0", {"C0", "C0"})});
  Conversion c = convertBdf(bdf);
  ASSERT_TRUE(c.completed);
  const vbtdump::VbtFile file(c.bytes.data(), c.bytes.size());
  const std::string header = vbtdump::describeHeader(file, "e.vbt");
  EXPECT_NE(header.find("Codes:              none (count -65535, first code 65536)\n"), std::string::npos)
      << header;
}

TEST(InspectDump, InvalidFileShowsItsHeaderThenFails) {
  TempDir dir;
  std::string bytes = golden();
  bytes[20] = 0x7F;   // metrics table far beyond the end
  writeFile(dir.file("bad.vbt"), bytes);
  RunResult run = runVbtdump({"bad.vbt"}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("Metrics table:      at 127, 3 records of 32 bytes\n"), std::string::npos);
  EXPECT_EQ(run.out.find("Font name:"), std::string::npos);
  EXPECT_EQ(run.err, "vbtdump: bad.vbt: invalid VBT2 file: metrics table at 127, 96 bytes, does not fit in the file of 180 bytes\n");
}

}  // namespace
