#include "inspect/coverage.h"

#include <algorithm>

#include "inspect/text_format.h"
#include "inspect/utf8.h"
#include "inspect/vbt_file.h"

namespace vbtdump {

namespace {

bool isControl(int32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

// `code` in UTF-8.
std::string utf8Text(int32_t code) {
  std::string text;
  if (code < 0x80) return std::string(1, static_cast<char>(code));
  if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
  } else {
    if (code < 0x10000) {
      text += static_cast<char>(0xE0 | (code >> 12));
    } else {
      text += static_cast<char>(0xF0 | (code >> 18));
      text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    }
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  }
  return text + static_cast<char>(0x80 | (code & 0x3F));
}

std::string weightText(const Weight& w) {
  return formatText("%lld bytes (header %lld, name record %lld, images %lld, %s, tables %lld)",
                    static_cast<long long>(w.total()), static_cast<long long>(w.header), static_cast<long long>(w.name),
                    static_cast<long long>(w.images), countText(w.fillers, "filler", "fillers").c_str(),
                    static_cast<long long>(w.tables));
}

constexpr int32_t kLastCode = 65535;

// The -S/-E bounds for the codes lo..hi, reaching past a glyph without
// advance at either end to the nearest glyph with advance beyond it (the
// range of a conversion runs between glyphs with advance), and that range.
struct RangePlan {
  int32_t first = 0;
  int32_t limit = 0;
  int32_t range_first = kLastCode + 1;
  int32_t range_last = -1;
  bool keeps(int32_t code) const { return code >= range_first && code <= range_last; }
};

RangePlan planRange(const FontGlyphs& font, int32_t lo, int32_t hi) {
  RangePlan plan{lo, hi + 1};
  for (int32_t c = hi + 1; font.advance(hi) == 0 && c <= kLastCode; ++c) {
    if (font.advance(c) != 0) {
      plan.limit = c + 1;
      break;
    }
  }
  for (int32_t c = lo - 1; font.advance(lo) == 0 && c >= 0; --c) {
    if (font.advance(c) != 0) {
      plan.first = c;
      break;
    }
  }
  for (int32_t c = plan.first; c < plan.limit; ++c) {
    if (font.advance(c) == 0) continue;
    plan.range_first = std::min(plan.range_first, c);
    plan.range_last = std::max(plan.range_last, c);
  }
  return plan;
}

std::string neededLine(int32_t code, int64_t count, const std::string& text_name) {
  return formatText("U+%04X '%s' needed by %s, %s", code, utf8Text(code).c_str(), text_name.c_str(),
                    countText(count, "use", "uses").c_str());
}

}  // namespace

void countCodePoints(std::string_view text, std::map<int32_t, int64_t>* counts, std::vector<size_t>* bad_at) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  for (size_t at = text.substr(0, 3) == kByteOrderMark ? 3 : 0; at < text.size();) {
    size_t length = 0;
    const std::optional<int32_t> code = decodeUtf8At(text, at, &length);
    if (!code) {
      bad_at->push_back(at++);
      continue;
    }
    if (!isControl(*code)) ++(*counts)[*code];
    at += length;
  }
}

Weight weighRange(const VbtFile& file, int64_t first, int64_t last) {
  Weight w;
  w.header = static_cast<int64_t>(kHeaderSize);
  w.name = file.imageAreaBegin() - w.header;
  const int32_t empty_advance = file.emptyCodeAdvance();
  for (int64_t code = first; code <= last; ++code) {
    const int64_t i = file.indexOf(code);
    if (file.isEmptyCode(i, empty_advance)) {
      ++w.fillers;
    } else {
      w.images += file.glyph(i)->imageSize();
    }
  }
  w.tables = (last + 1 - first) * static_cast<int64_t>(kMetricRecordSize + kOffsetEntrySize);
  return w;
}

Weight weighFile(const VbtFile& file) {
  Weight w;
  w.header = static_cast<int64_t>(kHeaderSize);
  w.name = file.imageAreaBegin() - w.header;
  const int32_t empty_advance = file.emptyCodeAdvance();
  for (int64_t i = 0; i < file.codeCount(); ++i) w.fillers += file.isEmptyCode(i, empty_advance) ? 1 : 0;
  w.images = file.imageAreaEnd() - file.imageAreaBegin() - w.fillers;
  w.tables = file.size() - file.imageAreaEnd();
  return w;
}

std::string coverageReport(const std::map<int32_t, int64_t>& used, const std::string& text_name,
                           const FontGlyphs& font, bool* missing) {
  std::string lines;
  int32_t lo = -1, hi = -1;
  for (const auto& [code, count] : used) {
    if (!font.has_glyph(code)) {
      lines += neededLine(code, count, text_name) + "\n";
      continue;
    }
    if (lo < 0) lo = code;
    hi = code;
  }
  RangePlan plan;
  if (lo >= 0) plan = planRange(font, lo, hi);
  int64_t kept = 0;
  int32_t kept_lo = -1, kept_hi = -1;
  for (const auto& [code, count] : used) {
    if (!font.has_glyph(code)) continue;
    if (plan.keeps(code)) {
      ++kept;
      kept_lo = kept_lo < 0 ? code : kept_lo;
      kept_hi = code;
      continue;
    }
    lines += neededLine(code, count, text_name) + ": its glyph has no advance and lies outside every range a conversion keeps\n";
  }
  // The range for the code points that can be kept, not beyond them.
  if (kept > 0) plan = planRange(font, kept_lo, kept_hi);
  const int64_t lacking = static_cast<int64_t>(used.size()) - kept;
  *missing = lacking > 0;
  std::string text = lines + formatText("%s used, %lld missing",
                                        countText(static_cast<int64_t>(used.size()), "code point", "code points").c_str(),
                                        static_cast<long long>(lacking));
  if (kept == 0) return text + (used.empty() ? "\n" : "; the font has none of them\n");
  const std::optional<Weight> weight = font.weigh(plan.first, plan.limit, plan.range_first, plan.range_last);
  text += formatText("; -S 0x%04X -E 0x%04X covers the %lld the font has", plan.first, plan.limit, static_cast<long long>(kept));
  return text + (weight ? ", in " + weightText(*weight) : "") + "\n";
}

}  // namespace vbtdump
