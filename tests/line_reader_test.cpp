// The BDF line reader: which lines come back from bdfGetLine and how, for
// inputs held in memory, in regular files and in pipes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "bdf/line_reader.h"
#include "test_support.h"

namespace {

using namespace std::string_literals;

// Every line bdfGetLine returns until the end of the input, read as C text.
std::vector<std::string> linesOf(BdfInput& in, int size = 1024) {
  std::vector<std::string> lines;
  std::vector<char> buffer(static_cast<size_t>(size));
  while (const char* line = bdfGetLine(in, buffer.data(), size)) {
    EXPECT_EQ(line, buffer.data());
    lines.emplace_back(line);
  }
  return lines;
}

std::vector<std::string> linesOf(const std::string& text, int size = 1024) {
  BdfInput in(text);
  return linesOf(in, size);
}

using Lines = std::vector<std::string>;

TEST(LineReader, CrLfLinesReadLikeLfLines) {
  const Lines expected = {"STARTFONT 2.1", "FONT -Misc-Fixed", "SIZE 6 75 75"};
  EXPECT_EQ(linesOf("STARTFONT 2.1\nFONT -Misc-Fixed\nSIZE 6 75 75\n"), expected);
  EXPECT_EQ(linesOf("STARTFONT 2.1\r\nFONT -Misc-Fixed\r\nSIZE 6 75 75\r\n"), expected);
  EXPECT_EQ(linesOf("STARTFONT 2.1\r\nFONT -Misc-Fixed\nSIZE 6 75 75\r\n"), expected);
}

TEST(LineReader, DropsCarriageReturnsWhereverTheyStand) {
  EXPECT_EQ(linesOf("\rab\rcd\r\n"), (Lines{"abcd"}));
  // A line of carriage returns only is empty, so it is skipped.
  EXPECT_EQ(linesOf("A\n\r\r\r\nB\r\r\n"), (Lines{"A", "B"}));
  // A lone carriage return does not end a line.
  EXPECT_EQ(linesOf("one\rtwo\n"), (Lines{"onetwo"}));
}

TEST(LineReader, SkipsCommentAndBlankLines) {
  EXPECT_EQ(linesOf("\n\nCOMMENT a comment\nCOMMENTS more\nCOMMENT\nCOMMENTARY\n"
                    "STARTFONT 2.1\n\r\n\nCOMMENT x\r\nFONT f\n"),
            (Lines{"STARTFONT 2.1", "FONT f"}));
  // Only the exact upper-case prefix at the start of the line counts.
  EXPECT_EQ(linesOf("COMMEN\n COMMENT\ncomment\nCOMMENt x\n\tCOMMENT\n"),
            (Lines{"COMMEN", " COMMENT", "comment", "COMMENt x", "\tCOMMENT"}));
  // A line of blanks is not empty.
  EXPECT_EQ(linesOf("   \n\t\n"), (Lines{"   ", "\t"}));
}

TEST(LineReader, SplitsLongLinesLosingTheCharacterThatFindsTheBufferFull) {
  std::string long_line;
  for (int i = 0; i < 1500; ++i) long_line += static_cast<char>('a' + i % 26);
  EXPECT_EQ(linesOf(long_line + "\nNEXT\n"),
            (Lines{long_line.substr(0, 1023), long_line.substr(1024), "NEXT"}));
  EXPECT_EQ(long_line.substr(1024).size(), 476u);

  const std::string x1022(1022, 'x'), x1023(1023, 'y'), x1024 = std::string(1023, 'z') + "!";
  EXPECT_EQ(linesOf(x1022 + "\nNEXT\n"), (Lines{x1022, "NEXT"}));
  EXPECT_EQ(linesOf(x1023 + "\nNEXT\n"), (Lines{x1023, "NEXT"}));
  // The 1024th character is lost, and the line feed then ends an empty line.
  EXPECT_EQ(linesOf(x1024 + "\nNEXT\n"), (Lines{x1024.substr(0, 1023), "NEXT"}));
  EXPECT_EQ(linesOf(x1024 + "A\nNEXT\n"), (Lines{x1024.substr(0, 1023), "A", "NEXT"}));
  // Carriage returns take no room in the line.
  EXPECT_EQ(linesOf(x1023 + "\r\r\nNEXT\n"), (Lines{x1023, "NEXT"}));
  EXPECT_EQ(linesOf("\r" + x1022 + "\r\r" + "Q\r\nNEXT\n"), (Lines{x1022 + "Q", "NEXT"}));
}

TEST(LineReader, SplitsLinesByTheBufferSizeGiven) {
  EXPECT_EQ(linesOf("abcdefgh\n", 4), (Lines{"abc", "efg"}));
  EXPECT_EQ(linesOf("abcdefghi\n", 4), (Lines{"abc", "efg", "i"}));
  EXPECT_EQ(linesOf("abc\nd\n", 4), (Lines{"abc", "d"}));
  EXPECT_EQ(linesOf("COMMENT\n", 8), (Lines{}));
  // With no room for the 7 characters the prefix test never matches.
  EXPECT_EQ(linesOf("COMMENT\n", 7), (Lines{"COMMEN"}));
}

TEST(LineReader, TheTailOfALongCommentLineComesBackAsALine) {
  const std::string comment = "COMMENT " + std::string(1015, 'c');   // 1023 characters
  EXPECT_EQ(linesOf(comment + "\nA\n"), (Lines{"A"}));
  EXPECT_EQ(linesOf(comment + "Xtail\nA\n"), (Lines{"tail", "A"}));
  EXPECT_EQ(linesOf(comment + "XCOMMENT tail\nA\n"), (Lines{"A"}));
}

TEST(LineReader, LastLineWithoutLineFeedIsLost) {
  EXPECT_EQ(linesOf("CHARS 0\nENDFONT"), (Lines{"CHARS 0"}));
  EXPECT_EQ(linesOf("ENDFONT\r"), (Lines{}));
  EXPECT_EQ(linesOf("ENDFONT\n"), (Lines{"ENDFONT"}));
  EXPECT_EQ(linesOf(""), (Lines{}));

  BdfInput in("A\nB"s);
  char buffer[1024];
  ASSERT_NE(bdfGetLine(in, buffer, 1024), nullptr);
  EXPECT_EQ(bdfGetLine(in, buffer, 1024), nullptr);
  EXPECT_EQ(bdfGetLine(in, buffer, 1024), nullptr);
}

TEST(LineReader, KeepsZeroBytes) {
  BdfInput in("AB\0CD\n\0COMMENT\n\0\nCOMMENT\0x\nEND\n"s);
  char buffer[1024];

  ASSERT_EQ(bdfGetLine(in, buffer, 1024), buffer);
  EXPECT_EQ(std::string(buffer, 6), "AB\0CD\0"s);
  // A line that starts with a zero byte is not empty: it comes back, without
  // any text for the stages.
  ASSERT_EQ(bdfGetLine(in, buffer, 1024), buffer);
  EXPECT_EQ(std::string(buffer, 9), "\0COMMENT\0"s);
  ASSERT_EQ(bdfGetLine(in, buffer, 1024), buffer);
  EXPECT_EQ(std::string(buffer, 2), "\0\0"s);
  // A COMMENT line stays a COMMENT line whatever follows the prefix.
  ASSERT_EQ(bdfGetLine(in, buffer, 1024), buffer);
  EXPECT_STREQ(buffer, "END");
  EXPECT_EQ(bdfGetLine(in, buffer, 1024), nullptr);
}

// The reader's rules applied one character at a time, as a yardstick for
// bdfGetLine.
struct ReferenceReader {
  std::string data;
  size_t pos = 0;

