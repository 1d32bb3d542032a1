// vbtdump: inspects, validates, previews and round-trip-checks VBT2 files.
#include <cstdio>
#include <string>

#include "inspect/actions.h"
#include "inspect/command_line.h"
#include "io/process_signals.h"
#include "io/standard_output.h"

int main(int argc, char** argv) {
  reserveStandardDescriptors();
  installSignalHandlers();
  vbtdump::Command command;
  std::string error;
  if (!vbtdump::parseCommandLine(argc, argv, &command, &error)) {
    fprintf(stderr, "vbtdump: %s\nTry 'vbtdump --help' for more information.\n", error.c_str());
    return vbtdump::kExitUsage;
  }
  return finishStandardOutput(vbtdump::runCommand(command, stdout, stderr),
                              "vbtdump: can not write standard output");
}
