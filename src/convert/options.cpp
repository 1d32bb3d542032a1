#include "convert/options.h"

#include <cstdlib>
#include <unistd.h>

#include "convert/wrap_add.h"

namespace {

// strtol with base 0 (decimal, 0x hex, 0 octal), kept to 32 bits.
int32_t codeArgument(const char* text) { return static_cast<int32_t>(strtol(text, nullptr, 0)); }

// atoi, as glibc computes it, without its undefined overflow.
int32_t decimalArgument(const char* text) { return static_cast<int32_t>(strtol(text, nullptr, 10)); }

void setOutputDirectory(RunOptions* options, const std::string& dir) {
  options->output_dir = dir;
  if (!dir.empty() && dir.back() != '/') options->output_dir += '/';
}

}  // namespace

bool parseRunOptions(int argc, char** argv, RunOptions* options, int* first_operand) {
  ConversionOptions& c = options->conversion;
  int32_t count = 0;
  bool ok = true;
  int option;
  // '+': options end at the first operand, as POSIX says, also under glibc.
  while (ok && (option = getopt(argc, argv, "+a:b:o:O:u:w:vN:S:E:A:")) != -1) {
    switch (option) {
      case 'a': c.box_height_adjustment = static_cast<int16_t>(decimalArgument(optarg)); break;
      case 'b': c.baseline = decimalArgument(optarg); break;
      case 'u': c.underline = decimalArgument(optarg); break;
      case 'o': setOutputDirectory(options, optarg); break;
      case 'O': options->output_path = optarg; break;
      case 'w': c.fixed_width = true; break;
      case 'v': c.verbose = wrapAdd(c.verbose, 1); break;
      case 'N': count = codeArgument(optarg); break;
      case 'S': c.lowest_code = codeArgument(optarg); break;
      case 'E': c.code_limit = codeArgument(optarg); break;
      case 'A': c.code_offset = codeArgument(optarg); break;
      default: ok = false; break;
    }
  }
  if (count != 0) c.code_limit = wrapAdd(c.lowest_code, count);
  *first_operand = optind;
  return ok;
}
