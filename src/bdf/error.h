// Reporting of problems found in a BDF file.
#ifndef BDF2VBT_BDF_ERROR_H
#define BDF2VBT_BDF_ERROR_H

#include <cstdint>

struct ConversionState;

// Writes "BDF Error: " and the printf-formatted message to the error stream,
// adding no line feed, and notes that the operand had an error.
void bdfError(ConversionState& st, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Decodes the first two characters of `text` as a hexadecimal byte. A
// character that is not a hex digit is reported ("bad hex char") and adds no
// digit, so "1Z" gives 0x01.
int bdfHexByte(ConversionState& st, const char* text);

#endif  // BDF2VBT_BDF_ERROR_H
