#include "font/tables.h"

#include <algorithm>

#include "bdf/error.h"
#include "conversion_state.h"
#include "font/output_file.h"
#include "font/vbt_format.h"

namespace {

void writeMetricsTable(ConversionState& st) {
  st.metric_pos = static_cast<int32_t>(st.outfile->tell());
  uint8_t bytes[kMetricRecordSize];
  for (int32_t c = st.AsciiOffset; c <= st.HighestAscii; ++c) {
    if (st.fix_width) st.MS[c].advance = st.largest_width;
    encodeMetricRecord(st.MS[c], bytes);
    st.outfile->putBytes(bytes, sizeof bytes);
  }
}

// Without -b and -u both follow from the font box: the baseline is the height
// of the box above the baseline, the underline the row below it.
void computeBaselineAndUnderline(ConversionState& st) {
  const int32_t above = wrapAdd(st.bound_disp_y, st.bound_height);
  if (st.baseline == 0) st.baseline = above;
  if (st.underline == 0) st.underline = wrapAdd(above, 1);
}

void writeImageOffsetTable(ConversionState& st) {
  st.image_pos = static_cast<int32_t>(st.outfile->tell());
  for (int32_t c = st.AsciiOffset; c <= st.HighestAscii; ++c) {
    st.outfile->put32(st.ImageOffsetTab[c]);
  }
}

bool allAdvancesEqual(const ConversionState& st) {
  for (int32_t c = st.AsciiOffset; c <= st.HighestAscii; ++c) {
    if (st.MS[c].advance != st.MS[st.AsciiOffset].advance) return false;
  }
  return true;
}

void fillHeader(ConversionState& st) {
  FontHeader& h = st.FS;
  h.magic = kVbtMagic;
  h.image_pos = st.image_pos;
  h.metric_pos = st.metric_pos;
  h.first_code = wrapAdd(st.ForceAsciiOffset, st.AsciiOffset);
  h.code_count = st.AsciiLength;
  h.box_width = static_cast<uint16_t>(st.bound_width);
  h.box_height = static_cast<uint16_t>(wrapAdd(st.bound_height, st.bound_height_adjustment));
  h.largest_width = static_cast<uint16_t>(st.largest_x);
  h.largest_height = static_cast<uint16_t>(wrapSub(st.largest_y, 1));
  h.flags = kFlagBase;
  h.underline = static_cast<uint16_t>(st.underline);
  h.baseline = static_cast<uint16_t>(wrapSub(st.baseline, 1));
  if (allAdvancesEqual(st)) h.flags |= kFlagFixedWidth;
}

}  // namespace

bool writeFinalTables(ConversionState& st) {
  const int64_t codes = std::max(st.AsciiLength, 0);
  const int64_t table_bytes = codes * static_cast<int64_t>(kMetricRecordSize + 4);
  if (st.outfile->tell() + table_bytes > st.outfile->sizeLimit()) {
    bdfError(st, "output file too large for 32-bit positions\n");
    return false;
  }
  writeMetricsTable(st);
  computeBaselineAndUnderline(st);
  writeImageOffsetTable(st);
  fillHeader(st);
  uint8_t bytes[kHeaderSize];
  encodeFontHeader(st.FS, bytes);
  st.outfile->rewriteStart(bytes, sizeof bytes);
  return true;
}
