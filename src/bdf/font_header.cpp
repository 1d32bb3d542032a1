#include "bdf/font_header.h"

#include <cstdio>
#include <string_view>

#include "bdf/line_reader.h"
#include "bdf/report.h"
#include "bdf/scan.h"
#include "diag/text_out.h"

namespace {

bool readStartFont(LineReader& reader, BdfReport& report) {
  std::string_view line, version;
  bool ok = reader.next(&line) && startsWith(line, "STARTFONT");
  if (ok) {
    line.remove_prefix(9);
    ok = scanWord(&line, &version) && version == "2.1";
  }
  if (!ok) report.error("bad 'STARTFONT'\n");
  return ok;
}

// The font name is the rest of the FONT line after the blanks that follow the
// keyword.
bool readFont(LineReader& reader, BdfReport& report, BdfFontHeader* header) {
  std::string_view line;
  if (reader.next(&line) && startsWith(line, "FONT")) {
    const std::string_view name = skipBlanks(line.substr(4));
    if (!name.empty()) {
      header->font_name = name;
      header->has_font_name = true;
      if (report.verbose()) {
        report.out() << "FONTNAME=" << name << '\n';
      }
      return true;
    }
  }
  report.error("bad 'FONT'\n");
  return false;
}

bool readSize(LineReader& reader, BdfReport& report, BdfFontHeader* header) {
  std::string_view line;
  if (!reader.next(&line) || !startsWith(line, "SIZE")) {
    report.error("missing 'SIZE'\n");
    return false;
  }
  // glibc's own "%f" rules decide what a point size is.
  const std::string text(line);
  if (sscanf(text.c_str(), "SIZE %f%d%d", &header->point_size, &header->resolution_x,
             &header->resolution_y) != 3) {
    report.error("bad 'SIZE'\n");
    return false;
  }
  if (report.verbose()) {
    report.out().print("psize=%f resx=%d resy=%d\n", static_cast<double>(header->point_size),
            header->resolution_x, header->resolution_y);
  }
  return true;
}

bool readFontBoundingBox(LineReader& reader, BdfReport& report, BdfFontHeader* h) {
  std::string_view line;
  if (!reader.next(&line) || !startsWith(line, "FONTBOUNDINGBOX")) {
    report.error("missing 'FONTBOUNDINGBOX'\n");
    return false;
  }
  int32_t* const values[] = {&h->box_width, &h->box_height, &h->box_x_offset, &h->box_y_offset};
  if (scanKeywordInts(line, "FONTBOUNDINGBOX", values, 4) != 4) {
    report.error("bad 'FONTBOUNDINGBOX'\n");
    return false;
  }
  if (report.verbose()) {
    report.out().print("width=%d height=%d delta_x=%d delta_y=%d\n", h->box_width, h->box_height,
            h->box_x_offset, h->box_y_offset);
  }
  return true;
}

}  // namespace

bool readFontHeader(LineReader& reader, BdfReport& report, BdfFontHeader* header) {
  return readStartFont(reader, report) && readFont(reader, report, header) &&
         readSize(reader, report, header) && readFontBoundingBox(reader, report, header);
}
