#include "inspect/summary.h"

#include "inspect/text_format.h"
#include "inspect/vbt_file.h"

namespace vbtdump {

namespace {

std::string line(const char* label, const std::string& value) {
  return formatText("%-20s%s\n", label, value.c_str());
}

std::string flagsText(uint16_t flags) {
  const char* meaning = (flags & kFlagFixedWidth) ? "fixed width: every code has the same advance"
                                                  : "proportional: the advances differ";
  return formatText("0x%04X (%s)", flags, meaning);
}

std::string codesText(const FontHeader& h) {
  if (h.code_count <= 0) {
    return formatText("none (count %d, first code %d)", h.code_count, h.first_code);
  }
  const int64_t last = int64_t{h.first_code} + h.code_count - 1;
  return formatText("%d, from %s to %s", h.code_count, codeText(h.first_code).c_str(),
                    codeText(last).c_str());
}

std::string tableText(int32_t pos, int64_t count, int64_t entry_size, const char* entries) {
  return formatText("at %d, %lld %s of %lld bytes", pos, static_cast<long long>(count), entries,
                    static_cast<long long>(entry_size));
}

}  // namespace

std::string describeHeader(const VbtFile& file, const std::string& name) {
  const FontHeader& h = file.header();
  const int baseline_field = static_cast<int16_t>(h.baseline);
  std::string text = line("File:", formatText("%s, %lld bytes", name.c_str(),
                                              static_cast<long long>(file.size())));
  text += line("Magic:", formatText("0x%04X%s", h.magic, h.magic == kVbtMagic ? " ('2V')" : ""));
  text += line("Flags:", flagsText(h.flags));
  text += line("Largest glyph:", formatText("%u x %u pixels (height field %u)", h.largest_width,
                                            static_cast<uint16_t>(h.largest_height + 1),
                                            h.largest_height));
  text += line("Font box:", formatText("%u x %u pixels", h.box_width, h.box_height));
  text += line("Underline row:", formatText("%d", static_cast<int16_t>(h.underline)));
  text += line("Baseline row:", formatText("%d (%d rows above the baseline)", baseline_field,
                                           baseline_field + 1));
  text += line("Codes:", codesText(h));
  text += line("Metrics table:", tableText(h.metric_pos, file.codeCount(),
                                           kMetricRecordSize, "records"));
  text += line("Offset table:", tableText(h.image_pos, file.codeCount(), int64_t{kOffsetEntrySize},
                                          "entries"));
  return text;
}

std::string describeContents(const VbtFile& file) {
  int64_t fillers = 0;
  for (int64_t i = 0; i < file.codeCount(); ++i) {
    if (file.glyph(i)->isFiller()) ++fillers;
  }
  const int64_t begin = file.imageAreaBegin();
  const int64_t end = file.imageAreaEnd();
  std::string text = line("Font name:", file.nameRecord()->font_name);
  text += line("File name:", file.nameRecord()->file_name);
  text += line("Codes with images:", formatText("%lld", static_cast<long long>(file.codeCount() - fillers)));
  text += line("One-byte fillers:", formatText("%lld", static_cast<long long>(fillers)));
  text += line("Image area:", formatText("%lld..%lld, %s", static_cast<long long>(begin),
                                         static_cast<long long>(end - 1),
                                         countText(end - begin, "byte", "bytes").c_str()));
  return text;
}

}  // namespace vbtdump
