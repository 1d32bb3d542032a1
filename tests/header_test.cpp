// The first reader stage: STARTFONT, FONT, SIZE, FONTBOUNDINGBOX and the
// name record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bdf/header.h"
#include "stage_support.h"
#include "test_support.h"
#include "vbt_reader.h"

namespace {

using namespace std::string_literals;

StageRun runHeader(ConversionState& st, const std::string& bdf) {
  return runStage(st, bdf, bdfReadHeader);
}

StageRun runHeader(const std::string& bdf) {
  auto st = newState();
  st->vbtname = "cour12b.vbt";
  return runHeader(*st, bdf);
}

const std::string kFooRecord = "Foo,cour12b.vbt\0"s;

struct HeaderCase {
  std::string bdf;
  std::string err;         // "" for a header that is read whole
  std::string written;     // the name record, or nothing
  std::string next_line;
};

void expectHeaderCases(const std::vector<HeaderCase>& cases) {
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE("input:\n" + c.bdf);
    const StageRun run = runHeader(c.bdf);
    EXPECT_EQ(run.result, c.err.empty() ? 1 : 0);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.written, c.written);
    EXPECT_EQ(run.next_line, c.next_line);
  }
}

const std::string kSize = "SIZE 12 75 75\n";
const std::string kBox = "FONTBOUNDINGBOX 8 16 0 -2\n";
const std::string kAfter = "STARTPROPERTIES 0\n";

TEST(Header, ReadsTheFourLinesAndWritesTheNameRecord) {
  expectHeaderCases({
      {"STARTFONT 2.1\nFONT Foo\n" + kSize + kBox + kAfter, "", kFooRecord, "STARTPROPERTIES 0"},
      // Blank and COMMENT lines may stand between them.
      {"\nCOMMENT a\nSTARTFONT 2.1\n\nCOMMENT b\nFONT Foo\r\nCOMMENTS\n" + kSize + "\n" + kBox +
           kAfter,
       "", kFooRecord, "STARTPROPERTIES 0"},
      // The version is the first word after the keyword and its blanks.
      {"STARTFONT\t 2.1 and more\nFONT Foo\n" + kSize + kBox + kAfter, "", kFooRecord,
       "STARTPROPERTIES 0"},
      {"STARTFONT2.1\nFONT Foo\n" + kSize + kBox + kAfter, "", kFooRecord, "STARTPROPERTIES 0"},
      {"STARTFONT 2.1\nFONT Foo\nSIZE 12 75 75 junk\nFONTBOUNDINGBOX 8 16 0 -2junk\n", "",
       kFooRecord, kEndOfInput},
  });
}

TEST(Header, ReportsABadStartfontLine) {
  const std::string rest = "FONT Foo\n" + kSize + kBox;
  const std::string bad = "BDF Error: bad 'STARTFONT'\n";
  expectHeaderCases({
      {"STARTFONT 2.2\n" + rest, bad, "", "FONT Foo"},
      {"STARTFONT 2.1x\n" + rest, bad, "", "FONT Foo"},
      {"STARTFONT 2.10\n" + rest, bad, "", "FONT Foo"},
      {"STARTFONT\n" + rest, bad, "", "FONT Foo"},
      {"STARTFONT \t\n" + rest, bad, "", "FONT Foo"},
      {" STARTFONT 2.1\n" + rest, bad, "", "FONT Foo"},
      {"startfont 2.1\n" + rest, bad, "", "FONT Foo"},
      {"FONT Foo\n" + kSize, bad, "", "SIZE 12 75 75"},
      {"", bad, "", kEndOfInput},
      {"COMMENT only\n\n", bad, "", kEndOfInput},
      // The last line without its line feed is never seen.
      {"STARTFONT 2.1", bad, "", kEndOfInput},
  });
}

