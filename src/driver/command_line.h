// bdf2vbt's command line: the options, parsed once, and the operands. The
// conversion options also come with vbtdump's --compare, which reads them
// by the same letters.
#ifndef BDF2VBT_DRIVER_COMMAND_LINE_H
#define BDF2VBT_DRIVER_COMMAND_LINE_H

#include <cstddef>
#include <string>
#include <vector>

#include "convert/options.h"

// Everything the command line says.
struct RunOptions {
  ConversionOptions conversion;
  std::string output_dir;              // -o, with its trailing '/'; empty: here
  const char* output_path = nullptr;   // -O: the output path of every operand
};

// Parses the options at the front of argv by the POSIX rules (the first
// operand ends them), stopping at the first unknown option or missing
// argument, which getopt reports itself. Sets *first_operand to the index of
// the first file operand. Returns false when getopt reported an error.
bool parseRunOptions(int argc, char** argv, RunOptions* options, int* first_operand);

// Parses conversion options at the front of `args` as parseRunOptions does
// (-o, -O and -v are taken and ignored), without getopt: the first operand,
// or "--", ends them. Sets *first_operand to the index of the first operand.
// False, with *error set, for an unknown option or a missing argument.
bool parseConversionArguments(const std::vector<std::string>& args, ConversionOptions* options,
                              size_t* first_operand, std::string* error);

// bdf2vbt --help.
extern const char kUsageText[];

#endif  // BDF2VBT_DRIVER_COMMAND_LINE_H
