#include "bdf/header.h"

#include <cstdio>
#include <cstring>

#include "bdf/error.h"
#include "bdf/line_reader.h"
#include "bdf/scan.h"
#include "conversion_state.h"
#include "font/output_file.h"

namespace {

bool readStartFont(ConversionState& st, BdfInput& in) {
  char line[kLineSize];
  char version[kLineSize];
  const char* p = bdfGetLine(in, line, kLineSize);
  bool ok = p && startsWith(p, "STARTFONT");
  if (ok) {
    p += strlen("STARTFONT");
    ok = scanWord(&p, version, sizeof version) && strcmp(version, "2.1") == 0;
  }
  if (!ok) bdfError(st, "bad 'STARTFONT'\n");
  return ok;
}

// The font name is the rest of the FONT line after the blanks that follow the
// keyword.
bool readFont(ConversionState& st, BdfInput& in) {
  char line[kLineSize];
  const char* p = bdfGetLine(in, line, kLineSize);
  if (p && startsWith(p, "FONT")) {
    p = skipBlanks(p + strlen("FONT"));
    if (*p != '\0') {
      snprintf(st.fontname, sizeof st.fontname, "%s", p);
      return true;
    }
  }
  bdfError(st, "bad 'FONT'\n");
  return false;
}

void writeNameRecord(ConversionState& st) {
  OutputFile& out = *st.outfile;
  out.putBytes(reinterpret_cast<const uint8_t*>(st.fontname), strlen(st.fontname));
  out.put8(',');
  out.putBytes(reinterpret_cast<const uint8_t*>(st.vbtname.c_str()),
               st.vbtname.size() + 1);
  if (st.verbose) fprintf(st.out, "FONTNAME=%s\n", st.fontname);
}

bool readSize(ConversionState& st, BdfInput& in) {
  char line[kLineSize];
  const char* p = bdfGetLine(in, line, kLineSize);
  if (!p || !startsWith(p, "SIZE")) {
    bdfError(st, "missing 'SIZE'\n");
    return false;
  }
  // glibc's own "%f" rules decide what a point size is.
  if (sscanf(p, "SIZE %f%d%d", &st.pointSize, &st.resolution_x, &st.resolution_y) != 3) {
    bdfError(st, "bad 'SIZE'\n");
    return false;
  }
  if (st.verbose) {
    fprintf(st.out, "psize=%f resx=%d resy=%d\n", static_cast<double>(st.pointSize),
            st.resolution_x, st.resolution_y);
  }
  return true;
}

bool readFontBoundingBox(ConversionState& st, BdfInput& in) {
  char line[kLineSize];
  const char* p = bdfGetLine(in, line, kLineSize);
  if (!p || !startsWith(p, "FONTBOUNDINGBOX")) {
    bdfError(st, "missing 'FONTBOUNDINGBOX'\n");
    return false;
  }
  int32_t* const values[] = {&st.bound_width, &st.bound_height, &st.bound_disp_x,
                             &st.bound_disp_y};
  if (scanKeywordInts(p, "FONTBOUNDINGBOX", values, 4) != 4) {
    bdfError(st, "bad 'FONTBOUNDINGBOX'\n");
    return false;
  }
  if (st.verbose) {
    fprintf(st.out, "width=%d height=%d delta_x=%d delta_y=%d\n", st.bound_width,
            st.bound_height, st.bound_disp_x, st.bound_disp_y);
  }
  return true;
}

}  // namespace

int bdfReadHeader(ConversionState& st, BdfInput& in) {
  if (!readStartFont(st, in) || !readFont(st, in)) return 0;
  writeNameRecord(st);
  if (!readSize(st, in) || !readFontBoundingBox(st, in)) return 0;
  return 1;
}
