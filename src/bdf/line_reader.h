// The BDF input stream and its line reader.
//
// BdfInput reads a file descriptor (or a text held in memory) through its own
// buffer and can go back once to a marked position for the second pass over
// the glyphs: a regular file is re-read from the mark; any other input (a pipe,
// a FIFO, a device) keeps what it reads after the mark and replays it.
#ifndef BDF2VBT_BDF_LINE_READER_H
#define BDF2VBT_BDF_LINE_READER_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class BdfInput {
 public:
  // Reads `fd`, which the caller opened and closes.
  explicit BdfInput(int fd);
  // Reads `text`.
  explicit BdfInput(std::string text);
  BdfInput(const BdfInput&) = delete;
  BdfInput& operator=(const BdfInput&) = delete;

  // Bytes consumed so far.
  int64_t tell() const { return consumed_before_ + (cur_ - begin_); }

  // Remembers the current position for rewindToMark().
  void mark();
  // Goes back to the marked position; false (errno in error()) when that is
  // impossible.
  bool rewindToMark();

  // errno of the first failed read or seek, 0 while all succeeded. A failed
  // read ends the input.
  int error() const { return error_; }

 private:
  friend char* bdfGetLine(BdfInput& in, char* buffer, int size);

  // Makes more bytes available at cur_; false at the end of the input.
  bool refill();
  void setSpan(const char* begin, const char* end);

  int fd_ = -1;
  bool seekable_ = false;
  int error_ = 0;
  std::unique_ptr<char[]> buffer_;   // kReadSize bytes for a file descriptor
  std::string text_;              // an in-memory input
  const char* begin_ = nullptr;   // the bytes available: [cur_, end_)
  const char* cur_ = nullptr;
  const char* end_ = nullptr;
  int64_t consumed_before_ = 0;   // stream position of begin_

  int64_t mark_ = -1;
  bool recording_ = false;        // keeping the bytes read after the mark
  bool replaying_ = false;        // reading the kept bytes back
  std::string recorded_;
};

// Stores the next line that is neither empty nor a COMMENT line into `buffer`
// (`size` bytes) without its line end, and returns `buffer`; returns nullptr
// at the end of the input. Carriage returns are dropped wherever they occur.
// A line longer than size - 1 characters is split: the character that finds
// the buffer full is lost and the rest comes back as the next line. Bytes read
// after the last line feed are never returned. Zero bytes are kept.
char* bdfGetLine(BdfInput& in, char* buffer, int size);

#endif  // BDF2VBT_BDF_LINE_READER_H
