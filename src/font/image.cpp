#include "font/image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "bdf/error.h"
#include "conversion_state.h"
#include "font/output_file.h"

namespace {

// Keeps the pixels of byte k of a row that lie inside the glyph's width.
uint8_t widthMask(int32_t width, int32_t k) {
  int32_t beyond = 8 * (k + 1) - width;
  if (beyond <= 0) return 0xFF;
  if (beyond >= 8) return 0;
  return static_cast<uint8_t>(0xFF << beyond);
}

void convertRows(ConversionState& st, int32_t bytes_per_bdf_line, int32_t rows) {
  const int32_t out_line = st.bytes_per_rast_line;
  const int32_t m = std::min(out_line, bytes_per_bdf_line);
  for (int32_t r = 0; r < rows; ++r) {
    const uint8_t* src = st.bitmap + int64_t{r} * bytes_per_bdf_line;
    uint8_t* dst = st.rast_map + int64_t{r} * out_line;
    for (int32_t k = 0; k < m; ++k) dst[k] = src[k] & widthMask(st.bbw, k);
    memset(dst + m, 0, static_cast<size_t>(out_line - m));
  }
}

void writeFillers(ConversionState& st, uint32_t code) {
  OutputFile& out = *st.outfile;
  for (uint32_t k = st.previous; k < code; ++k) {
    st.ImageOffsetTab[k] = static_cast<uint32_t>(out.tell());
    out.put8(0);
  }
}

bool emitImage(ConversionState& st, int32_t code, int32_t size) {
  const uint32_t ucode = static_cast<uint32_t>(code);
  const bool fill = static_cast<uint32_t>(st.AsciiOffset) <= st.previous && ucode > st.previous;
  const int64_t fillers = fill ? ucode - st.previous : 0;
  if (st.outfile->tell() + fillers + size > st.outfile->sizeLimit()) {
    bdfError(st, "output file too large for 32-bit positions\n");
    return false;
  }
  if (ucode < st.previous) {
    fprintf(st.out, "bdf file has characters out of sequence, char %d prev %d\n", code,
            static_cast<int32_t>(st.previous));
  }
  if (fill) writeFillers(st, ucode);
  st.previous = ucode + 1;
  const MetricRecord& m = st.MS[code];
  st.largest_x = std::max<int32_t>(st.largest_x, m.width);
  st.largest_y = std::max<int32_t>(st.largest_y, m.height);
  st.largest_width = std::max(st.largest_width, m.advance);
  st.ImageOffsetTab[code] = static_cast<uint32_t>(st.outfile->tell());
  st.outfile->putBytes(st.rast_map, static_cast<size_t>(size));
  return true;
}

}  // namespace

bool convertBDFtoRAST(ConversionState& st, int32_t bytes_per_bdf_line, int32_t code,
                      const char* name) {
  st.bytes_per_rast_line = (st.MS[code].width + 7) >> 3;
  const int32_t rows = std::max(st.bbh, 0);
  const int64_t size = int64_t{rows} * st.bytes_per_rast_line;
  if (size > kBitmapSize) {
    bdfError(st, "character '%s' has a bitmap too large, %dx%d\n", name, st.bbw, st.bbh);
    return false;
  }
  convertRows(st, bytes_per_bdf_line, rows);
  st.rastbitmaplinecount = rows;
  st.rast_map_dirty = std::max(st.rast_map_dirty, static_cast<int32_t>(size));
  if (code < st.ForceMinChar || code >= st.ForceMaxChar) return true;
  return emitImage(st, code, static_cast<int32_t>(size));
}

void fillUnreachedCodes(ConversionState& st) {
  int64_t filler = -1;
  for (int32_t c = st.AsciiOffset; c <= st.HighestAscii; ++c) {
    if (st.ImageOffsetTab[c] != 0) continue;
    if (filler < 0) {
      filler = st.outfile->tell();
      st.outfile->put8(0);
    }
    st.ImageOffsetTab[c] = static_cast<uint32_t>(filler);
  }
}