TEST(Header, ReportsABadFontLine) {
  const std::string bad = "BDF Error: bad 'FONT'\n";
  expectHeaderCases({
      {"STARTFONT 2.1\n", bad, "", kEndOfInput},
      {"STARTFONT 2.1\nFONT\n" + kSize, bad, "", "SIZE 12 75 75"},
      {"STARTFONT 2.1\nFONT \t \n" + kSize, bad, "", "SIZE 12 75 75"},
      {"STARTFONT 2.1\n FONT Foo\n" + kSize, bad, "", "SIZE 12 75 75"},
      {"STARTFONT 2.1\n" + kSize + kBox, bad, "", "FONTBOUNDINGBOX 8 16 0 -2"},
      // Only blank and COMMENT lines may come between the header lines.
      {"STARTFONT 2.1\nCONTENTVERSION 1\nFONT Foo\n" + kSize, bad, "", "FONT Foo"},
  });
}

TEST(Header, ReportsAMissingOrBadSizeLine) {
  const std::string head = "STARTFONT 2.1\nFONT Foo\n";
  const std::string missing = "BDF Error: missing 'SIZE'\n";
  const std::string bad = "BDF Error: bad 'SIZE'\n";
  expectHeaderCases({
      {head, missing, kFooRecord, kEndOfInput},
      {head + "CONTENTVERSION 1\n" + kSize + kBox, missing, kFooRecord, "SIZE 12 75 75"},
      {head + " SIZE 12 75 75\n" + kBox, missing, kFooRecord, "FONTBOUNDINGBOX 8 16 0 -2"},
      {head + kBox + kAfter, missing, kFooRecord, "STARTPROPERTIES 0"},
      {head + "SIZE 12 75\n" + kBox, bad, kFooRecord, "FONTBOUNDINGBOX 8 16 0 -2"},
      {head + "SIZEX 12 75 75\n" + kBox, bad, kFooRecord, "FONTBOUNDINGBOX 8 16 0 -2"},
      {head + "SIZE\n" + kBox, bad, kFooRecord, "FONTBOUNDINGBOX 8 16 0 -2"},
      {head + "SIZE . 75 75\n" + kBox, bad, kFooRecord, "FONTBOUNDINGBOX 8 16 0 -2"},
      {head + "SIZE 12 75 x\n" + kBox, bad, kFooRecord, "FONTBOUNDINGBOX 8 16 0 -2"},
  });
}

TEST(Header, ReportsAMissingOrBadFontBoundingBoxLine) {
  const std::string head = "STARTFONT 2.1\nFONT Foo\n" + kSize;
  const std::string missing = "BDF Error: missing 'FONTBOUNDINGBOX'\n";
  const std::string bad = "BDF Error: bad 'FONTBOUNDINGBOX'\n";
  expectHeaderCases({
      {head, missing, kFooRecord, kEndOfInput},
      {head + "METRICSSET 0\n" + kBox, missing, kFooRecord, "FONTBOUNDINGBOX 8 16 0 -2"},
      {head + kAfter, missing, kFooRecord, kEndOfInput},
      {head + "FONTBOUNDINGBOX 8 16 x\n" + kAfter, bad, kFooRecord, "STARTPROPERTIES 0"},
      {head + "FONTBOUNDINGBOX 8 16 0\n" + kAfter, bad, kFooRecord, "STARTPROPERTIES 0"},
      {head + "FONTBOUNDINGBOX\n" + kAfter, bad, kFooRecord, "STARTPROPERTIES 0"},
      {head + "FONTBOUNDINGBOXES 8 16 0 -2\n" + kAfter, bad, kFooRecord, "STARTPROPERTIES 0"},
  });
}

