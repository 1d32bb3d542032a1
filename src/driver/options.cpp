#include "driver/options.h"

#include <cstdlib>
#include <unistd.h>

#include "conversion_state.h"

namespace {

// strtol with base 0 (decimal, 0x hex, 0 octal), kept to 32 bits.
int32_t codeArgument(const char* text) {
  return static_cast<int32_t>(strtol(text, nullptr, 0));
}

// atoi, as glibc computes it, without its undefined overflow.
int32_t atoiArgument(const char* text) {
  return static_cast<int32_t>(strtol(text, nullptr, 10));
}

void setOutputDirectory(ConversionState& st, const std::string& dir) {
  st.fname = dir;
  if (!dir.empty() && dir.back() != '/') st.fname += '/';
}

}  // namespace

bool parseOptions(ConversionState& st, int argc, char** argv, int* first_operand) {
  int32_t count = 0;
  bool ok = true;
  int option;
  // '+': options end at the first operand, as POSIX says, also under glibc.
  while (ok && (option = getopt(argc, argv, "+a:b:o:O:u:w:vN:S:E:A:")) != -1) {
    switch (option) {
      case 'a': st.bound_height_adjustment = static_cast<int16_t>(atoiArgument(optarg)); break;
      case 'b': st.arg_baseline = atoiArgument(optarg); break;
      case 'u': st.arg_underline = atoiArgument(optarg); break;
      case 'o': setOutputDirectory(st, optarg); break;
      case 'O': st.forceOname = optarg; break;
      case 'w': st.fix_width = 1; break;
      case 'v': st.verbose = wrapAdd(st.verbose, 1); break;
      case 'N': count = codeArgument(optarg); break;
      case 'S': st.ForceMinChar = codeArgument(optarg); break;
      case 'E': st.ForceMaxChar = codeArgument(optarg); break;
      case 'A': st.ForceAsciiOffset = codeArgument(optarg); break;
      default: ok = false; break;
    }
  }
  if (count != 0) st.ForceMaxChar = wrapAdd(st.ForceMinChar, count);
  *first_operand = optind;
  return ok;
}