  std::optional<std::string> getLine(int size) {
    std::string line;
    for (;;) {
      if (pos == data.size()) return std::nullopt;
      const char c = data[pos++];
      if (c == '\r') continue;
      if (c == '\n' || line.size() == static_cast<size_t>(size - 1)) {
        if (line.empty() || (line.size() >= 7 && line.compare(0, 7, "COMMENT") == 0)) {
          line.clear();
          continue;
        }
        return line;
      }
      line += c;
    }
  }
};

// Reads `in` to its end with buffers of `size` bytes and checks every line,
// its terminator and the input position after it against the reference
// reading of `data` from `start`.
void expectReadsLikeReference(BdfInput& in, const std::string& data, int size,
                              size_t start = 0) {
  ReferenceReader ref{data, start};
  std::vector<char> buffer(static_cast<size_t>(size));
  for (int n = 0;; ++n) {
    std::fill(buffer.begin(), buffer.end(), '\x5a');
    const char* got = bdfGetLine(in, buffer.data(), size);
    const std::optional<std::string> want = ref.getLine(size);
    if (!want) {
      EXPECT_EQ(got, nullptr) << "line " << n << ": a line where the input ends";
      return;
    }
    if (got == nullptr) {
      ADD_FAILURE() << "line " << n << ": the input ended early";
      return;
    }
    EXPECT_EQ(got, buffer.data());
    EXPECT_EQ(std::string(buffer.data(), want->size()), *want) << "line " << n;
    EXPECT_EQ(buffer[want->size()], '\0') << "line " << n;
    EXPECT_EQ(in.tell(), static_cast<int64_t>(ref.pos)) << "line " << n;
  }
}

// Random inputs rich in the cases the rules tell apart: line ends, carriage
// returns, zero bytes, comment prefixes, lines just below, at and above the
// buffer size.
std::string randomInput(std::mt19937& rng, int size) {
  static const std::vector<std::string> pieces = {
      "a", "Z", " ", "\t", "\r", "\n", "\r\n", "\n\n", std::string(1, '\0'),
      "COMMENT", "COMMENTS", "COMMEN", "\nCOMMENT ", "ENDPROPERTIES", "\x80\xff"};
  const int length = size >= 1024 ? 4000 : 12 * size;
  std::string text;
  while (static_cast<int>(text.size()) < length) {
    const int pick = static_cast<int>(rng() % 20);
    if (pick < static_cast<int>(pieces.size())) {
      text += pieces[static_cast<size_t>(pick)];
    } else if (pick < 18) {
      text += std::string(size - 4 + rng() % 8, static_cast<char>('0' + rng() % 10));
    } else {
      text += std::string(rng() % (3 * static_cast<unsigned>(size)), 'L');
    }
  }
  if (rng() % 2) text += '\n';
  return text;
}

std::vector<int> bufferSizes() { return {4, 5, 6, 7, 8, 9, 10, 11, 12, 1024}; }

TEST(LineReader, MemoryInputReadsLikeTheReference) {
  std::mt19937 rng(20240611);
  for (int size : bufferSizes()) {
    for (int i = 0; i < 60; ++i) {
      const std::string data = randomInput(rng, size);
      SCOPED_TRACE("size " + std::to_string(size) + ", input " + std::to_string(i));
      BdfInput in(data);
      expectReadsLikeReference(in, data, size);
    }
  }
}

// An open file descriptor, closed with the object.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

TEST(LineReader, FileInputReadsLikeTheReference) {
  std::mt19937 rng(77);
  TempDir dir;
  for (int size : bufferSizes()) {
    for (int i = 0; i < 20; ++i) {
      const std::string data = randomInput(rng, size);
      SCOPED_TRACE("size " + std::to_string(size) + ", input " + std::to_string(i));
      const std::string path = dir.file("input" + std::to_string(i) + ".bdf");
      writeFile(path, data);
      Fd fd(open(path.c_str(), O_RDONLY));
      ASSERT_GE(fd.get(), 0);
      BdfInput in(fd.get());
      expectReadsLikeReference(in, data, size);
      EXPECT_EQ(in.error(), 0);
    }
  }
}

// A pipe whose write end a thread feeds with `data` in chunks of the given
// sizes (taken in turn), each chunk only once the reader has taken the one
// before, so every read returns one chunk.
class PipeFeeder {
 public:
  PipeFeeder(std::string data, std::vector<size_t> chunks) {
    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
    read_fd_ = fds[0];
    write_fd_ = fds[1];
    thread_ = std::thread([this, data = std::move(data), chunks = std::move(chunks)] {
      size_t pos = 0;
      for (size_t i = 0; pos < data.size() && !stop_; ++i) {
        const size_t n = std::min(chunks[i % chunks.size()], data.size() - pos);
        if (write(write_fd_, data.data() + pos, n) != static_cast<ssize_t>(n)) break;
        pos += n;
        int pending = 1;
        while (!stop_ && ioctl(read_fd_, FIONREAD, &pending) == 0 && pending > 0) {
          std::this_thread::yield();
        }
      }
      close(write_fd_);
    });
  }
  ~PipeFeeder() {
    // Drain what the test did not read, so the feeder can finish.
    stop_ = true;
    char sink[4096];
    while (read(read_fd_, sink, sizeof sink) > 0) {
    }
    thread_.join();
    close(read_fd_);
  }
  PipeFeeder(const PipeFeeder&) = delete;
  PipeFeeder& operator=(const PipeFeeder&) = delete;
  int fd() const { return read_fd_; }

