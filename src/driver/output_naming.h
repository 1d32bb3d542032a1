// Output file names derived from input file names.
#ifndef BDF2VBT_DRIVER_OUTPUT_NAMING_H
#define BDF2VBT_DRIVER_OUTPUT_NAMING_H

#include <string>

// Splits `path` at its last '/' and the last '.' of the base name after it:
// dir gets the part up to and including the '/', name the base name before the
// dot, ext what follows the dot (empty without a dot). Any of the outputs may
// be null. Returns 1 when path is null, else 0.
int fnsplit(const char* path, std::string* dir, std::string* name, std::string* ext);

// Shortens a base name of the form family, style letters, point size (courBO12)
// to family, size and lower-case style letters (cour12bi): 'B' gives 'b', 'I'
// and 'O' give 'i', at most 5 of them. A name without one of B, I, O, R is kept
// as it is. Returns 1 when an argument is null, else 0.
int bdfname_2_vbtname(const char* basename, std::string* out);

#endif  // BDF2VBT_DRIVER_OUTPUT_NAMING_H