TEST(Header, SizeNumbersAreThoseOfTheCLibrary) {
  const std::vector<std::pair<std::string, float>> sizes = {
      {"SIZE 12 75 75", 12.0f}, {"SIZE 12.5 75 75", 12.5f}, {"SIZE 1e 75 75", 1.0f},
      {"SIZE 0x1p 75 75", 1.0f}, {"SIZE\t.5\t75\t75", 0.5f}, {"SIZE 1e1 75 75", 10.0f},
  };
  for (const auto& [line, point_size] : sizes) {
    SCOPED_TRACE(line);
    auto st = newState();
    st->vbtname = "cour12b.vbt";
    const StageRun run = runHeader(*st, "STARTFONT 2.1\nFONT Foo\n" + line + "\n" + kBox);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(st->pointSize, point_size);
    EXPECT_EQ(st->resolution_x, 75);
    EXPECT_EQ(st->resolution_y, 75);
  }
}

struct HeaderValues {
  float pointSize;
  int32_t resolution_x, resolution_y;
  int32_t bound_width, bound_height, bound_disp_x, bound_disp_y;
  bool operator==(const HeaderValues&) const = default;
};

HeaderValues valuesOf(const ConversionState& st) {
  return {st.pointSize,   st.resolution_x, st.resolution_y, st.bound_width,
          st.bound_height, st.bound_disp_x, st.bound_disp_y};
}

void PrintTo(const HeaderValues& v, std::ostream* os) {
  *os << "{" << v.pointSize << ", " << v.resolution_x << ", " << v.resolution_y << ", "
      << v.bound_width << ", " << v.bound_height << ", " << v.bound_disp_x << ", "
      << v.bound_disp_y << "}";
}

TEST(Header, KeepsTheValuesScannedBeforeAMismatch) {
  const HeaderValues before{-1.0f, -2, -3, -4, -5, -6, -7};
  const std::string head = "STARTFONT 2.1\nFONT Foo\n";
  const std::vector<std::pair<std::string, HeaderValues>> cases = {
      {head + kSize + kBox, {12.0f, 75, 75, 8, 16, 0, -2}},
      {head + kSize + "FONTBOUNDINGBOX 8 16 x\n", {12.0f, 75, 75, 8, 16, -6, -7}},
      {head + kSize + "FONTBOUNDINGBOX 9\n", {12.0f, 75, 75, 9, -5, -6, -7}},
      {head + kSize + "FONTBOUNDINGBOX 1 2 3 -\n", {12.0f, 75, 75, 1, 2, 3, -7}},
      {head + "SIZE 12.5 75 x\n" + kBox, {12.5f, 75, -3, -4, -5, -6, -7}},
      {head + "SIZE 10\n" + kBox, {10.0f, -2, -3, -4, -5, -6, -7}},
      {head + "SIZEX 10 20 30\n" + kBox, before},
      {"STARTFONT 2.2\nFONT Foo\n" + kSize + kBox, before},
      {head + kSize + "FONTBOUNDINGBOX 4294967304 2147483648 -4294967297 9223372036854775808\n",
       {12.0f, 75, 75, 8, INT32_MIN, -1, -1}},
  };
  for (const auto& [bdf, values] : cases) {
    SCOPED_TRACE("input:\n" + bdf);
    auto st = newState();
    st->vbtname = "cour12b.vbt";
    st->pointSize = before.pointSize;
    st->resolution_x = before.resolution_x;
    st->resolution_y = before.resolution_y;
    st->bound_width = before.bound_width;
    st->bound_height = before.bound_height;
    st->bound_disp_x = before.bound_disp_x;
    st->bound_disp_y = before.bound_disp_y;
    runHeader(*st, bdf);
    EXPECT_EQ(valuesOf(*st), values);
  }
}

