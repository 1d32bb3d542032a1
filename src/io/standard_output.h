// The end of a program's standard output.
#ifndef BDF2VBT_IO_STANDARD_OUTPUT_H
#define BDF2VBT_IO_STANDARD_OUTPUT_H

// Opens /dev/null, for reading only, on each of the descriptors 0, 1 and 2
// that is closed: no file the program opens takes their place, and writes
// to a closed standard output or error fail as they would have.
void reserveStandardDescriptors();

// Flushes standard output; when anything written there was lost, reports it
// on standard error as `what` (": " and the system's reason follow when it is
// known) and turns `status` 0 into 1. Returns the status to exit with.
int finishStandardOutput(int status, const char* what);

#endif  // BDF2VBT_IO_STANDARD_OUTPUT_H
