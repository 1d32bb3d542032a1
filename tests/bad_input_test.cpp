// Bad inputs grouped by kind: cut files, numbers at their limits, stray bytes,
// glyph boxes at the capacity of the bitmap buffers, hostile file names.
// Every one gets its message and status, and never a crash or a broken file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <climits>
#include <cstdint>
#include <sstream>

#include "bdf/line_reader.h"
#include "driver/convert_loop.h"
#include "font/output_file.h"
#include "test_support.h"
#include "vbt_reader.h"

namespace {

std::string joinLines(const std::vector<std::string>& lines, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += lines[i] + "\n";
  return text;
}

// The message for a record that ends after `last`, its last line read.
std::string messageForCutAfter(const std::string& last) {
  if (last.rfind("STARTCHAR", 0) == 0) return "BDF Error: bad 'ENCODING' in BDF file\n";
  if (last.rfind("ENCODING", 0) == 0) return "BDF Error: bad 'SWIDTH'\n";
  if (last.rfind("SWIDTH", 0) == 0) return "BDF Error: bad 'DWIDTH'\n";
  if (last.rfind("DWIDTH", 0) == 0) return "BDF Error: bad 'BBX'\n";
  if (last.rfind("BBX", 0) == 0) return "BDF Error: missing 'BITMAP'\n";
  return "BDF Error: missing 'ENDCHAR'\n";
}

TEST(BadInput, RealFontCutAtEveryLineOfItsFirstGlyphs) {
  const std::vector<std::string> lines = splitLines(readFile(testDataDir() + "/fonts/4x6.bdf"));
  size_t chars = 0;
  while (lines[chars].rfind("CHARS ", 0) != 0) ++chars;
  int records_done = 0;
  bool inside = false;
  for (size_t count = chars + 1; records_done < 6; ++count) {
    SCOPED_TRACE("cut after line " + std::to_string(count) + ": " + lines[count - 1]);
    const std::string& last = lines[count - 1];
    if (last.rfind("STARTCHAR", 0) == 0) inside = true;
    Conversion c = convertBdf(joinLines(lines, count));
    if (inside && last != "ENDCHAR") {
      EXPECT_FALSE(c.completed);
      EXPECT_EQ(c.err, messageForCutAfter(last));
      continue;
    }
    // Between records the glyph section simply ends there.
    if (last == "ENDCHAR") ++records_done;
    inside = false;
    EXPECT_TRUE(c.completed);
    EXPECT_EQ(c.err, "");
    auto file = VbtFile::parse(c.bytes);
    ASSERT_TRUE(file);
    // The font starts with codes 0 and 32 up: the range covers the records read.
    const int32_t expected_count = records_done == 0 ? -65535 : records_done == 1 ? 1 : 31 + records_done;
    EXPECT_EQ(file->code_count, expected_count);
    EXPECT_EQ(c.bytes.size(), file->image_pos + 4 * static_cast<size_t>(std::max(expected_count, 0)));
  }
}

// The BDF numbers are read as glibc's "%d" reads them: beyond the 64-bit range
// they saturate, and the low 32 bits are kept.
TEST(BadInput, NumbersBeyondTheirRangesKeepTheirLow32Bits) {
  const std::string glyph = bdfGlyph("A", "4294967361", 6, "4294967301 6 0 0",
                                     {"F8", "F8", "F8", "F8", "F8", "F8"});
  Conversion c = convertBdf(bdfFont({glyph}, "8 8 0 9223372036854775807"));
  ASSERT_TRUE(c.completed) << c.err;
  auto file = VbtFile::parse(c.bytes);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->first_code, 65);           // 2^32 + 65
  EXPECT_EQ(file->metrics[0].width, 5);      // 2^32 + 5
  EXPECT_EQ(file->baseline, 6);              // -1 + 8, less one
  EXPECT_EQ(file->underline, 8);
  EXPECT_EQ(file->image(0), (std::vector<uint8_t>(6, 0xF8)));
}

