// The verbose output of a conversion: each glyph's traces and pixel dumps
// come in a fixed order in both passes, between the other messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "font_layout_support.h"
#include "test_support.h"

namespace {

const std::string kHeaderTraces =
    "FONTNAME=test\npsize=8.000000 resx=75 resy=75\nwidth=8 height=8 delta_x=0 delta_y=-2\n";

std::string traces(const std::string& name, const std::string& code, int dwidth,
                   const std::string& bbx) {
  return "character name " + name + " number " + code + "\nSWIDTH 500 0\nDWIDTH " +
         std::to_string(dwidth) + " 0\nBBX metrics: " + bbx + "\n";
}

void verbose(ConversionState& st) { st.verbose = 1; }

TEST(VerboseOutput, EachPassShowsTracesThenDumpsWithTheWarningBeforeTheConvertedDump) {
  Conversion r = convertBdf(bdfFont({bdfGlyph("F", "70", 8, "8 1 0 0", {"F0"}),
                                     bdfGlyph("A", "65", 8, "8 1 0 0", {"0F"})}),
                            verbose);
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.err, "");
  const std::string f = traces("F", "70", 8, "8 1 0 0");
  const std::string a = traces("A", "65", 8, "8 1 0 0");
  const std::string f_dump = "\n 0:****    \n";
  const std::string a_dump = "\n 0:    ****\n";
  EXPECT_EQ(r.out, kHeaderTraces + "encoding 2 characters\n" +
                       // metrics pass
                       f + f_dump + a + a_dump +
                       // image pass
                       f + f_dump + f_dump + a + a_dump +
                       "bdf file has characters out of sequence, char 65 prev 71\n" + a_dump);
}

TEST(VerboseOutput, SourceDumpShowsTheRowsReadAndConvertedDumpTheImage) {
  // A: 10 wide, a third row beyond its height. B: height 0, one row read.
  // C: no row read.
  Conversion r = convertBdf(bdfFont({bdfGlyph("A", "65", 11, "10 2 0 0", {"FFFF", "FFFF", "8000"}),
                                     bdfGlyph("B", "66", 11, "8 0 0 0", {"FF"}),
                                     bdfGlyph("C", "67", 11, "8 2 0 0", {})}),
                            verbose);
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.err, "");
  const std::string a = traces("A", "65", 11, "10 2 0 0") +
                        "\n 0:****************\n 1:****************\n 2:*               \n";
  const std::string b = traces("B", "66", 11, "8 0 0 0") + "\n 0:********\n";
  const std::string c = traces("C", "67", 11, "8 2 0 0") + "\n";
  EXPECT_EQ(r.out, kHeaderTraces + "encoding 3 characters\n" + a + b + c +
                       a + "\n 0:**********      \n 1:**********      \n" +
                       b + "\n" +
                       c + "\n 0:        \n 1:        \n");
}

TEST(VerboseOutput, GlyphsWithoutTableSlotShowNoConvertedDump) {
  for (const std::string code : {"70000", "-1"}) {
    SCOPED_TRACE(code);
    Conversion r = convertBdf(bdfFont({bdfGlyph("A", "65", 3, "2 2 0 0", {"80", "40"}),
                                       bdfGlyph("X", code, 8, "8 1 0 0", {"FF"})}),
                              verbose);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.err, "");
    const std::string a = traces("A", "65", 3, "2 2 0 0") + "\n 0:*       \n 1: *      \n";
    const std::string x = traces("X", code, 8, "8 1 0 0") + "\n 0:********\n";
    EXPECT_EQ(r.out, kHeaderTraces + "encoding 2 characters\n" + a + x +
                         a + "\n 0:*       \n 1: *      \n" + x);
  }
}

TEST(VerboseOutput, GlyphsOutsideTheBoundsAreConvertedAndShownButNotWritten) {
  Conversion r = convertBdf(bdfFont({bdfGlyph("A", "65", 8, "8 1 0 0", {"81"}),
                                     bdfGlyph("F", "70", 8, "6 1 0 0", {"FF"})}),
                            [](ConversionState& st) {
                              st.verbose = 1;
                              st.ForceMaxChar = 66;
                            });
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.err, "");
  const std::string a = traces("A", "65", 8, "8 1 0 0") + "\n 0:*      *\n";
  const std::string f = traces("F", "70", 8, "6 1 0 0") + "\n 0:********\n";
  EXPECT_EQ(r.out, kHeaderTraces + "encoding 2 characters\n" + a + f +
                       a + "\n 0:*      *\n" + f + "\n 0:******  \n");
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 8;
  e.first_code = 65;
  e.code_count = 1;
  e.images = {0x81};
  e.metrics = {{8, 1, 1, 0, 8, true}};
  e.offsets = {imageStart()};
  expectFont(r.bytes, e);
}

TEST(VerboseOutput, EachLineIsTracedBeforeItIsChecked) {
  struct Case {
    std::string from, to;   // a line of the good record and its replacement
    std::string traced;     // record traces printed before the error
    std::string err;
  };
  const std::string name = "character name A number 65\n";
  for (const Case& c : std::vector<Case>{
           {"ENCODING 65", "ENCODING -2", "", "bad ENCODING value"},
           {"SWIDTH 500 0", "SWIDTH 500 10", name + "SWIDTH 500 10\n",
            "SWIDTH y value must be zero\n"},
           {"DWIDTH 6 0", "DWIDTH 6 1", name + "SWIDTH 500 0\nDWIDTH 6 1\n",
            "DWIDTH y value must be zero\n"},
           {"BBX 5 2 0 0", "BBX -1 2 0 0", name + "SWIDTH 500 0\nDWIDTH 6 0\nBBX metrics: -1 2 0 0\n",
            "character 'A' has a negative sized bitmap, -1x2\n"},
           {"BBX 5 2 0 0", "BBX 40000 1 0 0",
            name + "SWIDTH 500 0\nDWIDTH 6 0\nBBX metrics: 40000 1 0 0\n",
            "character 'A' has a bitmap too large, 40000x1\n"},
           {"BITMAP", "BITMA", name + "SWIDTH 500 0\nDWIDTH 6 0\nBBX metrics: 5 2 0 0\n",
            "missing 'BITMAP'\n"}}) {
    SCOPED_TRACE(c.to);
    std::string record = bdfGlyph("A", "65", 6, "5 2 0 0", {"F8", "88"});
    record.replace(record.find(c.from), c.from.size(), c.to);
    Conversion r = convertBdf(bdfFont({record}), verbose);
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.out, kHeaderTraces + "encoding 1 characters\n" + c.traced);
    EXPECT_EQ(r.err, "BDF Error: " + c.err);
  }
}

TEST(VerboseOutput, SourceDumpStopsAtTheBitmapCapacity) {
  // 2049 rows of 32 bytes: the last one lies past the 65536-byte bitmap.
  std::vector<std::string> rows(2049, std::string(64, '0'));
  Conversion r = convertBdf(bdfFont({bdfGlyph("big", "65", 256, "256 2048 0 0", rows)}), verbose);
  EXPECT_TRUE(r.completed);
  EXPECT_EQ(r.err, "");
  const std::string blank_row(256, ' ');
  size_t last_rows = 0;
  for (size_t at = r.out.find("\n2047:" + blank_row + "\n"); at != std::string::npos;
       at = r.out.find("\n2047:" + blank_row + "\n", at + 1)) {
    ++last_rows;
  }
  EXPECT_EQ(last_rows, 3u);   // two source dumps and the converted one
  EXPECT_EQ(r.out.find("\n2048:"), std::string::npos);
}

}  // namespace
