// The device reader draws every code of each sample font as its BDF draws
// it, through both ways of reaching the bytes.
#include <gtest/gtest.h>

#include "differential.h"
#include "vbt_reader.h"

namespace {

std::string sampleFont(const std::string& name) { return readWholeFile(BDF2VBT_SOURCE_DIR "/examples/" + name); }

std::string listed(const ReaderDifferential& result) {
  std::string text;
  for (const std::string& sentence : result.listed) text += sentence + "\n";
  return text;
}

TEST(ReaderDifferential, SampleFontsDrawAsTheirBdfWithAndWithoutFixedWidth) {
  for (const char* name : {"4x6.bdf", "5x7.bdf", "6x13.bdf", "9x15B.bdf"}) {
    const std::string bdf = sampleFont(name);
    for (bool fixed_width : {false, true}) {
      SCOPED_TRACE(std::string(name) + (fixed_width ? " -w" : ""));
      const std::optional<std::vector<uint8_t>> file = convertForReader(bdf, fixed_width);
      ASSERT_TRUE(file);
      const ReaderDifferential result = checkReaderDraws(bdf, *file, fixed_width);
      EXPECT_EQ(result.wrong, 0) << listed(result);
      EXPECT_GT(result.glyphs, 900);
      EXPECT_GT(result.empty_codes, 0);
    }
  }
}

// The check itself: one pixel of 'A' changed in the file is found, both ways.
TEST(ReaderDifferential, FindsOnePixelChanged) {
  const std::string bdf = sampleFont("4x6.bdf");
  std::vector<uint8_t> file = *convertForReader(bdf, false);
  vbt_font font;
  vbt_glyph a;
  ASSERT_EQ(vbt_open_memory(&font, file.data(), static_cast<uint32_t>(file.size())), VBT_OK);
  ASSERT_EQ(vbt_lookup(&font, 'A', &a), VBT_OK);
  file[a.image + 1] ^= 0x80;
  const ReaderDifferential result = checkReaderDraws(bdf, file, false);
  EXPECT_EQ(result.wrong, 2);
  EXPECT_EQ(listed(result),
            "code 0x0041 in memory: drawn unlike the font's glyph\n"
            "code 0x0041 through the callback: drawn unlike the font's glyph\n");
}

}  // namespace
