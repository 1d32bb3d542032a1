// An input mapped into memory that shrinks while it is read: whatever reads
// it, the process ends with the message and status 1, never silently by
// the signal the lost pages raise.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "io/input_bytes.h"
#include "io/process_signals.h"

namespace {

// Maps a file of 2 MiB, cuts it to nothing, and reads its last byte.
void readAfterTheFileShrank(const std::string& path) {
  installSignalHandlers();
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
  if (fd < 0 || ftruncate(fd, 2 << 20) != 0) _exit(3);
  InputBytes input;
  if (input.readAll(fd) != 0 || ftruncate(fd, 0) != 0) _exit(4);
  const volatile char last = input.text().back();
  (void)last;
  _exit(0);
}

TEST(InputBytesDeathTest, AnInputThatShrinksWhileItIsReadEndsTheProcessWithAMessage) {
  std::filesystem::create_directories(BDF2VBT_TEST_TMP);
  const std::string path = std::string(BDF2VBT_TEST_TMP) + "/shrinking-input-" + std::to_string(getpid());
  EXPECT_EXIT(readAfterTheFileShrank(path), testing::ExitedWithCode(1),
              "^Can not read input file: it shrank while it was read\n$");
  std::filesystem::remove(path);
}

}  // namespace
