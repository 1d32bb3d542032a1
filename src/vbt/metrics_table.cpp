#include "vbt/metrics_table.h"

#include <algorithm>

void MetricsTable::reset() {
  if (!changed_.empty()) {
    std::fill(records_.begin() + changed_.low, records_.begin() + changed_.high + 1, MetricRecord{});
  }
  changed_ = CodeWindow{};
}

CodeRange MetricsTable::rangeWithin(int32_t lowest, int32_t limit) const {
  // Outside the changed window every advance is zero. In 64 bits: a limit
  // of -2^31 leaves no code below it.
  const int64_t low = std::max(lowest, changed_.low);
  const int64_t high = std::min<int64_t>(int64_t{limit} - 1, changed_.high);
  CodeRange range;
  for (int32_t c = static_cast<int32_t>(low); c <= high; ++c) {
    if (at(c).advance == 0) continue;
    range.first = std::min(range.first, c);
    range.last = std::max(range.last, c);
  }
  return range;
}

void MetricsTable::setAdvances(const CodeRange& range, int32_t advance) {
  if (range.empty()) return;
  changed_.include(range.first, range.last);
  for (int32_t c = range.first; c <= range.last; ++c) records_[static_cast<size_t>(c)].advance = advance;
}

bool MetricsTable::advancesEqual(const CodeRange& range) const {
  for (int32_t c = range.first; c <= range.last; ++c) {
    if (at(c).advance != at(range.first).advance) return false;
  }
  return true;
}
