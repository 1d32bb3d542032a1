#include "inspect/font_drawing.h"

#include <cstdio>

namespace vbtdump {

namespace {

constexpr size_t kLongestLine = 1023;

bool begins(const std::string& line, const char* keyword) { return line.rfind(keyword, 0) == 0; }

// The lines of a text, one character at a time.
class PlainLines {
 public:
  explicit PlainLines(std::string_view text) : text_(text) {}

  // The text of the next line that is neither empty nor a COMMENT line;
  // false at the end.
  bool next(std::string* line) {
    for (;;) {
      std::string raw;
      if (!nextRaw(&raw)) return false;
      if (raw.empty() || begins(raw, "COMMENT")) continue;
      *line = raw.substr(0, raw.find('\0'));
      return true;
    }
  }

 private:
  bool nextRaw(std::string* raw) {
    while (at_ < text_.size()) {
      const char c = text_[at_++];
      if (c == '\r') continue;
      if (c == '\n' || raw->size() == kLongestLine) return true;
      *raw += c;
    }
    return false;
  }

  std::string_view text_;
  size_t at_ = 0;
};

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Rows written into a glyph's box from byte `offset` on; what falls beyond
// the box is never drawn.
class BoxRows {
 public:
  BoxRows(int32_t width, int32_t height)
      : row_bytes_((width + 7) / 8), bytes_(static_cast<size_t>(row_bytes_) * static_cast<size_t>(height)) {}

  void add(const std::string& row) {
    hexDigit(row.empty() ? '.' : row[0]) >= 0 ? hexRow(row) : pictureRow(row);
    offset_ += static_cast<size_t>(row_bytes_);
  }
  std::vector<uint8_t> take() { return std::move(bytes_); }

 private:
  // Two digits a byte, an odd last one as if a '0' followed; a character
  // that is no digit adds nothing.
  void hexRow(std::string row) {
    if (row.size() % 2 != 0) row += '0';
    for (size_t i = 0; i < row.size(); i += 2) {
      int value = 0;
      for (char c : {row[i], row[i + 1]}) {
        if (hexDigit(c) >= 0) value = value * 16 + hexDigit(c);
      }
      put(offset_ + i / 2, static_cast<uint8_t>(value), false);
    }
  }
  void pictureRow(const std::string& row) {
    for (size_t i = 0; i < row.size(); ++i) {
      if (row[i] == '#' || row[i] == '*' || row[i] == '@') put(offset_ + i / 8, static_cast<uint8_t>(0x80 >> (i % 8)), true);
    }
  }
  void put(size_t at, uint8_t byte, bool add) {
    if (at >= bytes_.size()) return;
    bytes_[at] = add ? static_cast<uint8_t>(bytes_[at] | byte) : byte;
  }

  int32_t row_bytes_;
  std::vector<uint8_t> bytes_;
  size_t offset_ = 0;
};

// Clears the pixels of each row beyond `width`.
void clearBeyondWidth(std::vector<uint8_t>* rows, int32_t width) {
  const size_t row_bytes = static_cast<size_t>((width + 7) / 8);
  if (width % 8 == 0) return;
  for (size_t last = row_bytes - 1; last < rows->size(); last += row_bytes) {
    (*rows)[last] &= static_cast<uint8_t>(0xFF << (8 - width % 8));
  }
}

class DrawingReader {
 public:
  DrawingReader(std::string_view text, FontDrawing* drawing, std::string* error)
      : lines_(text), drawing_(drawing), error_(error) {}

  bool read() {
    for (int i = 0; i < 4; ++i) {
      if (!lines_.next(&line_)) return fail("the text ends in the header");
    }
    int properties = 0;
    if (!lines_.next(&line_) || sscanf(line_.c_str(), "STARTPROPERTIES %d", &properties) != 1) {
      return fail("no STARTPROPERTIES line after the four header lines");
    }
    for (int i = 0; i < properties; ++i) {
      if (!lines_.next(&line_)) return fail("the text ends in the properties");
    }
    if (!lines_.next(&line_) || !begins(line_, "ENDPROPERTIES")) return fail("no ENDPROPERTIES line after the properties");
    int count = 0;
    if (!lines_.next(&line_) || sscanf(line_.c_str(), "CHARS %d", &count) != 1) return fail("no CHARS line after the properties");
    while (lines_.next(&line_) && begins(line_, "STARTCHAR")) {
      if (!readGlyph()) return false;
    }
    return true;
  }

 private:
  bool fail(const std::string& message) {
    *error_ = message;
    return false;
  }

  // The next line, which must scan with `format` into `wanted` or more values.
  template <typename... Values>
  bool scanNext(const char* format, int wanted, int* found, Values*... values) {
    *found = lines_.next(&line_) ? sscanf(line_.c_str(), format, values...) : 0;
    return *found >= wanted;
  }

  bool readGlyph() {
    char name[1024] = "";
    sscanf(line_.c_str(), "STARTCHAR %1023s", name);
    int found = 0, code = 0, alternative = 0, swidth_x = 0, swidth_y = 0, advance = 0, dwidth_y = 0;
    int width = 0, height = 0, x_offset = 0, y_offset = 0;
    const std::string where = std::string(" of glyph '") + name + "'";
    if (!scanNext("ENCODING %d %d", 1, &found, &code, &alternative)) return fail("bad ENCODING line" + where);
    if (code == -1 && found == 2) code = alternative;
    if (!scanNext("SWIDTH %d %d", 2, &found, &swidth_x, &swidth_y)) return fail("bad SWIDTH line" + where);
    if (!scanNext("DWIDTH %d %d", 2, &found, &advance, &dwidth_y)) return fail("bad DWIDTH line" + where);
    if (!scanNext("BBX %d %d %d %d", 4, &found, &width, &height, &x_offset, &y_offset)) return fail("bad BBX line" + where);
    // The boxes bdf2vbt takes: sides up to 32,767, bitmaps up to 65,536 bytes.
    if (width < 0 || height < 0 || width > 32767 || height > 32767 || int64_t{height} * ((width + 7) / 8) > 65536) {
      return fail("a box bdf2vbt refuses" + where);
    }
    if (!lines_.next(&line_) || !begins(line_, "BITMAP")) return fail("no BITMAP line" + where);
    BoxRows rows(width, height);
    for (;;) {
      if (!lines_.next(&line_)) return fail("no ENDCHAR line" + where);
      if (begins(line_, "ENDCHAR")) break;
      rows.add(line_);
    }
    if (code < 0 || code > 65535) return true;
    DrawnGlyph& glyph = drawing_->glyphs[code];
    glyph.name = name;
    glyph.metrics.width = static_cast<int16_t>(width);
    glyph.metrics.height = static_cast<int16_t>(height);
    glyph.metrics.ascent = static_cast<int32_t>(static_cast<uint32_t>(height) + static_cast<uint32_t>(y_offset));
    glyph.metrics.x_offset = x_offset;
    glyph.metrics.advance = advance;
    glyph.rows = rows.take();
    clearBeyondWidth(&glyph.rows, width);
    return true;
  }

  PlainLines lines_;
  FontDrawing* drawing_;
  std::string* error_;
  std::string line_;
};

}  // namespace

bool readFontDrawing(std::string_view text, FontDrawing* drawing, std::string* error) {
  return DrawingReader(text, drawing, error).read();
}

}  // namespace vbtdump
