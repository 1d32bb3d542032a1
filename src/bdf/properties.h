// The second reader stage: the properties block.
#ifndef BDF2VBT_BDF_PROPERTIES_H
#define BDF2VBT_BDF_PROPERTIES_H

struct ConversionState;
class BdfInput;

// Checks the block STARTPROPERTIES n, n property lines of a name and at least
// one value, ENDPROPERTIES, and reads past it; no value is kept. Returns 1 for
// a well-formed block, else 0 after one report. After a bad property line or
// count the input is still moved past the next ENDPROPERTIES line, so the
// glyph section can be read.
int bdfReadProperties(ConversionState& st, BdfInput& in);

#endif  // BDF2VBT_BDF_PROPERTIES_H
