// The plain report of vbtdump: the header in words, the name record and a
// summary of the glyphs.
#ifndef BDF2VBT_INSPECT_SUMMARY_H
#define BDF2VBT_INSPECT_SUMMARY_H

#include <string>

namespace vbtdump {

class VbtFile;

// The header fields in words, one per line; `name` names the file. Needs a
// file with a header.
std::string describeHeader(const VbtFile& file, const std::string& name);

// The name record and the counts of images, fillers and image bytes. Needs a
// file that checkFile() found sound.
std::string describeContents(const VbtFile& file);

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_SUMMARY_H
