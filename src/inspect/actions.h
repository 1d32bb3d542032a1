// What vbtdump does for each mode of its command line.
#ifndef BDF2VBT_INSPECT_ACTIONS_H
#define BDF2VBT_INSPECT_ACTIONS_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace vbtdump {

struct Command;

// Reads the whole file at `path` into *bytes. False, with *error set to the
// system's reason, when it cannot be read.
bool readWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);

// Carries out a parsed command: reports on `out`, errors on `err` (each
// naming the file). Returns the exit status.
int runCommand(const Command& command, FILE* out, FILE* err);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_ACTIONS_H
