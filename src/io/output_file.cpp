#include "io/output_file.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <set>
#include <vector>

#include "io/process_signals.h"

namespace {

constexpr int kMaxLinkHops = 40;
constexpr int kMaxNameTries = 100;

std::string directoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The path `path` leads to when its symbolic links are followed (for a
// dangling link, where its file would be created). Unlike realpath it needs
// no search permission on the folders above.
bool followLinks(const std::string& path, std::string* resolved) {
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

// The prefix of every temporary file of this process: .bdf2vbt-PID-.
const std::string& temporaryPrefix() {
  static const std::string prefix = ".bdf2vbt-" + std::to_string(getpid()) + "-";
  return prefix;
}

// The process that named the temporary file `name` (.bdf2vbt-PID-...), or 0.
pid_t ownerOf(const char* name) {
  const char* digits = name + strlen(".bdf2vbt-");
  if (strncmp(name, ".bdf2vbt-", strlen(".bdf2vbt-")) != 0 || *digits < '1' || *digits > '9') return 0;
  char* end = nullptr;
  const long pid = strtol(digits, &end, 10);
  return *end == '-' && pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

// A kill -9 between naming a temporary file and renaming it leaves it
// behind: the first output of a run into a folder removes those whose
// process is gone. A live process's are never touched.
void removeStaleTemporaries(const std::string& dir) {
  static std::set<std::string> cleaned;
  if (!cleaned.insert(dir).second) return;
  DIR* folder = opendir(dir.c_str());
  if (!folder) return;
  while (const dirent* entry = readdir(folder)) {
    const pid_t owner = ownerOf(entry->d_name);
    if (owner == 0 || owner == getpid() || kill(owner, 0) == 0 || errno != ESRCH) continue;
    struct stat info;
    if (fstatat(dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)) {
      unlinkat(dirfd(folder), entry->d_name, 0);
    }
  }
  closedir(folder);
}

mode_t newFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// Unnamed files can be given a name through /proc.
bool canNameUnnamedFiles() {
  static const bool usable = access("/proc/self/fd", X_OK) == 0;
  return usable;
}

}  // namespace

bool fileIdOf(const std::string& path, FileId* id) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  *id = FileId{info.st_dev, info.st_ino};
  return true;
}

bool OutputFile::open(const std::string& path) {
  struct stat st;
  if (path.empty()) {
    errno = ENOENT;
    return false;
  }
  if (stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      errno = EISDIR;
      return false;
    }
    if (!S_ISREG(st.st_mode)) {
      fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      seekable_ = fd_ >= 0 && lseek(fd_, 0, SEEK_CUR) >= 0;
      return fd_ >= 0;
    }
    // Only a file that could be opened for writing may be replaced; through
    // links, the file they lead to.
    int probe = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (probe < 0) return false;
    close(probe);
    if (!followLinks(path, &final_path_)) return false;
    replacing_ = true;
    mode_ = st.st_mode & 0777;
  } else if (errno == ENOENT && path.back() == '/') {
    // As creating the file would: a name ending in '/' names a directory.
    errno = EISDIR;
    return false;
  } else if (errno != ENOENT || !followLinks(path, &final_path_)) {
    return false;
  }
  return createTemporary();
}

bool OutputFile::createTemporary() {
  const std::string dir = directoryOf(final_path_);
  removeStaleTemporaries(dir);
  if (canNameUnnamedFiles()) {
    fd_ = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      unnamed_ = true;
      // A mode that cannot be set leaves the one the file was made with.
      if (replacing_) fchmod(fd_, mode_);
      return true;
    }
    // Unnamed files unknown to the kernel or the file system: name it at once.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
  }
  temp_path_ = dir + "/" + temporaryPrefix() + "XXXXXX";
  fd_ = mkostemp(temp_path_.data(), O_CLOEXEC);
  if (fd_ < 0) {
    int saved = errno;
    temp_path_.clear();
    errno = saved;
    return false;
  }
  watchTemporaryFile(temp_path_.c_str());
  fchmod(fd_, replacing_ ? mode_ : newFileMode());
  return true;
}

// Links the complete unnamed file in: straight to the target when there was
// no file there, else (also when one appeared meanwhile) under a name of its
// own in the target's folder, from which it is renamed onto the target.
int OutputFile::nameTemporary() {
  char proc_path[64];
  snprintf(proc_path, sizeof proc_path, "/proc/self/fd/%d", fd_);
  if (!replacing_) {
    if (linkat(AT_FDCWD, proc_path, AT_FDCWD, final_path_.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno != EEXIST) return errno;
  }
  const std::string base = directoryOf(final_path_) + "/" + temporaryPrefix();
  for (int n = 0; n < kMaxNameTries; ++n) {
    temp_path_ = base + std::to_string(n);
    if (linkat(AT_FDCWD, proc_path, AT_FDCWD, temp_path_.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    const int error = errno;
    temp_path_.clear();
    if (error != EEXIST) return error;
  }
  return EEXIST;
}

int OutputFile::commit(int write_error) {
  // An unnamed file has a name only from its link to its rename: signals
  // wait until it is in place (or removed), so that none leaves it behind.
  std::optional<SignalsHeld> held;
  if (unnamed_) held.emplace();
  int error = write_error;
  struct stat info;
  if (error == 0 && fstat(fd_, &info) == 0) committed_ = FileId{info.st_dev, info.st_ino};
  if (error == 0 && unnamed_) error = nameTemporary();
  if (close(fd_) != 0 && error == 0) error = errno;
  fd_ = -1;
  if (!temp_path_.empty()) {
    if (error == 0 && rename(temp_path_.c_str(), final_path_.c_str()) != 0) error = errno;
    if (error != 0) unlink(temp_path_.c_str());
  }
  watchTemporaryFile(nullptr);
  temp_path_.clear();
  unnamed_ = false;
  return error;
}

void OutputFile::discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (!temp_path_.empty()) unlink(temp_path_.c_str());
  watchTemporaryFile(nullptr);
  temp_path_.clear();
  unnamed_ = false;
}

int writeWholeFile(const std::string& path, const uint8_t* data, size_t size) {
  OutputFile target;
  if (!target.open(path)) return errno;
  int error = 0;
  while (size > 0 && error == 0) {
    const ssize_t done = write(target.fd(), data, size);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) {
      error = done < 0 ? errno : EIO;
    } else {
      data += done;
      size -= static_cast<size_t>(done);
    }
  }
  return target.commit(error);
}
