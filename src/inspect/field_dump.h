// The text form of a VBT2 file, field by field, for reading and for diffing
// two files: the header fields, the name record, one line per code of the
// range (a run of one-byte fillers at consecutive positions takes one line),
// and every byte no field shows (in the image area where no code points, or
// around the tables).
#ifndef BDF2VBT_INSPECT_FIELD_DUMP_H
#define BDF2VBT_INSPECT_FIELD_DUMP_H

#include <string>

namespace vbtdump {

class VbtFile;

// True when every part of `file` can be shown: a header with the magic, a
// name record, both tables and every image inside the file. Other problems
// (flags, reserved bytes, stray pixels) are shown as they are.
bool canDumpFields(const VbtFile& file);

// The whole text form of `file`. Needs a file canDumpFields() accepts.
std::string dumpFields(const VbtFile& file);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_FIELD_DUMP_H
