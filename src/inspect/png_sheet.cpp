#include "inspect/png_sheet.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "inspect/dot_digits.h"
#include "inspect/png_writer.h"
#include "inspect/text_format.h"
#include "inspect/vbt_file.h"

namespace vbtdump {

namespace {

struct Rgb {
  uint8_t r, g, b;
};

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kGrid{200, 200, 200};
constexpr Rgb kAdvance{255, 240, 200};
constexpr Rgb kBaseline{120, 160, 255};
constexpr Rgb kInk{0, 0, 0};
constexpr Rgb kLabel{60, 60, 60};
constexpr Rgb kFillerLabel{185, 185, 185};

// One grid row of the image, 3 bytes per pixel.
class Band {
 public:
  // A band of `width` x `height` pixels, all black until filled.
  Band(int64_t width, int64_t height)
      : width_(width), height_(height), pixels_(static_cast<size_t>(width * height * 3)) {}

  // Paints the rectangle at (x, y) of w x h pixels, clipped to the band.
  void fill(int64_t x, int64_t y, int64_t w, int64_t h, Rgb color) {
    const int64_t x1 = std::min(x + w, width_), y1 = std::min(y + h, height_);
    for (int64_t py = std::max<int64_t>(y, 0); py < y1; ++py) {
      for (int64_t px = std::max<int64_t>(x, 0); px < x1; ++px) {
        uint8_t* p = &pixels_[static_cast<size_t>((py * width_ + px) * 3)];
        p[0] = color.r, p[1] = color.g, p[2] = color.b;
      }
    }
  }
  // The pixels of row `y`.
  const uint8_t* row(int64_t y) const { return &pixels_[static_cast<size_t>(y * width_ * 3)]; }
  int64_t width() const { return width_; }
  int64_t height() const { return height_; }

