// The command line options.
#ifndef BDF2VBT_DRIVER_OPTIONS_H
#define BDF2VBT_DRIVER_OPTIONS_H

struct ConversionState;

// Parses the options at the front of argv into the state, by the POSIX rules
// (the first operand ends them). Stops at the first unknown option or missing
// argument, which getopt reports itself. Sets *first_operand to the index of
// the first file operand. Returns false when getopt reported an error.
bool parseOptions(ConversionState& st, int argc, char** argv, int* first_operand);

#endif  // BDF2VBT_DRIVER_OPTIONS_H
