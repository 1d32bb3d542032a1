// The ways of reading a font held against the plainest one: record heads
// read in one step and rows kept decoded for the image pass, each on and
// off, with and without traces, must give what a read line by line gives
// (the same file, the same messages, the same result) on every font,
// well-formed or not: random small ones, in which every rule the fast ways
// could get wrong lands in a record head or a block of rows somewhere.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bdf/report.h"
#include "convert/conversion.h"
#include "diag/text_out.h"
#include "io/output_stream.h"

namespace {

// Everything a conversion gives.
struct Result {
  bool converted = false;
  std::vector<uint8_t> file;
  std::string out;
  std::string err;
};

// Gathers what is written to a FILE* in a string.
class MemoryFile {
 public:
  MemoryFile() : file_(open_memstream(&data_, &size_)) {}
  ~MemoryFile() {
    if (file_) fclose(file_);
    free(data_);
  }
  FILE* get() const { return file_; }
  std::string text() {
    fflush(file_);
    return std::string(data_, size_);
  }

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  FILE* file_;
};

Result convert(const std::string& bdf, const ConversionOptions& options, const ReadingStrategy& strategy) {
  Result result;
  MemoryFile out_file, err_file;
  FontConverter converter;
  {
    TextOut out(out_file.get());
    BdfReport report(&out, err_file.get(), options.verbose != 0);
    OutputStream file;
    result.converted = converter.convert(options, strategy, bdf, "t.vbt", file, report);
    file.flush();
    result.file = file.contents();
  }
  result.out = out_file.text();
  result.err = err_file.text();
  return result;
}

// Random fonts from the shapes real fonts have and the faults they are
// known to hold: every line of a record may be missing, doubled, out of
// place, or carry a sign, a tab, a carriage return, a long number or a
// value out of range; rows may be odd, bad, lowercase or pictures.
class FontMaker {
 public:
  explicit FontMaker(uint32_t seed) : random_(seed) {}

  std::string font() {
    // Fonts without faults, with a few, and with many.
    rarity_ = std::vector<int>{kNever, 400, 40}[static_cast<size_t>(pick(0, 2))];
    // A font of large glyphs now and then: its rows outweigh the rest of the
    // text, and the room kept for them has to grow.
    large_ = pick(0, 3) == 0;
    std::string text = "STARTFONT 2.1\nFONT test\nSIZE 8 75 75\nFONTBOUNDINGBOX 9 9 0 -2\n"
                       "STARTPROPERTIES 0\nENDPROPERTIES\nCHARS 9\n";
    const int records = pick(1, 60);
    for (int i = 0; i < records; ++i) text += record(i);
    if (!rare()) text += "ENDFONT\n";
    return text;
  }

 private:
  std::string record(int index) {
    std::string text = filler() + "STARTCHAR g" + std::to_string(index) + "\n";
    const int width = rare() ? pick(-3, 40) : large_ ? pick(24, 64) : pick(1, 12);
    const int height = rare() ? pick(-2, 30) : large_ ? pick(8, 24) : pick(0, 5);
    text += line("ENCODING", {code()}, rare() ? 2 : 1);
    text += line("SWIDTH", {pick(0, 999), rare() ? 1 : 0}, 2);
    text += line("DWIDTH", {pick(0, 14), rare() ? 1 : 0}, 2);
    text += line("BBX", {width, height, pick(-3, 3), pick(-3, 3)}, 4);
    text += rare() ? "BITMAPS\n" : rare() ? "" : "BITMAP\n";
    const int rows = rare() ? pick(0, height + 2) : height;
    for (int r = 0; r < rows; ++r) text += row(width) + filler();
    if (!rare()) text += rare() ? "ENDCHARS\n" : rare() ? "ENDCHAR\r\n" : "ENDCHAR\n";
    return text;
  }

