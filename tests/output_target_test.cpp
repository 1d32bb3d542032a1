// Where and how the output file lands: through a temporary file renamed into
// place, directly into FIFOs and devices, through symbolic links, and never
// half-written over an earlier file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"
#include "vbt_reader.h"

namespace {

const std::string kConverting = "Converting fixR8.bdf to ";

std::string goodFont() {
  return bdfFont({bdfGlyph("A", "65", 6, "5 3 0 0", {"F8", "88", "F8"}),
                  bdfGlyph("B", "66", 6, "5 3 0 0", {"F0", "88", "F0"})});
}

// A font that does not convert: its bad STARTFONT line throws every stage
// off by one line.
std::string brokenFont() {
  std::string text = goodFont();
  return text.replace(0, 13, "STARTFONT 2.2");
}

const std::string kBrokenFontErrors =
    "BDF Error: bad 'STARTFONT'\n"
    "BDF Error: missing 'STARTPROPERTIES'\n"
    "BDF Error: bad 'CHARS' in bdf file\n";

// The bytes a plain run writes for goodFont().
std::string goodBytes() {
  TempDir dir;
  writeFile(dir.file("fixR8.bdf"), goodFont());
  const RunResult run = runBdf2vbt({"fixR8.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{0, kConverting + "fix8.vbt\n", ""}));
  return readFile(dir.file("fix8.vbt"));
}

// Everything under `dir` but directories (files, links, FIFOs, nodes), as
// sorted paths relative to it, links not followed.
std::vector<std::string> entriesOf(const std::string& dir) {
  namespace fs = std::filesystem;
  std::vector<std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (!entry.is_symlink() && entry.is_directory()) continue;
    entries.push_back(entry.path().lexically_relative(dir).string());
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

mode_t modeOf(const std::string& path) {
  struct stat info;
  EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
  return info.st_mode;
}

TEST(OutputTarget, NewFileGetsThePermissionsOfAPlainCreate) {
  for (mode_t mask : {mode_t{022}, mode_t{077}, mode_t{0}, mode_t{027}}) {
    SCOPED_TRACE("umask " + std::to_string(mask));
    TempDir dir;
    writeFile(dir.file("fixR8.bdf"), goodFont());
    const RunResult run = runBdf2vbt({"fixR8.bdf"}, dir.path(), [mask] { umask(mask); });
    EXPECT_EQ(run, (RunResult{0, kConverting + "fix8.vbt\n", ""}));
    EXPECT_EQ(modeOf(dir.file("fix8.vbt")) & 07777, 0666 & ~mask);
    EXPECT_TRUE(S_ISREG(modeOf(dir.file("fix8.vbt"))));
    EXPECT_EQ(entriesOf(dir.path()), (std::vector<std::string>{"fix8.vbt", "fixR8.bdf"}));
  }
}

TEST(OutputTarget, FailedConversionLeavesAnEarlierFileUntouched) {
  TempDir dir;
  writeFile(dir.file("fixR8.bdf"), brokenFont());
  writeFile(dir.file("fix8.vbt"), "an earlier conversion");
  ASSERT_EQ(chmod(dir.file("fix8.vbt").c_str(), 0640), 0);
  EXPECT_EQ(runBdf2vbt({"fixR8.bdf"}, dir.path()),
            (RunResult{1, kConverting + "fix8.vbt\n", kBrokenFontErrors}));
  EXPECT_EQ(readFile(dir.file("fix8.vbt")), "an earlier conversion");
  EXPECT_EQ(modeOf(dir.file("fix8.vbt")) & 07777, 0640u);
  EXPECT_EQ(entriesOf(dir.path()), (std::vector<std::string>{"fix8.vbt", "fixR8.bdf"}));

  // Without an earlier file a failed conversion leaves none.
  TempDir fresh;
  writeFile(fresh.file("fixR8.bdf"), brokenFont());
  EXPECT_EQ(runBdf2vbt({"fixR8.bdf"}, fresh.path()),
            (RunResult{1, kConverting + "fix8.vbt\n", kBrokenFontErrors}));
  EXPECT_EQ(entriesOf(fresh.path()), std::vector<std::string>{"fixR8.bdf"});
}

TEST(OutputTarget, CompletedConversionReplacesAnEarlierFile) {
  TempDir dir;
  writeFile(dir.file("fixR8.bdf"), goodFont());
  writeFile(dir.file("fix8.vbt"), std::string(10000, 'x'));
  EXPECT_EQ(runBdf2vbt({"fixR8.bdf"}, dir.path()), (RunResult{0, kConverting + "fix8.vbt\n", ""}));
  EXPECT_EQ(readFile(dir.file("fix8.vbt")), goodBytes());
  EXPECT_EQ(entriesOf(dir.path()), (std::vector<std::string>{"fix8.vbt", "fixR8.bdf"}));
}

TEST(OutputTarget, WritesThroughSymbolicLinksToTheirFinalTarget) {
  TempDir dir;
  writeFile(dir.file("fixR8.bdf"), goodFont());
  ASSERT_EQ(mkdir(dir.file("real").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(dir.file("links").c_str(), 0755), 0);
  writeFile(dir.file("real/old.vbt"), "old");
  // fix8.vbt -> links/hop -> ../real/old.vbt (relative to each link's place).
  ASSERT_EQ(symlink("../real/old.vbt", dir.file("links/hop").c_str()), 0);
  ASSERT_EQ(symlink("links/hop", dir.file("fix8.vbt").c_str()), 0);
  // A dangling link: its target is created.
  ASSERT_EQ(symlink("real/new.vbt", dir.file("dangling.vbt").c_str()), 0);

  EXPECT_EQ(runBdf2vbt({"fixR8.bdf"}, dir.path()), (RunResult{0, kConverting + "fix8.vbt\n", ""}));
  EXPECT_EQ(runBdf2vbt({"-O", "dangling.vbt", "fixR8.bdf"}, dir.path()),
            (RunResult{0, kConverting + "dangling.vbt\n", ""}));

  const std::string bytes = goodBytes();
  EXPECT_TRUE(S_ISLNK(modeOf(dir.file("fix8.vbt"))));
  EXPECT_TRUE(S_ISLNK(modeOf(dir.file("links/hop"))));
  EXPECT_TRUE(S_ISLNK(modeOf(dir.file("dangling.vbt"))));
  EXPECT_EQ(readFile(dir.file("real/old.vbt")), bytes);
  EXPECT_EQ(readFile(dir.file("real/new.vbt")), bytes);
  EXPECT_EQ(entriesOf(dir.path()),
            (std::vector<std::string>{"dangling.vbt", "fix8.vbt", "fixR8.bdf", "links/hop",
                                      "real/new.vbt", "real/old.vbt"}));
}

TEST(OutputTarget, FailedConversionThroughALinkLeavesItsTargetUntouched) {
  TempDir dir;
  writeFile(dir.file("fixR8.bdf"), brokenFont());
  ASSERT_EQ(mkdir(dir.file("real").c_str(), 0755), 0);
  writeFile(dir.file("real/old.vbt"), "old");
  ASSERT_EQ(symlink("real/old.vbt", dir.file("fix8.vbt").c_str()), 0);
  EXPECT_EQ(runBdf2vbt({"fixR8.bdf"}, dir.path()),
            (RunResult{1, kConverting + "fix8.vbt\n", kBrokenFontErrors}));
  EXPECT_TRUE(S_ISLNK(modeOf(dir.file("fix8.vbt"))));
  EXPECT_EQ(readFile(dir.file("real/old.vbt")), "old");
  EXPECT_EQ(entriesOf(dir.path()),
            (std::vector<std::string>{"fix8.vbt", "fixR8.bdf", "real/old.vbt"}));
}

// Reads a FIFO from a thread, so that the program can open it for writing.
class FifoReader {
 public:
  explicit FifoReader(std::string path)
      : path_(std::move(path)), thread_([this] {
          int fd = open(path_.c_str(), O_RDONLY);
          if (fd < 0) return;
          char buffer[4096];
          for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) {
            received_.append(buffer, static_cast<size_t>(n));
          }
          close(fd);
        }) {}
  ~FifoReader() { finish(); }
  FifoReader(const FifoReader&) = delete;
  FifoReader& operator=(const FifoReader&) = delete;

  // Waits for the reader; if the program never opened the FIFO, a writer
  // of our own lets the reader's open return.
  const std::string& finish() {
    if (thread_.joinable()) {
      int fd = open(path_.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) close(fd);
      thread_.join();
    }
    return received_;
  }

 private:
  std::string path_;
  std::string received_;
  std::thread thread_;
};

TEST(OutputTarget, FifoIsWrittenDirectlyAndCannotTakeTheHeader) {
  TempDir dir;
  writeFile(dir.file("fixR8.bdf"), goodFont());
  ASSERT_EQ(mkfifo(dir.file("pipe.vbt").c_str(), 0644), 0);
  FifoReader reader(dir.file("pipe.vbt"));
  const RunResult run = runBdf2vbt({"-O", "pipe.vbt", "fixR8.bdf"}, dir.path());
  const std::string received = reader.finish();

  EXPECT_EQ(run, (RunResult{1, kConverting + "pipe.vbt\n",
                            "Can not write output file pipe.vbt: Illegal seek\n"}));
  EXPECT_TRUE(S_ISFIFO(modeOf(dir.file("pipe.vbt"))));
  EXPECT_EQ(entriesOf(dir.path()), (std::vector<std::string>{"fixR8.bdf", "pipe.vbt"}));
  // Everything but the final header went through.
  const std::string bytes = goodBytes();
  ASSERT_EQ(received.size(), bytes.size());
  EXPECT_EQ(received.substr(44), bytes.substr(44));
}

TEST(OutputTarget, FifoOfAFailedConversionGetsNoWriteMessage) {
  TempDir dir;
  writeFile(dir.file("fixR8.bdf"), brokenFont());
  ASSERT_EQ(mkfifo(dir.file("pipe.vbt").c_str(), 0644), 0);
  FifoReader reader(dir.file("pipe.vbt"));
  const RunResult run = runBdf2vbt({"-O", "pipe.vbt", "fixR8.bdf"}, dir.path());
  reader.finish();
  EXPECT_EQ(run, (RunResult{1, kConverting + "pipe.vbt\n", kBrokenFontErrors}));
  EXPECT_TRUE(S_ISFIFO(modeOf(dir.file("pipe.vbt"))));
  EXPECT_EQ(entriesOf(dir.path()), (std::vector<std::string>{"fixR8.bdf", "pipe.vbt"}));
}

TEST(OutputTarget, CharacterDeviceIsWrittenDirectly) {
  if (geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
  TempDir dir;
  writeFile(dir.file("fixR8.bdf"), goodFont());
  // A node of the null device, inside the test's own directory.
  const std::string node = dir.file("null.vbt");
  if (mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
    GTEST_SKIP() << "no device node can be made here: " << strerror(errno);
  }
  const RunResult run = runBdf2vbt({"-O", "null.vbt", "fixR8.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{0, kConverting + "null.vbt\n", ""}));
  EXPECT_TRUE(S_ISCHR(modeOf(node)));
  EXPECT_EQ(entriesOf(dir.path()), (std::vector<std::string>{"fixR8.bdf", "null.vbt"}));

  writeFile(dir.file("brokenR8.bdf"), brokenFont());
  const RunResult failed = runBdf2vbt({"-O", "null.vbt", "brokenR8.bdf"}, dir.path());
  EXPECT_EQ(failed, (RunResult{1, "Converting brokenR8.bdf to null.vbt\n", kBrokenFontErrors}));
  EXPECT_TRUE(S_ISCHR(modeOf(node)));
  EXPECT_EQ(entriesOf(dir.path()),
            (std::vector<std::string>{"brokenR8.bdf", "fixR8.bdf", "null.vbt"}));
}

TEST(OutputTarget, UnreadableInputEndsTheRunWithoutOutput) {
  if (!canRunUnprivileged()) GTEST_SKIP() << "the program is out of an unprivileged user's reach";
  TempDir dir;
  ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
  for (const char* name : {"fooR8.bdf", "fixR8.bdf", "barR8.bdf"}) {
    writeFile(dir.file(name), goodFont());
    ASSERT_EQ(chmod(dir.file(name).c_str(), 0644), 0);
  }
  ASSERT_EQ(chmod(dir.file("fixR8.bdf").c_str(), 0), 0);
  const RunResult run =
      runBdf2vbt({"fooR8.bdf", "fixR8.bdf", "barR8.bdf"}, dir.path(), dropPrivileges);
  EXPECT_EQ(run, (RunResult{255, "Converting fooR8.bdf to foo8.vbt\n",
                            "Can not open input file: \n: Permission denied\n"}));
  EXPECT_EQ(entriesOf(dir.path()),
            (std::vector<std::string>{"barR8.bdf", "fixR8.bdf", "foo8.vbt", "fooR8.bdf"}));
}

}  // namespace