TEST(Header, FontNameIsTheWholeRestOfTheLine) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"FONT -Misc-Fixed-Medium-R-Normal--6-60-75-75-C-40-ISO10646-1",
       "-Misc-Fixed-Medium-R-Normal--6-60-75-75-C-40-ISO10646-1"},
      {"FONT Foo Bar  Baz", "Foo Bar  Baz"},
      {"FONT \t  Foo Bar", "Foo Bar"},
      {"FONT Foo Bar \t ", "Foo Bar \t "},
      {"FONT \"quoted name\"", "\"quoted name\""},
      // The keyword is a prefix: what follows it directly is the name.
      {"FONTX y", "X y"},
      {"FONT_NAME x", "_NAME x"},
  };
  for (const auto& [line, name] : cases) {
    SCOPED_TRACE(line);
    auto st = newState();
    st->vbtname = "cour12b.vbt";
    const StageRun run = runHeader(*st, "STARTFONT 2.1\r\n" + line + "\r\n" + kSize + kBox);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(std::string(st->fontname), name);
    EXPECT_EQ(run.written, name + ",cour12b.vbt\0"s);
  }
}

TEST(Header, NameRecordFollowsThePlaceholderAndPrecedesTheFirstImage) {
  const Conversion c = convertBdf(
      bdfFont({bdfGlyph("A", "65", 6, "5 7 0 0", {"F8", "88", "88", "F8", "88", "88", "88"})},
              "8 8 0 -2", "Foo"),
      {}, "cour12b.vbt");
  ASSERT_TRUE(c.completed);
  EXPECT_EQ(c.err, "");
  ASSERT_GE(c.bytes.size(), 60u);
  EXPECT_EQ(std::string(c.bytes.begin() + 44, c.bytes.begin() + 60), kFooRecord);
  auto file = VbtFile::parse(c.bytes);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->font_name, "Foo");
  EXPECT_EQ(file->file_name, "cour12b.vbt");
  EXPECT_EQ(file->offsets, (std::vector<uint32_t>{60}));
}

TEST(Header, VerboseTracesShowTheValuesRead) {
  auto st = newState();
  st->vbtname = "cour12b.vbt";
  st->verbose = 1;
  EXPECT_EQ(runHeader(*st, "STARTFONT 2.1\nFONT Foo bar\nSIZE 12.5 75 100\n"
                           "FONTBOUNDINGBOX 8 16 -1 -2\n").out,
            "FONTNAME=Foo bar\npsize=12.500000 resx=75 resy=100\n"
            "width=8 height=16 delta_x=-1 delta_y=-2\n");
  // A stage that stops early shows what it read up to there.
  EXPECT_EQ(runHeader(*st, "STARTFONT 2.1\nFONT Foo\nSIZE 12\n").out, "FONTNAME=Foo\n");
  EXPECT_EQ(runHeader(*st, "STARTFONT 2.1\nFONT Foo\nSIZE 12 75 75\nFONTBOUNDINGBOX 1\n").out,
            "FONTNAME=Foo\npsize=12.000000 resx=75 resy=75\n");
  EXPECT_EQ(runHeader(*st, "STARTFONT 2.1\nFONT\n").out, "");
}

TEST(Header, BoxOfAPartlyScannedLineReachesTheFile) {
  const std::string glyph = bdfGlyph("A", "65", 6, "5 7 0 0", {"F8", "88", "88", "F8", "88", "88", "88"});
  auto st = newState();
  const Conversion first = convertBdfWith(*st, bdfFont({glyph}, "8 16 0 -2"));
  ASSERT_TRUE(first.completed);
  // The second file's box line holds only its width: the height stays the
  // first file's.
  const Conversion second = convertBdfWith(*st, bdfFont({glyph}, "5 x"));
  ASSERT_TRUE(second.completed);
  EXPECT_EQ(second.err, "BDF Error: bad 'FONTBOUNDINGBOX'\n");
  auto file = VbtFile::parse(second.bytes);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->box_width, 5);
  EXPECT_EQ(file->box_height, 16);

  const Conversion fresh = convertBdf(bdfFont({glyph}, "8 12 x"));
  ASSERT_TRUE(fresh.completed);
  EXPECT_EQ(fresh.err, "BDF Error: bad 'FONTBOUNDINGBOX'\n");
  file = VbtFile::parse(fresh.bytes);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->box_width, 8);
  EXPECT_EQ(file->box_height, 12);
}

}  // namespace
