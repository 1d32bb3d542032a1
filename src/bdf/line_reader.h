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
#include <string>
#include <string_view>

constexpr size_t kMaxLineLength = 1023;

class LineReader {
 public:
  explicit LineReader(std::string_view text)
      : begin_(text.data()), cur_(text.data()), end_(text.data() + text.size()) {}
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Sets *line to the text of the next line that is neither empty nor a
  // COMMENT line; false at the end of the input. The view lasts until the
  // next call.
  bool next(std::string_view* line);

  // When the next line is a row of hex digits only, an even number of them
  // from 2 to kMaxLineLength, ended by a line feed (the rows of nearly every
  // font), sets *row to it and moves past it; otherwise moves nowhere.
  bool nextHexRow(std::string_view* row);

  // Where the next line starts, for rewind().
  size_t position() const { return static_cast<size_t>(cur_ - begin_); }
  // Goes back (or on) to a position position() gave.
  void rewind(size_t position) { cur_ = begin_ + position; }

 private:
  // The next line, skipped or not, and where its first zero byte is (npos
  // for none); false at the end of the input.
  bool nextLine(std::string_view* line, size_t* zero);
  // The same, character by character: for lines with carriage returns
  // inside, lines beyond the limit, and the end of the input.
  bool nextLineSlowly(std::string_view* line, size_t* zero);

  const char* begin_;
  const char* cur_;
  const char* end_;
  std::string copy_;   // a line that is no plain stretch of the input
};

#endif  // BDF2VBT_BDF_LINE_READER_H