 private:
  int64_t width_, height_;
  std::vector<uint8_t> pixels_;
};

// The first code of the grid row that holds `code`.
int64_t rowStart(int64_t code) { return code - (((code % kCodesPerRow) + kCodesPerRow) % kCodesPerRow); }

// `code` in upper-case hex, at least `digits` characters with its sign.
std::string labelText(int64_t code, int64_t digits) {
  const long long magnitude = code < 0 ? -code : code;
  return formatText("%s%0*llX", code < 0 ? "-" : "", static_cast<int>(digits - (code < 0)), magnitude);
}

// The reader's glyph of table index `i`, when the font has one.
std::optional<vbt_glyph> glyphAt(const VbtFile& file, int64_t i) {
  vbt_glyph g;
  if (vbt_lookup_index(file.reader(), static_cast<uint32_t>(i), &g) != VBT_OK) return std::nullopt;
  return g;
}

// The grid rows with a glyph of `span`, and the glyph area that holds every
// glyph of those rows.
void findRowsAndGlyphArea(const VbtFile& file, const CodeSpan& span, SheetLayout& layout) {
  layout.glyphs = fontBoxExtent(file);
  for (int64_t i = 0; i < file.codeCount(); ++i) {
    const int64_t code = file.codeAt(i);
    if (code < span.first || code > span.last || !glyphAt(file, i)) continue;
    const int64_t row = rowStart(code);
    if (layout.rows.empty() || layout.rows.back() != row) layout.rows.push_back(row);
  }
  for (int64_t row : layout.rows) {
    for (int64_t code = row; code < row + kCodesPerRow; ++code) {
      const int64_t i = file.indexOf(code);
      const std::optional<vbt_glyph> glyph = i >= 0 ? glyphAt(file, i) : std::nullopt;
      if (glyph) layout.glyphs.include(*glyph, 0);
    }
  }
  layout.glyphs.right = std::max(layout.glyphs.right, layout.glyphs.left + 1);
  if (layout.glyphs.height() == 0) layout.glyphs.above = 1;
}

void drawLabel(Band& band, const SheetLayout& layout, int64_t col, int64_t code, Rgb color) {
  const std::string text = labelText(code, layout.digits);
  for (size_t k = 0; k < text.size(); ++k) {
    const int64_t x0 = layout.contentX(col) + static_cast<int64_t>(k) * 4 * layout.dot;
    for (int y = 0; y < kDotDigitHeight; ++y) {
      for (int x = 0; x < kDotDigitWidth; ++x) {
        if (!dotDigitDot(text[k], x, y)) continue;
        band.fill(x0 + x * layout.dot, 2 + y * layout.dot, layout.dot, layout.dot, color);
      }
    }
  }
}

// Where the reader's pixels of one cell land in the band.
struct CellInk {
  Band* band;
  const SheetLayout* layout;
  int64_t col;
};

void fillInk(void* context, int32_t x, int32_t y) {
  const auto* ink = static_cast<const CellInk*>(context);
  const int64_t s = ink->layout->scale;
  ink->band->fill(ink->layout->contentX(ink->col) + x * s, ink->layout->glyphTop() + y * s, s, s, kInk);
}

void drawGlyph(Band& band, const SheetLayout& layout, int64_t col, const vbt_font& font, const vbt_glyph& g) {
  const int64_t s = layout.scale;
  const int64_t pen = layout.penX(col);
  band.fill(pen + std::min<int64_t>(g.advance, 0) * s, layout.glyphTop(),
            std::abs(int64_t{g.advance}) * s, layout.glyphs.height() * s, kAdvance);
  band.fill(layout.contentX(col), layout.baselineY(), layout.glyphs.width() * s, 1, kBaseline);
  // The glyph area holds every glyph, so the canvas clips nothing.
  CellInk ink{&band, &layout, col};
  const vbt_canvas canvas{nullptr, 0, static_cast<int32_t>(layout.glyphs.width()),
                          static_cast<int32_t>(layout.glyphs.height()), fillInk, &ink};
  vbt_draw_glyph(&font, &canvas, static_cast<int32_t>(-layout.glyphs.left), static_cast<int32_t>(layout.glyphs.above), &g);
}

void drawCell(Band& band, const SheetLayout& layout, const VbtFile& file, int64_t col,
              int64_t code) {
  const int64_t i = file.indexOf(code);
  if (i < 0) return;
  const std::optional<vbt_glyph> glyph = glyphAt(file, i);
  if (!glyph) {
    drawLabel(band, layout, col, code, kFillerLabel);
    return;
  }
  drawLabel(band, layout, col, code, kLabel);
  drawGlyph(band, layout, col, *file.reader(), *glyph);
}

void drawRow(Band& band, const SheetLayout& layout, const VbtFile& file, int64_t first) {
  band.fill(0, 0, band.width(), band.height(), kPaper);
  band.fill(0, 0, band.width(), 1, kGrid);
  for (int64_t col = 0; col <= kCodesPerRow; ++col) {
    band.fill(col * layout.cell_width, 0, 1, band.height(), kGrid);
  }
  for (int64_t col = 0; col < kCodesPerRow; ++col) drawCell(band, layout, file, col, first + col);
}

// Bounds on the work and memory a sheet may take: one grid row is drawn at a
// time.
constexpr int64_t kMaxRowPixels = int64_t{1} << 25;
constexpr int64_t kMaxSheetPixels = int64_t{1} << 28;

bool tooLarge(const SheetLayout& layout) {
  if (layout.width() > kMaxPngSide || layout.height() > kMaxPngSide) return true;
  return layout.width() * layout.cell_height > kMaxRowPixels ||
         layout.width() * layout.height() > kMaxSheetPixels;
}

bool writeRows(PngWriter& png, const SheetLayout& layout, const VbtFile& file) {
  Band band(layout.width(), layout.cell_height);
  for (int64_t first : layout.rows) {
    drawRow(band, layout, file, first);
    for (int64_t y = 0; y < band.height(); ++y) {
      if (!png.writeRow(band.row(y))) return false;
    }
  }
  band.fill(0, 0, band.width(), 1, kGrid);
  return png.writeRow(band.row(0));
}

}  // namespace

SheetLayout layoutSheet(const VbtFile& file, int scale, const CodeSpan& span) {
  SheetLayout layout;
  layout.scale = scale;
  layout.dot = std::max(1, (scale + 2) / 4);
  const int64_t first = file.codeAt(0), last = file.codeAt(file.codeCount() - 1);
  layout.digits = std::max<int64_t>({4, static_cast<int64_t>(labelText(first, 1).size()),
                                     static_cast<int64_t>(labelText(last, 1).size())});
  findRowsAndGlyphArea(file, span, layout);
  const int64_t label_width = layout.digits * 4 * layout.dot - layout.dot;
  const int64_t inner = std::max(layout.glyphs.width() * scale, label_width);
  layout.cell_width = inner + 3;
  layout.cell_height = layout.glyphTop() + layout.glyphs.height() * scale + 1;
  return layout;
}

namespace {

// The layout at `scale`, cut to the rows that fit the default height when
// neither a scale nor codes were asked for.
SheetLayout layoutFor(const VbtFile& file, int scale, const SheetRequest& request) {
  SheetLayout layout = layoutSheet(file, scale, request.codes);
  if (request.scale != 0 || request.has_codes || layout.height() <= kDefaultMaxHeight) return layout;
  const size_t fitting = static_cast<size_t>(std::max<int64_t>((kDefaultMaxHeight - 1) / layout.cell_height, 1));
  if (fitting < layout.rows.size()) {
    layout.rows_left_out = static_cast<int64_t>(layout.rows.size() - fitting);
    layout.rows.resize(fitting);
  }
  return layout;
}

// The scale asked for, or with none the default or the largest smaller one
// that fits; 0 when none fits.
int chooseScale(const VbtFile& file, const SheetRequest& request) {
  if (request.scale != 0) return tooLarge(layoutFor(file, request.scale, request)) ? 0 : request.scale;
  for (int scale = kDefaultScale; scale >= 1; --scale) {
    if (!tooLarge(layoutFor(file, scale, request))) return scale;
  }
  return 0;
}

// Why the sheet cannot be drawn as `request` asks.
std::string tooLargeText(const VbtFile& file, const SheetRequest& request) {
  const SheetLayout layout = layoutFor(file, request.scale != 0 ? request.scale : 1, request);
  std::string text = formatText("the sheet would be too large (%lld x %lld pixels)",
                                static_cast<long long>(layout.width()), static_cast<long long>(layout.height()));
  SheetRequest any_scale = request;
  any_scale.scale = 0;
  const int fits = request.scale > 1 ? chooseScale(file, any_scale) : 0;
  return fits != 0 ? text + formatText("; --scale %d fits", fits) : text;
}

}  // namespace

bool drawSheet(const VbtFile& file, const SheetRequest& request, SheetLayout* sheet, std::vector<uint8_t>* png_bytes,
               std::string* error) {
  if (file.codeCount() == 0) {
    *error = "the font has no codes to show";
    return false;
  }
  if (request.has_codes && layoutSheet(file, 1, request.codes).rows.empty()) {
    *error = formatText("no code from %s to %s has a glyph", codeText(request.codes.first).c_str(),
                        codeText(request.codes.last).c_str());
    return false;
  }
  const int scale = chooseScale(file, request);
  if (scale == 0) {
    *error = tooLargeText(file, request);
    return false;
  }
  *sheet = layoutFor(file, scale, request);
  const SheetLayout& layout = *sheet;
  PngWriter png;
  const bool ok = png.start(static_cast<uint32_t>(layout.width()), static_cast<uint32_t>(layout.height())) &&
                  writeRows(png, layout, file) && png.finish();
  if (!ok) *error = png.error();
  *png_bytes = png.bytes();
  return ok;
}

}  // namespace vbtdump
