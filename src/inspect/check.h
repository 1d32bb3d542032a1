// Validation of a VBT2 file against the format.
#ifndef BDF2VBT_INSPECT_CHECK_H
#define BDF2VBT_INSPECT_CHECK_H

#include <string>
#include <vector>

namespace vbtdump {

class VbtFile;

// Every problem found in `file`, one sentence each, in file order: header,
// name record, tables, then each code of the range. Empty for a sound file.
std::vector<std::string> checkFile(const VbtFile& file);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_CHECK_H
