// What vbtdump does for each mode of its command line.
#ifndef BDF2VBT_INSPECT_ACTIONS_H
#define BDF2VBT_INSPECT_ACTIONS_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vbtdump {

struct Command;

// Carries out a parsed command: reports on `out`, errors on `err` (each
// naming the file). Returns the exit status.
int runCommand(const Command& command, FILE* out, FILE* err);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_ACTIONS_H