  // A keyword line with `count` of the numbers (more or fewer when rare).
  std::string line(const std::string& keyword, std::vector<int> numbers, int count) {
    if (rare()) count = pick(0, count + 1);
    std::string text = keyword;
    for (int i = 0; i < count; ++i) {
      text += rare() ? "\t" : rare() ? "  " : " ";
      text += number(i < static_cast<int>(numbers.size()) ? numbers[i] : pick(-2, 99));
    }
    if (rare()) text += rare() ? " " : "x";
    return text + (rare() ? "\r\n" : "\n") + filler();
  }

  std::string number(int value) {
    std::string text = std::to_string(value);
    if (!rare()) return text;
    switch (pick(0, 5)) {
      case 0: return std::string("+").append(text);
      case 1: return std::string("000").append(text);
      case 2: return text.append("0000000000");
      case 3: return pick(0, 1) ? "4294967297" : "-2147483649";   // ten digits, beyond 32 bits
      case 4: return "-";
      default: return "-0";
    }
  }

  int code() {
    if (rare()) return std::vector<int>{-2, -1, 65535, 65536, pick(-3, 70000)}[static_cast<size_t>(pick(0, 4))];
    return pick(0, 3) == 0 ? pick(0, 40) : pick(30, 200);   // duplicates and codes out of order
  }

  std::string row(int width) {
    const int digits = 2 * ((std::max(width, 0) + 7) / 8);
    std::string text;
    for (int i = 0; i < digits; ++i) text += "0123456789ABCDEF"[pick(0, 15)];
    if (rare()) text.resize(pick(0, 1) ? text.size() + 1 : text.size() / 2, 'A');
    if (rare() && !text.empty()) text[static_cast<size_t>(pick(0, static_cast<int>(text.size()) - 1))] = "gG: #*"[pick(0, 5)];
    if (rare()) text = "#.#.#";
    if (rare()) text = "abcdef";
    return text + "\n";
  }

  // Mostly nothing; now and then a blank or COMMENT line, or an ENDCHAR
  // line where no record ends.
  std::string filler() {
    if (!rare()) return "";
    switch (pick(0, 3)) {
      case 0: return "\n";
      case 1: return "COMMENT ENDCHAR\n";
      case 2: return "ENDCHAR\n";
      default: return "\r\n";
    }
  }

  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool rare() { return pick(0, rarity_) == 0; }

  static constexpr int kNever = 1 << 30;
  std::mt19937 random_;
  int rarity_ = kNever;
  bool large_ = false;
};

void expectSame(const Result& expected, const Result& actual, bool with_out, const std::string& font) {
  EXPECT_EQ(expected.converted, actual.converted) << font;
  EXPECT_EQ(expected.file, actual.file) << font;
  EXPECT_EQ(expected.err, actual.err) << font;
  if (with_out) {
    EXPECT_EQ(expected.out, actual.out) << font;
  }
}

// The options of the conversions compared: none, -S 32 -E 100, or -w.
ConversionOptions optionsFor(uint32_t seed) {
  ConversionOptions options;
  if (seed % 3 == 1) {
    options.lowest_code = 32;
    options.code_limit = 100;
  }
  options.fixed_width = seed % 3 == 2;
  return options;
}

// One read, line by line, of every record.
ReadingStrategy lineByLine() {
  ReadingStrategy strategy;
  strategy.usual_heads = false;
  strategy.keep_rows = false;
  return strategy;
}

TEST(Reading, EveryStrategyReadsAsOneReadLineByLine) {
  int converted = 0;
  for (uint32_t seed = 1; seed <= 3000 && !HasFailure(); ++seed) {
    FontMaker maker(seed);
    const std::string font = maker.font();
    ConversionOptions options = optionsFor(seed);
    const Result plain = convert(font, options, lineByLine());
    converted += plain.converted ? 1 : 0;
    ReadingStrategy strategy;
    strategy.usual_heads = seed % 4 != 1;
    strategy.keep_rows = seed % 4 != 2;
    expectSame(plain, convert(font, options, strategy), true, font);
    options.verbose = 1;
    expectSame(convert(font, options, lineByLine()), convert(font, options, strategy), true, font);
  }
  // Both kinds of font came up often enough to mean something.
  EXPECT_GT(converted, 800);
  EXPECT_LT(converted, 2200);
}

}  // namespace
