// bdf2vbt: converts BDF bitmap fonts into VBT2 font files.
#include <csignal>
#include <memory>

#include "conversion_state.h"
#include "driver/convert_loop.h"
#include "driver/options.h"
#include "io/standard_output.h"

int main(int argc, char** argv) {
  // Beyond a file size limit, writes fail and are reported instead.
  std::signal(SIGXFSZ, SIG_IGN);
  auto st = std::make_unique<ConversionState>();
  int first_operand = 0;
  bool options_ok = parseOptions(*st, argc, argv, &first_operand);
  int status = convertOperands(*st, argc, argv, first_operand, options_ok);
  return finishStandardOutput(status, "Can not write standard output");
}
