// The metrics records of one font, one per code 0..65535, and the range of
// codes its output covers.
#ifndef BDF2VBT_VBT_METRICS_TABLE_H
#define BDF2VBT_VBT_METRICS_TABLE_H

#include <array>
#include <cstdint>

#include "vbt/format.h"

// A window of codes, empty or low..high, that covers every entry changed
// since a table was last reset: resetting and scanning then cost what one
// font uses, not all 65536 codes.
struct CodeWindow {
  int32_t low = kCodeCount;
  int32_t high = -1;
  void include(int32_t first, int32_t last) {
    if (first < low) low = first;
    if (last > high) high = last;
  }
  bool empty() const { return low > high; }
};

// The codes an output covers: first..last, empty when first > last.
struct CodeRange {
  int32_t first = kCodeCount;
  int32_t last = 0;
  bool empty() const { return first > last; }
  int32_t count() const { return last + 1 - first; }
};

class MetricsTable {
 public:
  // Gives every code the record of a code without glyph.
  void reset();
  // Stores the record of `code` (0..65535), replacing an earlier one.
  void set(int32_t code, const MetricRecord& record) {
    changed_.include(code, code);
    records_[static_cast<size_t>(code)] = record;
  }
  const MetricRecord& at(int32_t code) const { return records_[static_cast<size_t>(code)]; }

  // The lowest and highest code in [lowest, limit) whose advance is not zero.
  CodeRange rangeWithin(int32_t lowest, int32_t limit) const;
  // Gives every code of `range` the advance `advance`.
  void setAdvances(const CodeRange& range, int32_t advance);
  // True when every code of `range` has the advance of its first.
  bool advancesEqual(const CodeRange& range) const;

 private:
  std::array<MetricRecord, kCodeCount> records_;
  CodeWindow changed_;
};

#endif  // BDF2VBT_VBT_METRICS_TABLE_H
