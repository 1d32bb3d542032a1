// The glyph section as a whole: the CHARS line, where the records end, lines
// between them, inputs that end early, and what the program leaves behind
// and returns in each case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "font_layout_support.h"
#include "test_support.h"
#include "vbt_reader.h"

namespace {

std::string glyphA() { return bdfGlyph("A", "65", 6, "5 2 0 0", {"F8", "88"}); }
std::string glyphB() { return bdfGlyph("B", "66", 6, "5 2 0 0", {"70", "88"}); }

ExpectedFont expectedAB(const std::string& file_name = "test.vbt") {
  ExpectedFont e;
  e.file_name = file_name;
  e.flags = 0x1800;
  e.largest_width = 5;
  e.largest_height = 1;
  e.first_code = 65;
  e.code_count = 2;
  e.images = {0xF8, 0x88, 0x70, 0x88};
  e.metrics = {{5, 2, 2, 0, 6, true}, {5, 2, 2, 0, 6, true}};
  const uint32_t at = imageStart("test", file_name);
  e.offsets = {at, at + 2};
  return e;
}

ExpectedFont expectedA() {
  ExpectedFont e = expectedAB();
  e.code_count = 1;
  e.images = {0xF8, 0x88};
  e.metrics.resize(1);
  e.offsets.resize(1);
  return e;
}

TEST(GlyphSection, CharsLineMustGiveAPositiveCount) {
  struct Case {
    std::string line;
    std::string err;
  };
  const std::string invalid = "BDF Error: invalid number of CHARS in BDF file\n";
  const std::string bad = "BDF Error: bad 'CHARS' in bdf file\n";
  for (const Case& c : std::vector<Case>{{"CHARS 0", invalid},
                                         {"CHARS -3", invalid},
                                         {"CHARS", bad},
                                         {"CHARS x", bad},
                                         {"STARTCHAR A", bad}}) {
    SCOPED_TRACE(c.line);
    Conversion r = convertBdf(withCharsLine(bdfFont({glyphA(), glyphB()}), c.line));
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, c.err);
    EXPECT_EQ(r.bytes, headerAndName());
  }
}

TEST(GlyphSection, CharsCountDoesNotLimitTheRecordsRead) {
  std::vector<std::string> glyphs;
  ExpectedFont e;
  e.flags = 0x1800;
  e.largest_width = 8;
  e.first_code = 65;
  e.code_count = 5;
  for (int32_t c = 65; c <= 69; ++c) {
    const std::string number = std::to_string(c);
    glyphs.push_back(bdfGlyph(number, number, 8, "8 1 0 0", {number}));
    e.images.push_back(static_cast<uint8_t>((c / 10) * 16 + c % 10));
    e.metrics.push_back({8, 1, 1, 0, 8, true});
    e.offsets.push_back(imageStart() + static_cast<uint32_t>(c - 65));
  }
  for (const std::string chars : {"CHARS 2", "CHARS 1", "CHARS 1000"}) {
    SCOPED_TRACE(chars);
    Conversion r = convertClean(withCharsLine(bdfFont(glyphs), chars));
    expectFont(r.bytes, e);
  }
}

TEST(GlyphSection, CommentAndBlankLinesAreSkippedEverywhere) {
  const std::string comments = "COMMENT between\n\nCOMMENTS\r\n";
  std::string a = glyphA();
  a.insert(a.find("BITMAP"), "COMMENT in the record\n");
  a.insert(a.find("88"), "\n\nCOMMENT among the rows\n");
  const std::string font = bdfFont({comments, a, comments, glyphB(), comments});
  Conversion r = convertClean(font);
  expectFont(r.bytes, expectedAB());
}

TEST(GlyphSection, FirstLineThatIsNoStartcharEndsTheRecords) {
  // The record after that line is broken: it must not be read at all.
  const std::string broken = bdfGlyph("C", "-5", 6, "5 2 0 0", {"F8"});
  for (const std::string end : {"ENDFONT", "FOO", " STARTCHAR B", "startchar B", "ENCODING 66"}) {
    SCOPED_TRACE(end);
    Conversion r = convertClean(bdfFont({glyphA(), end + "\n", glyphB(), broken}));
    expectFont(r.bytes, expectedA());
  }
}

// The font of glyphs A and B cut after its first `length` bytes.
std::string cutFont(size_t length) { return bdfFont({glyphA(), glyphB()}).substr(0, length); }

// Where `text` ends in the font of glyphs A and B, counting from the first
// byte of glyph B's record.
size_t after(const std::string& text) {
  const std::string font = bdfFont({glyphA(), glyphB()});
  const size_t b = font.find("STARTCHAR B");
  return font.find(text, b) + text.size();
}

