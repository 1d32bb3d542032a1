#include "inspect/field_dump.h"

#include <algorithm>
#include <vector>

#include "inspect/text_format.h"
#include "inspect/vbt_file.h"

namespace vbtdump {

namespace {

// `n` bytes from `at` in hex, a blank after every `group` bytes.
std::string hexBytes(const uint8_t* at, int64_t n, int64_t group) {
  std::string text;
  for (int64_t i = 0; i < n; ++i) {
    if (i > 0 && group > 0 && i % group == 0) text += ' ';
    text += formatText("%02X", at[i]);
  }
  return text;
}

// The `n` bytes at `at` in hex, or nothing when they are all zero.
std::string nonZeroHex(const uint8_t* at, int64_t n) {
  if (std::all_of(at, at + n, [](uint8_t b) { return b == 0; })) return "";
  return hexBytes(at, n, 0);
}

std::string headerText(const VbtFile& file) {
  const FontHeader& h = file.header();
  std::string text = formatText("magic 0x%04X\nflags 0x%04X\n", h.magic, h.flags);
  text += formatText("largest_width %u\nlargest_height_minus_1 %u\n", h.largest_width, h.largest_height);
  text += formatText("box_width %u\nbox_height %u\n", h.box_width, h.box_height);
  text += formatText("offset_table_at %d\nmetrics_table_at %d\n", h.image_pos, h.metric_pos);
  text += formatText("underline %u\nbaseline_minus_1 %u\n", h.underline, h.baseline);
  text += formatText("first_code %s\ncode_count %d\n", codeText(h.first_code).c_str(), h.code_count);
  for (const ReservedBytes& r : kHeaderReserved) {
    const std::string reserved = nonZeroHex(file.data() + r.offset, static_cast<int64_t>(r.size));
    if (!reserved.empty()) text += formatText("reserved_%zu %s\n", r.offset, reserved.c_str());
  }
  const NameRecord& name = *file.nameRecord();
  text += "font_name " + name.font_name + "\nfile_name " + name.file_name + "\n";
  return text;
}

std::string glyphText(const VbtFile& file, int64_t i, const Glyph& g) {
  const MetricRecord& m = g.metrics;
  std::string text = formatText("%s width %d height %d ascent %d x_offset %d advance %d", codeText(file.codeAt(i)).c_str(),
                                m.width, m.height, m.ascent, m.x_offset, m.advance);
  const ReservedBytes& r = kMetricRecordReserved;
  const std::string reserved = nonZeroHex(file.metricsBytes(i) + r.offset, static_cast<int64_t>(r.size));
  if (!reserved.empty()) text += " reserved " + reserved;
  text += formatText(" @%u", *file.imageOffset(i));
  if (g.imageSize() > 0) text.append(" ").append(hexBytes(g.image, g.imageSize(), g.rowBytes()));
  return text + "\n";
}

// Index one past the run of fillers that starts at `i`, each one byte after
// the one before.
int64_t fillerRunEnd(const VbtFile& file, int64_t i) {
  int64_t end = i + 1;
  while (end < file.codeCount() && file.glyph(end)->isFiller() &&
         *file.imageOffset(end) == *file.imageOffset(end - 1) + 1) {
    ++end;
  }
  return end;
}

std::string fillerText(const VbtFile& file, int64_t i, int64_t end) {
  const uint32_t at = *file.imageOffset(i);
  if (end == i + 1) return formatText("%s filler @%u\n", codeText(file.codeAt(i)).c_str(), at);
  return formatText("%s-%s filler @%u-%u\n", codeText(file.codeAt(i)).c_str(),
                    codeText(file.codeAt(end - 1)).c_str(), at, *file.imageOffset(end - 1));
}

// Marks bytes [at, at + n) of the file as shown.
void markShown(std::vector<bool>& shown, int64_t at, int64_t n) {
  std::fill(shown.begin() + at, shown.begin() + at + n, true);
}

// The bytes of the file no field shows: parts of the image area no code
// points at, and anything between or after the tables.
std::string unreferencedText(const VbtFile& file) {
  const FontHeader& h = file.header();
  std::vector<bool> shown(static_cast<size_t>(file.size()), false);
  markShown(shown, 0, file.imageAreaBegin());
  markShown(shown, h.metric_pos, file.codeCount() * int64_t{kMetricRecordSize});
  markShown(shown, h.image_pos, file.codeCount() * int64_t{kOffsetEntrySize});
  for (int64_t i = 0; i < file.codeCount(); ++i) markShown(shown, *file.imageOffset(i), file.glyph(i)->imageSize());
  std::string text;
  for (size_t at = 0; at < shown.size();) {
    if (shown[at]) {
      ++at;
      continue;
    }
    size_t end = at;
    while (end < shown.size() && !shown[end]) ++end;
    text += formatText("unreferenced @%zu %s\n", at, hexBytes(file.data() + at, static_cast<int64_t>(end - at), 0).c_str());
    at = end;
  }
  return text;
}

}  // namespace

bool canDumpFields(const VbtFile& file) {
  if (!file.hasHeader() || file.header().magic != kVbtMagic || !file.nameRecord()) return false;
  for (int64_t i = 0; i < file.codeCount(); ++i) {
    if (!file.glyph(i)) return false;
  }
  return true;
}

std::string dumpFields(const VbtFile& file) {
  std::string text = headerText(file);
  for (int64_t i = 0; i < file.codeCount();) {
    const Glyph g = *file.glyph(i);
    if (!g.isFiller()) {
      text += glyphText(file, i, g);
      ++i;
      continue;
    }
    const int64_t end = fillerRunEnd(file, i);
    text += fillerText(file, i, end);
    i = end;
  }
  return text + unreferencedText(file);
}

}  // namespace vbtdump
