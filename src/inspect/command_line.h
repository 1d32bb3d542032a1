// The command line of vbtdump.
#ifndef BDF2VBT_INSPECT_COMMAND_LINE_H
#define BDF2VBT_INSPECT_COMMAND_LINE_H

#include <string>
#include <vector>

#include "convert/options.h"
#include "inspect/png_sheet.h"

namespace vbtdump {

enum class Mode { kSummary, kFields, kCheck, kText, kPng, kCompare, kBdf, kCoverage, kLint, kOutputName, kHelp, kVersion };

struct Command {
  Mode mode = Mode::kSummary;
  std::vector<std::string> operands;        // FILE.vbt, FONT.bdf FILE.vbt, FILE.vbt|FONT.bdf, or FONT.bdf...
  std::string text;                         // --text
  std::string png_path;                     // --png
  std::string bdf_path;                     // --bdf
  std::string strings_path;                 // --coverage: the text to cover
  SheetRequest sheet;                       // --scale and --codes
  bool force = false;                       // --force: --bdf and --png may replace any file
  ConversionOptions conversion;             // --compare, --lint: the conversion's options
};

// Exit statuses.
constexpr int kExitOk = 0;
constexpr int kExitInvalid = 1;   // unreadable or invalid file, or a mismatch
constexpr int kExitUsage = 2;

// Parses argv. On a usage error returns false and sets *error to the message
// (without the program name).
bool parseCommandLine(int argc, char** argv, Command* command, std::string* error);

// The text of --help.
std::string helpText();

}  // namespace vbtdump

#endif  // BDF2VBT_INSPECT_COMMAND_LINE_H
