// bdf2vbt: converts BDF bitmap fonts into VBT2 font files.
#include <malloc.h>

#include "driver/run.h"
#include "io/process_signals.h"
#include "io/standard_output.h"

int main(int argc, char** argv) {
  reserveStandardDescriptors();
  installSignalHandlers();
  // The tables of a large font come from the heap and go back to it, to be
  // used again by the next font: released to the system one block at a time
  // they would cost a system call each, and more when other cores must
  // forget the pages.
  if (BDF2VBT_HEAP_TUNING) {
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
  }
  return runConverter(argc, argv);
}
