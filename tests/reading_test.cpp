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
  std::string out, err;
  bool operator==(const Result&) const = default;
};

Result convert(const std::string& bdf, const ConversionOptions& options, const ReadingStrategy& strategy) {
  Result result;
  char* texts[2] = {nullptr, nullptr};
  size_t sizes[2] = {0, 0};
  FILE* const out_file = open_memstream(&texts[0], &sizes[0]);
  FILE* const err_file = open_memstream(&texts[1], &sizes[1]);
  {
    TextOut out(out_file);
    BdfReport report(&out, err_file, options.verbose != 0);
    OutputStream file;
    result.converted = FontConverter().convert(options, strategy, bdf, "t.vbt", file, report);
    file.flush();
    result.file = file.contents();
  }
  fclose(out_file);
  fclose(err_file);
  result.out.assign(texts[0], sizes[0]);
  result.err.assign(texts[1], sizes[1]);
  free(texts[0]);
  free(texts[1]);
  return result;
}

// Random fonts from the shapes real fonts have and the faults they are
// known to hold: every line of a record may be missing, doubled, out of
// place, or carry a sign, a tab, a carriage return, a long number or a
// value out of range; rows may be odd, bad, lowercase or pictures.
class FontMaker {
 public:
  explicit FontMaker(uint32_t seed) : random_(seed) {}

  // The font in pieces: its header, each record, then its end (which may
  // be missing).
  std::vector<std::string> font() {
    // Fonts without faults, with a few, and with many.
    rarity_ = std::vector<int>{kNever, 400, 40}[static_cast<size_t>(pick(0, 2))];
    // A font of large glyphs now and then: its rows outweigh the rest of the
    // text, and the room kept for them has to grow.
    large_ = pick(0, 3) == 0;
    std::vector<std::string> pieces = {"STARTFONT 2.1\nFONT test\nSIZE 8 75 75\nFONTBOUNDINGBOX 9 9 0 -2\n"
                                       "STARTPROPERTIES 0\nENDPROPERTIES\nCHARS 9\n"};
    for (int i = pick(1, 60); i > 0; --i) pieces.push_back(record(static_cast<int>(pieces.size())));
    pieces.push_back(rare() ? "" : "ENDFONT\n");
    return pieces;
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
    for (int r = rare() ? pick(0, height + 2) : height; r > 0; --r) text += row(width) + filler();
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

  // The value, or now and then with a sign, zeros before or after it, or
  // ten digits beyond 32 bits, or no number.
  std::string number(int value) {
    const std::string text = std::to_string(value);
    if (!rare()) return text;
    return std::vector<std::string>{"+" + text, "000" + text, text + "0000000000", "4294967297", "-2147483649",
                                    "-", "-0"}[static_cast<size_t>(pick(0, 6))];
  }

  int code() {
    if (rare()) return std::vector<int>{-2, -1, 65535, 65536, pick(-3, 70000)}[static_cast<size_t>(pick(0, 4))];
    return pick(0, 3) == 0 ? pick(0, 40) : pick(30, 200);   // duplicates and codes out of order
  }

  std::string row(int width) {
    std::string text;
    for (int i = 2 * ((std::max(width, 0) + 7) / 8); i > 0; --i) text += "0123456789ABCDEF"[pick(0, 15)];
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
    return std::vector<std::string>{"\n", "COMMENT ENDCHAR\n", "ENDCHAR\n", "\r\n"}[static_cast<size_t>(pick(0, 3))];
  }

  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool rare() { return pick(0, rarity_) == 0; }

  static constexpr int kNever = 1 << 30;
  std::mt19937 random_;
  int rarity_ = kNever;
  bool large_ = false;
};

// The first `count` pieces of a font.
std::string joined(const std::vector<std::string>& pieces, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += pieces[i];
  return text;
}

TEST(Reading, EveryStrategyReadsAsOneReadLineByLine) {
  const ReadingStrategy line_by_line{.usual_heads = false, .keep_rows = false};
  int converted = 0;
  for (uint32_t seed = 1; seed <= 3000 && !HasFailure(); ++seed) {
    const std::vector<std::string> pieces = FontMaker(seed).font();
    ReadingStrategy strategy;
    strategy.usual_heads = seed % 4 != 1;
    strategy.keep_rows = seed % 4 != 2;
    // The options: none, -S 32 -E 100, or -w; each without and with -v.
    ConversionOptions options;
    if (seed % 3 == 1) options.lowest_code = 32, options.code_limit = 100;
    options.fixed_width = seed % 3 == 2;
    for (options.verbose = 0; options.verbose <= 1; ++options.verbose) {
      SCOPED_TRACE(testing::Message() << "seed " << seed << ", options '" << (seed % 3 == 1 ? "-S 32 -E 100 " : "")
                                      << (options.fixed_width ? "-w " : "") << (options.verbose ? "-v" : "")
                                      << "', record heads " << (strategy.usual_heads ? "in one step" : "by lines")
                                      << ", rows " << (strategy.keep_rows ? "kept" : "decoded again"));
      const Result plain = convert(joined(pieces, pieces.size()), options, line_by_line);
      const Result fast = convert(joined(pieces, pieces.size()), options, strategy);
      converted += options.verbose == 0 && plain.converted;
      if (plain == fast) continue;
      EXPECT_EQ(plain.converted, fast.converted);
      EXPECT_EQ(plain.err, fast.err);
      EXPECT_EQ(plain.out, fast.out);
      EXPECT_EQ(plain.file, fast.file);
      // The shortest font of the first records (and no end) that is read
      // differently still.
      size_t count = 2;
      for (; count < pieces.size(); ++count) {
        const std::string cut = joined(pieces, count);
        if (convert(cut, options, line_by_line) != convert(cut, options, strategy)) break;
      }
      ADD_FAILURE() << "Read differently, the font up to the first record that is:\n" << joined(pieces, count);
    }
  }
  // Both kinds of font came up often enough to mean something.
  EXPECT_GT(converted, 800);
  EXPECT_LT(converted, 2200);
}

}  // namespace
