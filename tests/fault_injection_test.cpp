// Failures of the system around a conversion: file size limits, unwritable
// directories, outputs that are directories, signals. None may leave a broken
// or partial output, and every one must be reported.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "test_support.h"

namespace {

const char kConverting[] = "Converting testR8.bdf to test8.vbt\n";

std::string workedExample() { return readFile(testDataDir() + "/golden/testR8.bdf"); }

std::string goldenOutput() { return readFile(testDataDir() + "/golden/test8.vbt"); }

// Runs the worked example in `dir` with the output file size limited to
// `limit` bytes.
RunResult convertWithSizeLimit(const TempDir& dir, rlim_t limit) {
  return runBdf2vbt({"testR8.bdf"}, dir.path(), [limit] {
    signal(SIGXFSZ, SIG_IGN);
    struct rlimit rl = {limit, limit};
    setrlimit(RLIMIT_FSIZE, &rl);
  });
}

TEST(FaultInjection, FileSizeLimitFailsTheConversionAndKeepsTheEarlierFile) {
  const std::string golden = goldenOutput();
  for (rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{44}, rlim_t{45}, rlim_t{59}, rlim_t{60},
                       rlim_t{168}, rlim_t{golden.size() - 1}}) {
    SCOPED_TRACE("limit " + std::to_string(limit));
    TempDir dir;
    writeFile(dir.file("testR8.bdf"), workedExample());
    writeFile(dir.file("test8.vbt"), "earlier file");
    RunResult run = convertWithSizeLimit(dir, limit);
    EXPECT_EQ(run, (RunResult{1, kConverting, "Can not write output file test8.vbt: File too large\n"}));
    EXPECT_EQ(readFile(dir.file("test8.vbt")), "earlier file");
    EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{"test8.vbt", "testR8.bdf"}));
  }
}

TEST(FaultInjection, FileSizeLimitOfExactlyTheFileSizeSucceeds) {
  TempDir dir;
  writeFile(dir.file("testR8.bdf"), workedExample());
  RunResult run = convertWithSizeLimit(dir, goldenOutput().size());
  EXPECT_EQ(run, (RunResult{0, kConverting, ""}));
  EXPECT_EQ(readFile(dir.file("test8.vbt")), goldenOutput());
}

TEST(FaultInjection, UnwritableOutputDirectoryIsAnOpenFailure) {
  if (!canRunUnprivileged()) GTEST_SKIP() << "the program is out of an unprivileged user's reach";
  TempDir dir;
  chmod(dir.path().c_str(), 0755);
  writeFile(dir.file("testR8.bdf"), workedExample());
  chmod(dir.file("testR8.bdf").c_str(), 0644);
  ASSERT_EQ(mkdir(dir.file("locked").c_str(), 0555), 0);
  chmod(dir.file("locked").c_str(), 0555);
  RunResult run = runBdf2vbt({"-o", "locked", "testR8.bdf", "testR8.bdf"}, dir.path(),
                             dropPrivileges);
  EXPECT_EQ(run, (RunResult{255, "", "Can not open output file: \n: Permission denied\n"}));
  EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{"testR8.bdf"}));
}

TEST(FaultInjection, ReadOnlyExistingOutputIsAnOpenFailureAndStaysUntouched) {
  if (!canRunUnprivileged()) GTEST_SKIP() << "the program is out of an unprivileged user's reach";
  TempDir dir;
  chmod(dir.path().c_str(), 0777);
  writeFile(dir.file("testR8.bdf"), workedExample());
  chmod(dir.file("testR8.bdf").c_str(), 0644);
  writeFile(dir.file("test8.vbt"), "read-only");
  chmod(dir.file("test8.vbt").c_str(), 0444);
  RunResult run = runBdf2vbt({"testR8.bdf"}, dir.path(), dropPrivileges);
  EXPECT_EQ(run, (RunResult{255, "", "Can not open output file: \n: Permission denied\n"}));
  EXPECT_EQ(readFile(dir.file("test8.vbt")), "read-only");
}

TEST(FaultInjection, OutputPathThatIsADirectoryIsAnOpenFailure) {
  TempDir dir;
  writeFile(dir.file("testR8.bdf"), workedExample());
  ASSERT_EQ(mkdir(dir.file("test8.vbt").c_str(), 0777), 0);
  RunResult run = runBdf2vbt({"testR8.bdf", "never-tried.bdf"}, dir.path());
  EXPECT_EQ(run, (RunResult{255, "", "Can not open output file: \n: Is a directory\n"}));
  EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{"testR8.bdf"}));
}

TEST(FaultInjection, OutputThatIsTheInputIsRefusedAndTheInputKept) {
  TempDir dir;
  writeFile(dir.file("testR8.bdf"), workedExample());
  ASSERT_EQ(link(dir.file("testR8.bdf").c_str(), dir.file("hardlink.vbt").c_str()), 0);
  for (const char* output : {"testR8.bdf", "./testR8.bdf", "hardlink.vbt"}) {
    RunResult run = runBdf2vbt({"-O", output, "testR8.bdf"}, dir.path());
    EXPECT_EQ(run, (RunResult{255, "", std::string("Can not open output file: \n: ") + output +
                                           " is the input file\n"}));
    EXPECT_EQ(readFile(dir.file("testR8.bdf")), workedExample());
  }
}

// With standard output a pipe nobody reads, the first verbose line kills the
// process while its temporary file exists.
TEST(FaultInjection, SignalDuringConversionLeavesNoTemporaryFile) {
  TempDir dir;
  writeFile(dir.file("6x13.bdf"), readFile(testDataDir() + "/fonts/6x13.bdf"));
  RunResult run = runBdf2vbt({"-v", "6x13.bdf"}, dir.path(), [] {
    int fds[2];
    if (pipe(fds) != 0) _exit(124);
    close(fds[0]);
    dup2(fds[1], 1);
    signal(SIGPIPE, SIG_DFL);
  });
  EXPECT_EQ(run.status, 128 + SIGPIPE);
  EXPECT_EQ(listFiles(dir.path()), (std::vector<std::string>{"6x13.bdf"}));
}

TEST(FaultInjection, CreatedFileHasThePermissionsOfAPlainCreate) {
  for (mode_t mask : {mode_t{022}, mode_t{077}, mode_t{0}}) {
    TempDir dir;
    writeFile(dir.file("testR8.bdf"), workedExample());
    writeFile(dir.file("test8.vbt"), "replaced");
    chmod(dir.file("test8.vbt").c_str(), 0600);
    RunResult run = runBdf2vbt({"testR8.bdf"}, dir.path(), [mask] { umask(mask); });
    ASSERT_EQ(run.status, 0);
    struct stat info;
    ASSERT_EQ(stat(dir.file("test8.vbt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
  }
}

}  // namespace

namespace {

// Standard output a pipe nobody reads, with SIGPIPE ignored as the caller
// asked: the lost progress line is reported and the run does not succeed.
TEST(FaultInjection, LostStandardOutputIsReportedWhenSigpipeIsIgnored) {
  TempDir dir;
  writeFile(dir.file("testR8.bdf"), workedExample());
  RunResult run = runBdf2vbt({"testR8.bdf"}, dir.path(), [] {
    int fds[2];
    if (pipe(fds) != 0) _exit(124);
    close(fds[0]);
    dup2(fds[1], 1);
    signal(SIGPIPE, SIG_IGN);
  });
  EXPECT_EQ(run, (RunResult{1, "", "Can not write standard output: Broken pipe\n"}));
  EXPECT_EQ(readFile(dir.file("test8.vbt")), goldenOutput());
}

}  // namespace
