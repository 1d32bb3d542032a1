// The second reader stage: the properties block.
#ifndef BDF2VBT_BDF_PROPERTIES_H
#define BDF2VBT_BDF_PROPERTIES_H

class BdfReport;
class LineReader;

// Checks the block STARTPROPERTIES n, n property lines of a name and at least
// one value, ENDPROPERTIES, and reads past it; no value is kept. Returns true
// for a well-formed block, else false after one report. After a bad property
// line or count the input is still moved past the next ENDPROPERTIES line,
// so that the glyph section can be read.
bool readProperties(LineReader& reader, BdfReport& report);

#endif  // BDF2VBT_BDF_PROPERTIES_H
