// The text form of a VBT2 file, field by field, for reading and for diffing
// two files: the header fields, the name record, one line per code of the
// range (a run of one-byte fillers at consecutive positions takes one line),
// and the bytes of the image area that no code points at.
#ifndef BDF2VBT_INSPECT_FIELD_DUMP_H
#define BDF2VBT_INSPECT_FIELD_DUMP_H

#include <string>

namespace vbtdump {

class VbtFile;

// The whole text form of `file`. Needs a file that checkFile() found sound.
std::string dumpFields(const VbtFile& file);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_FIELD_DUMP_H
