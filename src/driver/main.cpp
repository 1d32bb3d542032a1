// bdf2vbt: converts BDF bitmap fonts into VBT2 font files.
#include "driver/run.h"
#include "io/process_signals.h"
#include "io/standard_output.h"

int main(int argc, char** argv) {
  reserveStandardDescriptors();
  installSignalHandlers();
  return runConverter(argc, argv);
}