TEST(BadInput, NumbersAtTheLimitsInEveryFieldConvertWithoutFault) {
  const std::vector<std::string> values = {"2147483647", "2147483648", "-2147483648",
                                           "-2147483649", "9223372036854775807",
                                           "9223372036854775808", "-9223372036854775809",
                                           "99999999999999999999999", "0", "-1"};
  for (const std::string& v : values) {
    SCOPED_TRACE(v);
    const std::string g = "STARTCHAR x\nENCODING " + v + " " + v + "\nSWIDTH " + v + " 0\nDWIDTH " +
                          v + " 0\nBBX 8 2 " + v + " " + v + "\nBITMAP\nFF\n81\nENDCHAR\n";
    const std::string text = "STARTFONT 2.1\nFONT n\nSIZE " + v + " " + v + " " + v +
                             "\nFONTBOUNDINGBOX " + v + " " + v + " " + v + " " + v +
                             "\nSTARTPROPERTIES 1\nP " + v + "\nENDPROPERTIES\nCHARS " + v + "\n" +
                             g + bdfGlyph("y", "66", 4, "4 1 0 0", {"F0"}) + "ENDFONT\n";
    Conversion c = convertBdf(text, [](ConversionState& st) {
      st.ForceMinChar = INT32_MIN;
      st.ForceMaxChar = INT32_MAX;
      st.ForceAsciiOffset = INT32_MAX;
      st.bound_height_adjustment = INT16_MIN;
      st.fix_width = 1;
    });
    if (!c.completed) continue;  // e.g. CHARS 0 or less
    auto file = VbtFile::parse(c.bytes);
    ASSERT_TRUE(file);
    EXPECT_EQ(c.bytes.size(), file->image_pos + 4 * static_cast<size_t>(std::max(file->code_count, 0)));
  }
}

