#include "inspect/coverage.h"

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

}  // namespace

bool countCodePoints(std::string_view text, std::map<int32_t, int64_t>* counts, size_t* bad_at) {
  for (size_t at = 0; at < text.size();) {
    size_t length = 0;
    const std::optional<int32_t> code = decodeUtf8At(text, at, &length);
    if (!code) {
      *bad_at = at;
      return false;
    }
    if (!isControl(*code)) ++(*counts)[*code];
    at += length;
  }
  return true;
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

std::string coverageReport(const std::map<int32_t, int64_t>& used, const std::function<bool(int32_t)>& has_glyph,
                           const std::function<std::optional<Weight>(int32_t, int32_t)>& weigh, bool* missing) {
  std::string text;
  int64_t lacking = 0;
  int32_t first = -1, last = -1;
  for (const auto& [code, count] : used) {
    if (has_glyph(code)) {
      if (first < 0) first = code;
      last = code;
      continue;
    }
    ++lacking;
    text += formatText("U+%04X %s %lld\n", code, utf8Text(code).c_str(), static_cast<long long>(count));
  }
  *missing = lacking > 0;
  text += formatText("%s used, %lld missing", countText(static_cast<int64_t>(used.size()), "code point", "code points").c_str(),
                     static_cast<long long>(lacking));
  if (first < 0) return text + (used.empty() ? "\n" : "; the font has none of them\n");
  const std::optional<Weight> weight = weigh(first, last);
  text += formatText("; -S 0x%04X -E 0x%04X covers the %lld the font has", first, last + 1,
                     static_cast<long long>(used.size()) - lacking);
  return text + (weight ? ", in " + weightText(*weight) : "") + "\n";
}

}  // namespace vbtdump
