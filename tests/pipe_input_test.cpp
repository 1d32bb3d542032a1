// An input that cannot be sought back for the second pass over the glyphs:
// a FIFO named like a BDF file, fed by a thread, converts exactly as the same
// text in a regular file does.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace {

// Writes `text` into the FIFO at `path` for the first reader that opens it.
class FifoFeeder {
 public:
  FifoFeeder(const std::string& path, const std::string& text)
      : path_(path), text_(text), thread_([this] { feed(); }) {}
  ~FifoFeeder() {
    standInForTheReader();
    thread_.join();
  }
  FifoFeeder(const FifoFeeder&) = delete;
  FifoFeeder& operator=(const FifoFeeder&) = delete;

 private:
  void feed() {
    // A reader that leaves early must not kill the test process.
    sigset_t pipe_signal;
    sigemptyset(&pipe_signal);
    sigaddset(&pipe_signal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_signal, nullptr);
    int fd = open(path_.c_str(), O_WRONLY);
    if (fd >= 0) {
      size_t done = 0;
      while (done < text_.size()) {
        ssize_t n = write(fd, text_.data() + done, text_.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
      }
      close(fd);
    }
    finished_ = true;
  }

  // When the program never opened the FIFO, or stopped reading it, the thread
  // still waits: read in its place until it is done.
  void standInForTheReader() {
    int fd = open(path_.c_str(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return;
    char buffer[4096];
    while (!finished_) {
      if (read(fd, buffer, sizeof buffer) <= 0) std::this_thread::yield();
    }
    close(fd);
  }

  const std::string path_;
  const std::string text_;
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

// Converts `text` as x.bdf from a regular file and from a FIFO; expects both
// runs to give `expected` and the same output (or none in both).
void expectPipeConvertsAsFile(const std::string& text, const RunResult& expected) {
  TempDir regular;
  writeFile(regular.file("x.bdf"), text);
  RunResult from_file = runBdf2vbt({"x.bdf"}, regular.path());
  EXPECT_EQ(from_file, expected);

  TempDir piped;
  ASSERT_EQ(mkfifo(piped.file("x.bdf").c_str(), 0600), 0);
  RunResult from_pipe;
  {
    FifoFeeder feeder(piped.file("x.bdf"), text);
    from_pipe = runBdf2vbt({"x.bdf"}, piped.path());
  }
  EXPECT_EQ(from_pipe, expected);
  EXPECT_EQ(listFiles(piped.path()), listFiles(regular.path()));
  if (fileExists(regular.file("x.vbt"))) {
    EXPECT_EQ(readFile(piped.file("x.vbt")), readFile(regular.file("x.vbt")));
  }
}

TEST(PipeInput, SmallFontConvertsAsFromAFile) {
  expectPipeConvertsAsFile(readFile(testDataDir() + "/golden/testR8.bdf"),
                           RunResult{0, "Converting x.bdf to x.vbt\n", ""});
}

TEST(PipeInput, FontLargerThanThePipeBufferConvertsAsFromAFile) {
  const std::string text = readFile(testDataDir() + "/fonts/6x13.bdf");
  ASSERT_GT(text.size(), 256u * 1024);
  expectPipeConvertsAsFile(text, RunResult{0, "Converting x.bdf to x.vbt\n", ""});
}

TEST(PipeInput, TruncatedFontFailsAsFromAFile) {
  std::string text = readFile(testDataDir() + "/golden/testR8.bdf");
  text.resize(text.rfind("88\n") + 3);
  expectPipeConvertsAsFile(text,
                           RunResult{1, "Converting x.bdf to x.vbt\n", "BDF Error: missing 'ENDCHAR'\n"});
}

}  // namespace
