#include "io/standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

void reserveStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) close(opened);
  }
}

int finishStandardOutput(int status, const char* what) {
  const bool flushed = fflush(stdout) == 0;
  if (flushed && !ferror(stdout)) return status;
  // An earlier failed write left no reliable errno behind.
  if (flushed) {
    fprintf(stderr, "%s\n", what);
  } else {
    fprintf(stderr, "%s: %s\n", what, strerror(errno));
  }
  return status == 0 ? 1 : status;
}
