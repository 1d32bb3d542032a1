// The loop over the file operands.
#ifndef BDF2VBT_DRIVER_CONVERT_LOOP_H
#define BDF2VBT_DRIVER_CONVERT_LOOP_H

struct ConversionState;
class BdfInput;
class OutputFile;

// Exit statuses of a run.
constexpr int kExitConverted = 0;    // every operand converted, no error reported
constexpr int kExitFailed = 1;       // some operand or option failed
constexpr int kExitCannotOpen = 255; // an input or output could not be opened

// Resets what each operand starts afresh: the code range, the font maxima,
// baseline and underline, the image offset table.
void resetPerFileState(ConversionState& st);

// Converts one BDF text into `out`: reserves the header, runs the header,
// properties and glyph stages in turn. True when the glyph stage completed
// the file.
bool convertStream(ConversionState& st, BdfInput& in, OutputFile& out);

// Converts argv[first_operand..argc-1] in turn and returns the exit status;
// `options_ok` is false when the options had an error. Stops at once when a
// file cannot be opened.
int convertOperands(ConversionState& st, int argc, char** argv, int first_operand,
                    bool options_ok);

#endif  // BDF2VBT_DRIVER_CONVERT_LOOP_H
