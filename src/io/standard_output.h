// The end of a program's standard output.
#ifndef BDF2VBT_IO_STANDARD_OUTPUT_H
#define BDF2VBT_IO_STANDARD_OUTPUT_H

// Flushes standard output; when anything written there was lost, reports it
// on standard error as `what` (": " and the system's reason follow when it is
// known) and turns `status` 0 into 1. Returns the status to exit with.
int finishStandardOutput(int status, const char* what);

#endif  // BDF2VBT_IO_STANDARD_OUTPUT_H
