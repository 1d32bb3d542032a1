// A run of bdf2vbt: its operands converted one after the other.
#ifndef BDF2VBT_DRIVER_RUN_H
#define BDF2VBT_DRIVER_RUN_H

// Exit statuses of a run.
constexpr int kExitConverted = 0;      // every operand converted, nothing reported
constexpr int kExitFailed = 1;         // some operand or option failed
constexpr int kExitCannotOpen = 255;   // an input or output could not be opened

// Parses the options, converts every file operand in turn and returns the
// exit status. Stops at once when a file cannot be opened.
int runConverter(int argc, char** argv);

#endif  // BDF2VBT_DRIVER_RUN_H
