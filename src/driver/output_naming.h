// Output file names derived from input file names.
#ifndef BDF2VBT_DRIVER_OUTPUT_NAMING_H
#define BDF2VBT_DRIVER_OUTPUT_NAMING_H

#include <optional>
#include <string>
#include <string_view>

// Shortens a base name of the form family, style letters, point size
// (courBO12) to family, size and lower-case style letters (cour12bi): 'B'
// gives 'b', 'I' and 'O' give 'i', at most 5 of them; anything after the
// size is dropped. A name without one of B, I, O, R is kept as it is.
std::string shortenFontName(std::string_view base_name);

// The output file name for the input path `operand` (cour12bi.vbt for
// fonts/courBO12.bdf), or nullopt when the extension of its base name (after
// the last '.') is not exactly "bdf".
std::optional<std::string> outputNameFor(std::string_view operand);

#endif  // BDF2VBT_DRIVER_OUTPUT_NAMING_H
