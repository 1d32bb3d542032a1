#include "inspect/check.h"

#include <algorithm>

#include "inspect/text_format.h"
#include "inspect/vbt_file.h"

namespace vbtdump {

namespace {

using Problems = std::vector<std::string>;

// True when bytes[from, to) are all zero.
bool allZero(const uint8_t* bytes, size_t from, size_t to) {
  return std::all_of(bytes + from, bytes + to, [](uint8_t b) { return b == 0; });
}

// Flags, reserved header bytes and the number of codes.
void checkHeaderFields(const VbtFile& file, Problems& problems) {
  const FontHeader& h = file.header();
  if ((h.flags & ~kFlagFixedWidth) != kFlagBase) {
    problems.push_back(formatText("unknown flags 0x%04X, expected 0x0800 or 0x1800", h.flags));
  }
  for (const ReservedBytes& r : kHeaderReserved) {
    if (!allZero(file.data(), r.offset, r.offset + r.size)) {
      problems.push_back(formatText("reserved header bytes %zu..%zu are not zero", r.offset, r.offset + r.size - 1));
    }
  }
  if (h.code_count < 0 && h.code_count != kEmptyRangeCount) {
    problems.push_back(formatText("number of codes %d is negative", h.code_count));
  }
}

// The name record's terminator and its ','.
void checkNameRecord(const VbtFile& file, Problems& problems) {
  if (!file.nameRecord()) {
    problems.push_back("name record at 44 is not terminated by a zero byte");
  } else if (!file.nameRecord()->has_comma) {
    problems.push_back("name record has no ',' between font name and file name");
  }
}

// True when the metrics table lies inside the file after the name record.
bool checkMetricsTable(const VbtFile& file, Problems& problems) {
  const int64_t pos = file.header().metric_pos;
  const int64_t bytes = file.codeCount() * int64_t{kMetricRecordSize};
  if (!file.inside(pos, bytes)) {
    problems.push_back(formatText("metrics table at %lld, %lld bytes, does not fit in the file of %lld bytes",
                                  static_cast<long long>(pos), static_cast<long long>(bytes),
                                  static_cast<long long>(file.size())));
    return false;
  }
  if (pos < file.imageAreaBegin()) {
    problems.push_back(formatText("metrics table at %lld begins before the end of the name record at %lld",
                                  static_cast<long long>(pos),
                                  static_cast<long long>(file.imageAreaBegin())));
    return false;
  }
  return true;
}

// True when the image offset table lies inside the file (and after the
// metrics table, when that one is sound).
bool checkOffsetTable(const VbtFile& file, bool metrics_ok, Problems& problems) {
  const int64_t pos = file.header().image_pos;
  const int64_t bytes = file.codeCount() * int64_t{kOffsetEntrySize};
  const int64_t metrics_end =
      int64_t{file.header().metric_pos} + file.codeCount() * int64_t{kMetricRecordSize};
  if (!file.inside(pos, bytes)) {
    problems.push_back(formatText("image offset table at %lld, %lld bytes, does not fit in the file of %lld bytes",
                                  static_cast<long long>(pos), static_cast<long long>(bytes),
                                  static_cast<long long>(file.size())));
    return false;
  }
  if (metrics_ok && pos < metrics_end) {
    problems.push_back(formatText("image offset table at %lld begins before the end of the metrics table at %lld",
                                  static_cast<long long>(pos), static_cast<long long>(metrics_end)));
    return false;
  }
  const int64_t surplus = file.size() - pos - bytes;
  if (surplus > 0) {
    problems.push_back(countText(surplus, "byte follows", "bytes follow") +
                       " the image offset table, which should end the file");
  }
  return true;
}

// Sizes and reserved bytes of metrics record `i`.
void checkRecordFields(const VbtFile& file, int64_t i, const MetricRecord& m,
                       Problems& problems) {
  const std::string code = "code " + codeText(file.codeAt(i));
  if (m.width < 0) problems.push_back(formatText("%s: negative width %d", code.c_str(), m.width));
  if (m.height < 0) problems.push_back(formatText("%s: negative height %d", code.c_str(), m.height));
  const ReservedBytes& r = kMetricRecordReserved;
  if (!allZero(file.metricsBytes(i), r.offset, r.offset + r.size)) {
    problems.push_back(code + ": reserved bytes of the metrics record are not zero");
  }
}

// Image `i` must start in the image area and end before the metrics table.
void checkImagePlace(const VbtFile& file, int64_t i, const MetricRecord& m,
                     Problems& problems) {
  if (m.width < 0 || m.height < 0) return;
  const std::string code = "code " + codeText(file.codeAt(i));
  const int64_t at = *file.imageOffset(i);
  const int64_t begin = file.imageAreaBegin();
  const int64_t end = file.imageAreaEnd();
  const Glyph g{m, nullptr};
  if (at < begin || at > end) {
    problems.push_back(formatText("%s: image offset %lld lies outside the image area, bytes %lld..%lld",
                                  code.c_str(), static_cast<long long>(at),
                                  static_cast<long long>(begin), static_cast<long long>(end - 1)));
  } else if (g.imageSize() > end - at) {
    problems.push_back(formatText("%s: image of %s at %lld runs into the metrics table at %lld", code.c_str(),
                                  countText(g.imageSize(), "byte", "bytes").c_str(), static_cast<long long>(at),
                                  static_cast<long long>(end)));
  }
}

// True when a row has pixels set beyond the glyph's width.
bool hasStrayBits(const Glyph& g) {
  const int64_t spare = g.rowBytes() * 8 - g.metrics.width;
  if (spare == 0) return false;
  const uint8_t mask = static_cast<uint8_t>(0xFF >> (8 - spare));
  for (int64_t y = 0; y < g.metrics.height; ++y) {
    if (g.image[(y + 1) * g.rowBytes() - 1] & mask) return true;
  }
  return false;
}

// The pixels of a well-placed image, and its size against the header's maxima.
void checkGlyph(const VbtFile& file, int64_t i, const Glyph& g, Problems& problems) {
  const std::string code = "code " + codeText(file.codeAt(i));
  const FontHeader& h = file.header();
  if (hasStrayBits(g)) {
    problems.push_back(formatText("%s: image has pixels beyond its width of %d", code.c_str(),
                                  g.metrics.width));
  }
  if (g.isFiller()) return;
  if (g.metrics.width > h.largest_width) {
    problems.push_back(formatText("%s: width %d exceeds the largest glyph width %u of the header",
                                  code.c_str(), g.metrics.width, h.largest_width));
  }
  const uint16_t largest_height = static_cast<uint16_t>(h.largest_height + 1);
  if (g.metrics.height > largest_height) {
    problems.push_back(formatText("%s: height %d exceeds the largest glyph height %u of the header",
                                  code.c_str(), g.metrics.height, largest_height));
  }
}

// Every code of the range; needs both tables inside the file.
void checkCodes(const VbtFile& file, Problems& problems) {
  for (int64_t i = 0; i < file.codeCount(); ++i) {
    const MetricRecord m = *file.metrics(i);
    checkRecordFields(file, i, m, problems);
    checkImagePlace(file, i, m, problems);
    if (std::optional<Glyph> g = file.glyph(i)) checkGlyph(file, i, *g, problems);
  }
}

// Flag 0x1000 must be set exactly when every code has the same advance (or
// there is none).
void checkFixedWidthFlag(const VbtFile& file, Problems& problems) {
  const bool flagged = (file.header().flags & kFlagFixedWidth) != 0;
  const int32_t first = file.codeCount() > 0 ? file.metrics(0)->advance : 0;
  for (int64_t i = 1; i < file.codeCount(); ++i) {
    const int32_t advance = file.metrics(i)->advance;
    if (advance == first) continue;
    if (flagged) {
      problems.push_back(formatText("flag 0x1000 (fixed width) is set, but code %s has advance %d and code %s %d",
                                    codeText(file.codeAt(0)).c_str(), first,
                                    codeText(file.codeAt(i)).c_str(), advance));
    }
    return;
  }
  if (flagged) return;
  if (file.codeCount() == 0) {
    problems.push_back("flag 0x1000 (fixed width) is missing, but the range of codes is empty");
  } else {
    problems.push_back(formatText("flag 0x1000 (fixed width) is missing, but every code has advance %d", first));
  }
}

}  // namespace

std::vector<std::string> checkFile(const VbtFile& file) {
  Problems problems;
  if (!file.hasHeader()) {
    problems.push_back("file has " + countText(file.size(), "byte", "bytes") + ", fewer than the 44 of a header");
    return problems;
  }
  if (file.header().magic != kVbtMagic) {
    problems.push_back(formatText("bad magic 0x%04X, not 0x5632 ('2V'): not a VBT2 file",
                                  file.header().magic));
    return problems;
  }
  checkHeaderFields(file, problems);
  checkNameRecord(file, problems);
  const bool metrics_ok = checkMetricsTable(file, problems);
  const bool offsets_ok = checkOffsetTable(file, metrics_ok, problems);
  if (metrics_ok) checkFixedWidthFlag(file, problems);
  if (metrics_ok && offsets_ok && file.nameRecord()) checkCodes(file, problems);
  return problems;
}

}  // namespace vbtdump
