// libFuzzer target: the whole conversion of one BDF text with fuzzed options.
#include <cstdlib>

#include "fuzz_conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A second operand with the same text must give the same file.
  if (!runFuzzedConversion(data, size)) abort();
  return 0;
}