 private:
  int read_fd_ = -1;
  int write_fd_ = -1;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

std::vector<size_t> randomChunks(std::mt19937& rng) {
  std::vector<size_t> chunks;
  for (int i = 0; i < 17; ++i) chunks.push_back(1 + rng() % 13);
  chunks.push_back(1021 + rng() % 6);
  return chunks;
}

TEST(LineReader, PipeInputReadInOddChunksReadsLikeTheReference) {
  std::mt19937 rng(4242);
  for (int size : bufferSizes()) {
    for (int i = 0; i < 8; ++i) {
      const std::string data = randomInput(rng, size);
      SCOPED_TRACE("size " + std::to_string(size) + ", input " + std::to_string(i));
      PipeFeeder feeder(data, randomChunks(rng));
      BdfInput in(feeder.fd());
      expectReadsLikeReference(in, data, size);
      EXPECT_EQ(in.error(), 0);
    }
  }
}

// Reads `skip` lines, marks, reads to the end, goes back to the mark and reads
// to the end again: both readings must be the reference reading from the mark.
void expectRewindRepeatsLines(BdfInput& in, const std::string& data, int skip) {
  ReferenceReader ref{data};
  char buffer[1024];
  for (int i = 0; i < skip; ++i) {
    ASSERT_TRUE(ref.getLine(1024));
    ASSERT_NE(bdfGetLine(in, buffer, 1024), nullptr);
  }
  ASSERT_EQ(in.tell(), static_cast<int64_t>(ref.pos));
  in.mark();
  {
    SCOPED_TRACE("first reading");
    expectReadsLikeReference(in, data, 1024, ref.pos);
  }
  ASSERT_TRUE(in.rewindToMark());
  EXPECT_EQ(in.tell(), static_cast<int64_t>(ref.pos));
  {
    SCOPED_TRACE("after going back");
    expectReadsLikeReference(in, data, 1024, ref.pos);
  }
  EXPECT_EQ(in.error(), 0);
}

// A glyph section of some 300 kB, more than one read of any input buffer.
std::string largeInput() {
  std::string text = "STARTFONT 2.1\nCOMMENT x\nCHARS 3000\n";
  for (int i = 0; i < 3000; ++i) {
    text += "STARTCHAR g" + std::to_string(i) + "\r\nENCODING " + std::to_string(i) +
            "\nCOMMENT " + std::string(static_cast<size_t>(i % 40), '.') +
            "\nBITMAP\n0F\n\nF0\nENDCHAR\n";
  }
  return text + "ENDFONT\n";
}

// 18003 lines in all: the last mark stands at the end of the input.
const std::vector<int> kMarkAfter = {0, 1, 3, 7000, 18002, 18003};

TEST(LineReader, MemoryInputGoesBackToItsMark) {
  const std::string data = largeInput();
  for (int skip : kMarkAfter) {
    SCOPED_TRACE("mark after " + std::to_string(skip) + " lines");
    BdfInput in(data);
    expectRewindRepeatsLines(in, data, skip);
  }
}

TEST(LineReader, FileInputGoesBackToItsMark) {
  const std::string data = largeInput();
  TempDir dir;
  writeFile(dir.file("large.bdf"), data);
  for (int skip : kMarkAfter) {
    SCOPED_TRACE("mark after " + std::to_string(skip) + " lines");
    Fd fd(open(dir.file("large.bdf").c_str(), O_RDONLY));
    ASSERT_GE(fd.get(), 0);
    BdfInput in(fd.get());
    expectRewindRepeatsLines(in, data, skip);
  }
}

TEST(LineReader, PipeInputGoesBackToItsMark) {
  const std::string data = largeInput();
  for (int skip : kMarkAfter) {
    SCOPED_TRACE("mark after " + std::to_string(skip) + " lines");
    PipeFeeder feeder(data, {4093, 7, 65536, 100000, 1});
    BdfInput in(feeder.fd());
    expectRewindRepeatsLines(in, data, skip);
  }
}

}  // namespace