TEST(BadInput, OptionsAtTheLimitsWrapAsSpecified) {
  TempDir dir;
  writeFile(dir.file("testR8.bdf"), readFile(testDataDir() + "/golden/testR8.bdf"));
  // -S 2^32 + 66 is 66; -a 70000 keeps its low 16 bits (4464); -A wraps.
  RunResult run = runBdf2vbt({"-S", "4294967362", "-a", "70000", "-A", "2147483647", "-O", "x.vbt",
                              "testR8.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{0, "Converting testR8.bdf to x.vbt\n", ""}));
  auto file = VbtFile::parse(readFile(dir.file("x.vbt")));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->code_count, 1);
  EXPECT_EQ(file->first_code, static_cast<int32_t>(0x80000000u + 66));
  EXPECT_EQ(file->box_height, 8 + 4464);
  run = runBdf2vbt({"-S", "-9223372036854775809", "-N", "9223372036854775807", "-O", "y.vbt",
                    "testR8.bdf"}, dir.path());
  EXPECT_EQ(run.status, 0);
}

// A zero byte ends a line's text; 0xFF is an ordinary, meaningless byte.
TEST(BadInput, ZeroAndFFBytesInEveryLineKind) {
  const std::vector<std::string> lines = splitLines(readFile(testDataDir() + "/golden/testR8.bdf"));
  for (size_t i = 0; i < lines.size(); ++i) {
    for (const std::string& stray : {std::string(1, '\0'), std::string("\xFF")}) {
      for (size_t at : {size_t{0}, lines[i].size() / 2, lines[i].size()}) {
        std::vector<std::string> changed = lines;
        changed[i].insert(at, stray);
        SCOPED_TRACE("line " + std::to_string(i) + " byte " + std::to_string(at));
        Conversion c = convertBdf(joinLines(changed, changed.size()));
        if (!c.completed) {
          EXPECT_NE(c.err, "");
          continue;
        }
        auto file = VbtFile::parse(c.bytes);
        ASSERT_TRUE(file);
      }
    }
  }
  // A zero byte inside a hex row shortens it: "F\0F" is the odd row "F".
  Conversion c = convertBdf(bdfFont({bdfGlyph("A", "65", 8, "8 1 0 0", {std::string("F\0F", 3)})}));
  EXPECT_EQ(c.err, "BDF Error: odd number of characters in hex encoding\n"
                   "BDF Error: odd number of characters in hex encoding\n");
  auto file = VbtFile::parse(c.bytes);
  ASSERT_TRUE(file);
  EXPECT_EQ(file->image(0), (std::vector<uint8_t>{0xF0}));
}

TEST(BadInput, GlyphBoxesAroundTheBitmapCapacity) {
  struct Box {
    std::string bbx;
    bool fits;
  };
  for (const Box& box : {Box{"256 2048 0 0", true}, Box{"256 2049 0 0", false},
                         Box{"257 1985 0 0", true}, Box{"257 1986 0 0", false},
                         Box{"32767 16 0 0", true}, Box{"32768 1 0 0", false},
                         Box{"0 32767 0 0", true}, Box{"1 32768 0 0", false},
                         Box{"2147483647 2147483647 0 0", false}}) {
    SCOPED_TRACE(box.bbx);
    // Rows far longer than the box: bytes past the buffer's end are dropped.
    std::vector<std::string> rows(3, std::string(1023, 'F'));
    Conversion c = convertBdf(bdfFont({bdfGlyph("big", "65", 8, box.bbx, rows)}),
                              [](ConversionState& st) { st.verbose = 1; });
    EXPECT_EQ(c.completed, box.fits) << c.err;
    if (box.fits) continue;
    std::istringstream size(box.bbx);
    std::string w, h;
    size >> w >> h;
    EXPECT_EQ(c.err, "BDF Error: character 'big' has a bitmap too large, " + w + "x" + h + "\n");
  }
}

TEST(BadInput, OutputBeyond32BitPositionsIsRefused) {
  // Two 64 KiB images where the file may hold 100 KiB.
  const std::string big = bdfGlyph("a", "65", 8, "256 2048 0 0", {});
  const std::string text = bdfFont({big, bdfGlyph("b", "66", 8, "256 2048 0 0", {})});
  auto st = newState();
  CapturedMessages messages(*st);
  resetPerFileState(*st);
  st->vbtname = "x.vbt";
  BdfInput in(text);
  OutputFile out;
  out.setSizeLimit(100 * 1024);
  EXPECT_FALSE(convertStream(*st, in, out));
  EXPECT_EQ(messages.err(), "BDF Error: output file too large for 32-bit positions\n");
  EXPECT_LE(out.tell(), 100 * 1024);
}

TEST(BadInput, HostileFileNames) {
  TempDir dir;
  const std::string font = readFile(testDataDir() + "/golden/testR8.bdf");
  const std::string high = "\xE9t\xE9R8.bdf";   // Latin-1, not UTF-8
  for (const std::string& name : {std::string("with space R8.bdf"), std::string("-dashR8.bdf"),
                                   high}) {
    writeFile(dir.file(name), font);
  }
  RunResult run = runBdf2vbt({"--", "with space R8.bdf", "-dashR8.bdf", high}, dir.path());
  EXPECT_EQ(run, (RunResult{0,
                            "Converting with space R8.bdf to with space 8.vbt\n"
                            "Converting -dashR8.bdf to -dash8.vbt\n"
                            "Converting " + high + " to \xE9t\xE9" "8.vbt\n",
                            ""}));
  // A name too long for the file system, a directory and a missing file.
  const std::string long_name(4000, 'x');
  run = runBdf2vbt({long_name + ".bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{255, "", "Can not open input file: \n: File name too long\n"}));
  ASSERT_EQ(mkdir(dir.file("dir.bdf").c_str(), 0777), 0);
  run = runBdf2vbt({"dir.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{1, "Converting dir.bdf to dir.vbt\n",
                            "BDF Error: bad 'STARTFONT'\nBDF Error: missing 'STARTPROPERTIES'\n"
                            "BDF Error: bad 'CHARS' in bdf file\n"
                            "Can not read input file dir.bdf: Is a directory\n"}));
  EXPECT_FALSE(fileExists(dir.file("dir.vbt")));
}

TEST(BadInput, FailedSecondOperandKeepsTheFirstOutputUnderDashCapitalO) {
  TempDir dir;
  writeFile(dir.file("goodR8.bdf"), readFile(testDataDir() + "/golden/testR8.bdf"));
  writeFile(dir.file("bad.bdf"), "STARTFONT 2.1\nFONT x\n");
  RunResult run = runBdf2vbt({"-O", "x.vbt", "goodR8.bdf", "bad.bdf"}, dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(readFile(dir.file("x.vbt")).substr(44, 15), std::string("test,good8.vbt\0", 15));
  EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{"bad.bdf", "goodR8.bdf", "x.vbt"}));
}

}  // namespace
