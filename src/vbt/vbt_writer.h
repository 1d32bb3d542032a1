// A VBT2 file laid out front to back on a stream: the header's placeholder
// and the name record, the glyph images in the order they come with one-byte
// fillers for the codes skipped between them, the metrics and image offset
// tables, and last the header over its placeholder. Every position is the
// stream's own at the moment of writing.
#ifndef BDF2VBT_VBT_VBT_WRITER_H
#define BDF2VBT_VBT_VBT_WRITER_H

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vbt/format.h"
#include "vbt/metrics_table.h"

class OutputStream;

// The image position of every code, kept from font to font: only the entries
// one font set are cleared for the next.
class ImageOffsetTable {
 public:
  void reset();
  void set(uint32_t code, uint32_t position) {
    changed_.include(static_cast<int32_t>(code), static_cast<int32_t>(code));
    positions_[code] = position;
  }
  // Sets codes first..last, which must all be below 65536.
  void setRun(uint32_t first, uint32_t last, uint32_t position);
  uint32_t at(int32_t code) const { return positions_[static_cast<size_t>(code)]; }
  // Marks `range` as set, whatever it holds.
  void touch(const CodeRange& range) {
    if (!range.empty()) changed_.include(range.first, range.last);
  }

 private:
  std::array<uint32_t, kCodeCount> positions_{};
  CodeWindow changed_;
};

class VbtWriter {
 public:
  // Writes to `out`; images go into `offsets`, reset here.
  VbtWriter(OutputStream& out, ImageOffsetTable& offsets);

  // The header's placeholder, then the name record.
  void begin(std::string_view font_name, std::string_view file_name, bool has_name);

  // Fillers are written only from `range_first`, the first code of the
  // range, on.
  void startImages(int32_t range_first) { range_first_ = static_cast<uint32_t>(range_first); }

  // The code the next image is expected to have: one more than the last
  // image's (0 before the first).
  uint32_t nextCode() const { return next_code_; }

  // True when the image of `code`, `size` bytes, with the fillers before it,
  // still ends within 32-bit positions.
  bool roomForImage(uint32_t code, size_t size) const;
  // Appends the image of `code` (below 65536), after one-byte fillers for the
  // codes from nextCode() up to it when that is not before the range's
  // first, but for codes that already have an image of their own (glyph
  // records out of code order leave such codes ahead); `record` is the
  // code's metrics record, for the font's maxima.
  void addImage(uint32_t code, const uint8_t* image, size_t size, const MetricRecord& record);
  // The largest advance among the images written.
  int32_t largestAdvance() const { return largest_advance_; }

  // Points every code of `range` that no image reached (only glyphs out of
  // ascending order leave such codes) at one zero byte.
  void pointUnreachedCodes(const CodeRange& range);

  // Appends the metrics records and image offsets of `range` and writes
  // `header` over the placeholder, its positions, count, maxima and flags
  // filled in. False, with nothing written, when the tables would end beyond
  // 32-bit positions.
  bool finish(const MetricsTable& metrics, const CodeRange& range, FontHeader header);

 private:
  // The number of fillers that go before the image of `code`.
  int64_t fillersBefore(uint32_t code) const;
  void writeFillers(uint32_t code);

  OutputStream& out_;
  ImageOffsetTable& offsets_;
  uint32_t range_first_ = kCodeCount;
  uint32_t next_code_ = 0;
  std::bitset<kCodeCount> has_image_;   // codes given an image of their own
  int64_t highest_image_ = -1;          // the highest of them
  int32_t largest_width_ = 0;
  int32_t largest_height_ = 0;
  int32_t largest_advance_ = 0;
};

#endif  // BDF2VBT_VBT_VBT_WRITER_H