TEST(GlyphSection, InputEndingInsideARecordFailsTheGlyphStage) {
  struct Case {
    std::string cut_after;
    std::string err;
  };
  for (const Case& c : std::vector<Case>{{"STARTCHAR B\n", "bad 'ENCODING' in BDF file\n"},
                                         {"ENCODING 66\n", "bad 'SWIDTH'\n"},
                                         {"SWID", "bad 'SWIDTH'\n"},
                                         {"SWIDTH 500 0\n", "bad 'DWIDTH'\n"},
                                         {"DWIDTH 6 0\n", "bad 'BBX'\n"},
                                         {"BBX 5 2 0 0\n", "missing 'BITMAP'\n"},
                                         {"BITMAP\n", "missing 'ENDCHAR'\n"},
                                         {"70\n", "missing 'ENDCHAR'\n"},
                                         {"ENDCH", "missing 'ENDCHAR'\n"},
                                         // A last line without line feed is never read.
                                         {"ENDCHAR", "missing 'ENDCHAR'\n"}}) {
    SCOPED_TRACE(c.cut_after);
    Conversion r = convertBdf(cutFont(after(c.cut_after)));
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "BDF Error: " + c.err);
    EXPECT_EQ(r.bytes, headerAndName());
  }
}

TEST(GlyphSection, InputEndingBetweenRecordsConvertsTheRecordsBefore) {
  for (const std::string cut : {"ENDCHAR\n", "ENDFONT"}) {
    SCOPED_TRACE(cut);
    Conversion r = convertBdf(cutFont(after(cut)));
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.err, "");
    expectFont(r.bytes, expectedAB());
  }
  // Cut in glyph B's STARTCHAR line: that line is lost, A converts alone.
  const std::string font = bdfFont({glyphA(), glyphB()});
  for (const std::string cut : {"STARTCH", "STARTCHAR B"}) {
    SCOPED_TRACE(cut);
    Conversion r = convertBdf(font.substr(0, font.find("STARTCHAR B") + cut.size()));
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.err, "");
    expectFont(r.bytes, expectedA());
  }
}

TEST(GlyphSection, ProgramWritesNoFileWhenTheGlyphStageFails) {
  TempDir dir;
  writeFile(dir.file("cut.bdf"), cutFont(after("70\n")));
  writeFile(dir.file("cut.vbt"), "earlier file");
  writeFile(dir.file("gone.bdf"), cutFont(after("DWIDTH 6 0\n")));
  writeFile(dir.file("ends.bdf"), cutFont(after("ENDCHAR\n")));
  RunResult run = runBdf2vbt({"cut.bdf", "gone.bdf", "ends.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{1,
                            "Converting cut.bdf to cut.vbt\nConverting gone.bdf to gone.vbt\n"
                            "Converting ends.bdf to ends.vbt\n",
                            "BDF Error: missing 'ENDCHAR'\nBDF Error: bad 'BBX'\n"}));
  EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{"cut.bdf", "cut.vbt", "ends.bdf",
                                                             "ends.vbt", "gone.bdf"}));
  EXPECT_EQ(readFile(dir.file("cut.vbt")), "earlier file");
  ExpectedFont e = expectedAB("ends.vbt");
  const std::string written = readFile(dir.file("ends.vbt"));
  expectFont(Bytes(written.begin(), written.end()), e);
}

TEST(GlyphSection, ProgramWritesTheFileButFailsAfterRecoverableErrors) {
  // An odd hex row is reported in both passes; the file is complete.
  TempDir dir;
  writeFile(dir.file("odd.bdf"), bdfFont({bdfGlyph("A", "65", 6, "5 2 0 0", {"F8", "8"}), glyphB()}));
  writeFile(dir.file("good.bdf"), bdfFont({glyphA(), glyphB()}));
  RunResult run = runBdf2vbt({"odd.bdf"}, dir.path());
  const std::string odd = "BDF Error: odd number of characters in hex encoding\n";
  EXPECT_EQ(run, (RunResult{1, "Converting odd.bdf to odd.vbt\n", odd + odd}));
  // The row "8" reads as 80.
  ExpectedFont e = expectedAB("odd.vbt");
  e.images[1] = 0x80;
  const std::string written = readFile(dir.file("odd.vbt"));
  expectFont(Bytes(written.begin(), written.end()), e);

  // The same font without the fault: status 0.
  run = runBdf2vbt({"good.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{0, "Converting good.bdf to good.vbt\n", ""}));
  e = expectedAB("good.vbt");
  const std::string good = readFile(dir.file("good.vbt"));
  expectFont(Bytes(good.begin(), good.end()), e);
}

}  // namespace
