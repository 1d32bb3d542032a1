// bdf2vbt: converts BDF bitmap fonts into VBT2 font files.
#include <csignal>

#include "driver/run.h"
#include "io/standard_output.h"

int main(int argc, char** argv) {
  // Beyond a file size limit, writes fail and are reported instead.
  std::signal(SIGXFSZ, SIG_IGN);
  return finishStandardOutput(runConverter(argc, argv), "Can not write standard output");
}
