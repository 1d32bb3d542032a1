#include "bdf/properties.h"

#include "bdf/error.h"
#include "bdf/line_reader.h"
#include "bdf/scan.h"
#include "conversion_state.h"

namespace {

// Reads on from `line` (already read, or nullptr at the end of the input)
// until a line that begins with ENDPROPERTIES has been consumed.
void skipToEndOfProperties(BdfInput& in, char* buffer, const char* line) {
  while (line && !startsWith(line, "ENDPROPERTIES")) {
    line = bdfGetLine(in, buffer, kLineSize);
  }
}

// Checks one property line; on a bad line reports it and returns the text
// from which the recovery starts, else nullptr.
const char* checkPropertyLine(ConversionState& st, const char* line) {
  const char* p = skipBlanks(line);
  const char* rest = p;
  char name[kLineSize] = "";
  char value[kLineSize];
  if (!scanWord(&rest, name, sizeof name) || !scanWord(&rest, value, sizeof value)) {
    bdfError(st, "missing '%s' parameter value\n", name);
    return p;
  }
  return nullptr;
}

}  // namespace

int bdfReadProperties(ConversionState& st, BdfInput& in) {
  char buffer[kLineSize];
  const char* line = bdfGetLine(in, buffer, kLineSize);
  if (!line || !startsWith(line, "STARTPROPERTIES")) {
    bdfError(st, "missing 'STARTPROPERTIES'\n");
    return 0;
  }
  int32_t remaining = 0;
  int32_t* const count[] = {&remaining};
  if (scanKeywordInts(line, "STARTPROPERTIES", count, 1) != 1) {
    bdfError(st, "bad 'STARTPROPERTIES'\n");
    return 0;
  }
  for (; remaining >= 1; --remaining) {
    line = bdfGetLine(in, buffer, kLineSize);
    if (!line || startsWith(line, "ENDPROPERTIES")) {
      bdfError(st, "%d too few properites\n", remaining);
      skipToEndOfProperties(in, buffer, line);
      return 0;
    }
    if (const char* bad = checkPropertyLine(st, line)) {
      skipToEndOfProperties(in, buffer, bad);
      return 0;
    }
  }
  line = bdfGetLine(in, buffer, kLineSize);
  if (line && startsWith(line, "ENDPROPERTIES")) return 1;
  bdfError(st, "missing 'ENDPROPERTIES'\n");
  skipToEndOfProperties(in, buffer, line);
  return 0;
}
