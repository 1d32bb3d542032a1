// The lines of a BDF text held whole in memory, handed out as views into it.
//
// Line rules: a line ends at a line feed; carriage returns are dropped
// wherever they stand; a line holds at most kMaxLineLength characters, and a
// character that arrives when it is full ends it and is lost (the rest comes
// back as the next line); lines that are empty or begin with "COMMENT" are
// skipped; text after the last line feed is never returned. A zero byte
// counts as a character, but the text of a line ends at its first one.
#ifndef BDF2VBT_BDF_LINE_READER_H
#define BDF2VBT_BDF_LINE_READER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr size_t kMaxLineLength = 1023;

class LineReader {
 public:
  explicit LineReader(std::string_view text)
      : begin_(text.data()), cur_(text.data()), end_(text.data() + text.size()), line_start_(text.data()) {}
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Sets *line to the text of the next line that is neither empty nor a
  // COMMENT line; false at the end of the input. The view lasts until the
  // next call.
  bool next(std::string_view* line);

  // When the next `rows` lines each hold `digits` hex digits and nothing
  // else, ended by a line feed (the rows of nearly every glyph), sets *block
  // to them, line feeds included, and moves past them; otherwise moves
  // nowhere.
  bool takeHexLines(int64_t rows, int64_t digits, std::string_view* block);

  // Once next() has found no more lines: the text after the last line feed,
  // which is no line by the rules above (carriage returns dropped, cut at
  // its first zero byte); empty when the input ends in a line feed.
  std::string_view unterminatedLine() const {
    return std::string_view(copy_).substr(0, copy_.find('\0'));
  }

  // Where the line next() returned last starts (where the text after the
  // last line feed starts once it found no more): for reports that say
  // where.
  size_t lineStart() const { return static_cast<size_t>(line_start_ - begin_); }

  // Where the next line starts, for rewind().
  size_t position() const { return static_cast<size_t>(cur_ - begin_); }
  // The text from there to the end.
  std::string_view rest() const { return std::string_view(cur_, static_cast<size_t>(end_ - cur_)); }
  // Goes back (or on) to a position position() gave.
  void rewind(size_t position) { cur_ = begin_ + position; }

 private:
  // A short line that begins with no 'C', read a word at a time; false, with
  // nothing moved, for any other.
  bool nextShortLine(std::string_view* line);
  // next() for every kind of line.
  bool nextAnyLine(std::string_view* line);
  // The next line, skipped or not, and where its first zero byte is (npos
  // for none); false at the end of the input.
  bool nextLine(std::string_view* line, size_t* zero);
  // The same, character by character: for lines with carriage returns
  // inside, lines beyond the limit, and the end of the input.
  bool nextLineSlowly(std::string_view* line, size_t* zero);

  const char* begin_;
  const char* cur_;
  const char* end_;
  const char* line_start_;
  std::string copy_;   // a line that is no plain stretch of the input
};

#endif  // BDF2VBT_BDF_LINE_READER_H
