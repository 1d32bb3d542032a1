#include "bdf/properties.h"

#include <string>
#include <string_view>

#include "bdf/line_reader.h"
#include "bdf/report.h"
#include "bdf/scan.h"

namespace {

// Reads on from `line` (already read; `have_line` false at the end of the
// input) until a line that begins with ENDPROPERTIES has been consumed.
void skipToEndOfProperties(LineReader& reader, bool have_line, std::string_view line) {
  while (have_line && !startsWith(line, "ENDPROPERTIES")) have_line = reader.next(&line);
}

// Checks one property line: a name and a value. A bad line is reported, and
// *recover_from set to the text the recovery starts with.
bool checkPropertyLine(BdfReport& report, std::string_view line, std::string_view* recover_from) {
  const std::string_view text = skipBlanks(line);
  std::string_view rest = text, name, value;
  if (scanWord(&rest, &name) && scanWord(&rest, &value)) return true;
  report.error("missing '%s' parameter value\n", std::string(name).c_str());
  *recover_from = text;
  return false;
}

}  // namespace

bool readProperties(LineReader& reader, BdfReport& report) {
  std::string_view line;
  if (!reader.next(&line) || !startsWith(line, "STARTPROPERTIES")) {
    report.error("missing 'STARTPROPERTIES'\n");
    return false;
  }
  int32_t remaining = 0;
  int32_t* const count[] = {&remaining};
  if (scanKeywordInts(line, "STARTPROPERTIES", count, 1) != 1) {
    report.error("bad 'STARTPROPERTIES'\n");
    return false;
  }
  for (; remaining >= 1; --remaining) {
    const bool have_line = reader.next(&line);
    if (!have_line || startsWith(line, "ENDPROPERTIES")) {
      report.error("%d too few properites\n", remaining);
      skipToEndOfProperties(reader, have_line, line);
      return false;
    }
    std::string_view recover_from;
    if (!checkPropertyLine(report, line, &recover_from)) {
      skipToEndOfProperties(reader, true, recover_from);
      return false;
    }
  }
  const bool have_line = reader.next(&line);
  if (have_line && startsWith(line, "ENDPROPERTIES")) return true;
  report.error("missing 'ENDPROPERTIES'\n");
  skipToEndOfProperties(reader, have_line, line);
  return false;
}
