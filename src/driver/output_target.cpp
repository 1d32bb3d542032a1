#include "driver/output_target.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "font/output_file.h"

namespace {

constexpr int kMaxLinkHops = 40;

std::string directoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The path a dangling symbolic link `path` would create its file at: its
// links followed while they lead somewhere that does not exist yet.
bool followDanglingLinks(const std::string& path, std::string* resolved) {
  std::string current = path;
  std::vector<char> target(PATH_MAX + 1);
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    ssize_t n = readlink(current.c_str(), target.data(), target.size());
    if (n < 0) {
      if (errno != EINVAL && errno != ENOENT) return false;
      *resolved = current;
      return true;
    }
    std::string next(target.data(), static_cast<size_t>(n));
    if (next[0] != '/' && current.find('/') != std::string::npos) {
      next = directoryOf(current) + "/" + next;
    }
    current = next;
  }
  errno = ELOOP;
  return false;
}

// The temporary file being written, removed by a signal that ends the process.
std::atomic<const char*> g_temporary{nullptr};

extern "C" void removeTemporaryAndDie(int signal_number) {
  if (const char* path = g_temporary.load()) unlink(path);
  std::signal(signal_number, SIG_DFL);
  std::raise(signal_number);
}

void watchTemporary(const std::string* path) {
  // Signals the caller has us ignore stay ignored.
  static const bool installed = [] {
    for (int s : {SIGHUP, SIGINT, SIGTERM, SIGPIPE}) {
      if (std::signal(s, removeTemporaryAndDie) == SIG_IGN) std::signal(s, SIG_IGN);
    }
    return true;
  }();
  (void)installed;
  g_temporary.store(path ? path->c_str() : nullptr);
}

mode_t createMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool OutputTarget::open(const std::string& path) {
  struct stat st;
  if (stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      errno = EISDIR;
      return false;
    }
    if (!S_ISREG(st.st_mode)) {
      fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      return fd_ >= 0;
    }
    // Only a file that could be opened for writing may be replaced.
    int probe = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (probe < 0) return false;
    close(probe);
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return false;
    final_path_ = real;
    free(real);
  } else if (errno != ENOENT || !followDanglingLinks(path, &final_path_)) {
    return false;
  }
  return createTemporary();
}

bool OutputTarget::createTemporary() {
  temp_path_ = directoryOf(final_path_) + "/.bdf2vbt-XXXXXX";
  fd_ = mkostemp(temp_path_.data(), O_CLOEXEC);
  if (fd_ < 0) {
    int saved = errno;
    temp_path_.clear();
    errno = saved;
    return false;
  }
  fchmod(fd_, createMode());
  watchTemporary(&temp_path_);
  return true;
}

int OutputTarget::commit(OutputFile& out) {
  out.flush();
  int error = out.error();
  if (close(fd_) != 0 && error == 0) error = errno;
  fd_ = -1;
  if (temp_path_.empty()) return error;
  if (error == 0 && rename(temp_path_.c_str(), final_path_.c_str()) != 0) error = errno;
  if (error != 0) unlink(temp_path_.c_str());
  watchTemporary(nullptr);
  temp_path_.clear();
  return error;
}

void OutputTarget::discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temp_path_.empty()) unlink(temp_path_.c_str());
  watchTemporary(nullptr);
  temp_path_.clear();
}
