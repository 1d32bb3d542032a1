// Validation of a VBT2 file against the format.
#ifndef BDF2VBT_INSPECT_CHECK_H
#define BDF2VBT_INSPECT_CHECK_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vbtdump {

class VbtFile;

// Every problem found in `file`, one sentence each, in file order: header,
// name record, tables, then each code of the range. Empty for a sound file.
std::vector<std::string> checkFile(const VbtFile& file);

// Validates the `size` bytes at `data` (any bytes at all). `report`, when
// given, receives one line per problem, or "ok\n". Returns the number of
// problems.
int checkVbt(const uint8_t* data, size_t size, std::string* report);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_CHECK_H
