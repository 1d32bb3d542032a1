// libFuzzer entry point for the device reader. Input: one byte n, n bytes of
// text, then the file. The file is opened in memory and through a read
// callback that fails the run on any request outside the file or for no
// bytes; the codes around its range and those in the text's bytes are
// looked up, as codes and as table indexes, drawn into framebuffers with
// guard bytes on both sides and through a set-pixel callback that checks its
// coordinates; the text, as UTF-8, is measured and drawn. Both ways of
// reaching the bytes must give the same answers and the same pixels.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "vbt_reader.h"

namespace {

// Glyphs and extents are compared byte for byte.
static_assert(sizeof(vbt_glyph) == 20 && sizeof(vbt_extent) == 20);

struct File {
  const uint8_t* data;
  uint32_t size;
};

int readFile(void* context, uint32_t offset, uint32_t length, uint8_t* buffer) {
  const auto* file = static_cast<const File*>(context);
  if (length == 0 || length > file->size || offset > file->size - length) abort();
  memcpy(buffer, file->data + offset, length);
  return 0;
}

void checkPixel(void* context, int32_t x, int32_t y) {
  const auto* canvas = static_cast<const vbt_canvas*>(context);
  if (x < 0 || y < 0 || x >= canvas->width || y >= canvas->height) abort();
}

constexpr size_t kGuard = 16;
constexpr uint8_t kGuardByte = 0xA5;

// Calls draw(way, canvas, pen_x, baseline) for both ways on a canvas shaped
// by `seed` (up to 70 x 40 pixels, a stride with up to two spare bytes, the
// pen around it), and in memory through checkPixel. No way may write beyond
// the width or into the guard bytes; the two must agree but where the
// callback's row buffer is too small.
template <typename Draw>
void drawBothWays(uint32_t seed, const Draw& draw) {
  const auto width = static_cast<int32_t>(seed % 71), height = static_cast<int32_t>((seed >> 8) % 41);
  const uint32_t stride = (static_cast<uint32_t>(width) + 7) / 8 + (seed >> 12) % 3;
  const int32_t pen_x = static_cast<int8_t>(seed >> 16), baseline = static_cast<int8_t>(seed >> 24);
  std::vector<uint8_t> memory[2];
  vbt_status status[2];
  for (int way = 0; way < 2; ++way) {
    std::vector<uint8_t>& bytes = memory[way];
    bytes.assign(kGuard + stride * static_cast<size_t>(height) + kGuard, kGuardByte);
    std::fill(bytes.begin() + kGuard, bytes.end() - kGuard, 0);
    const vbt_canvas canvas{bytes.data() + kGuard, stride, width, height, nullptr, nullptr};
    status[way] = draw(way, &canvas, pen_x, baseline);
    for (size_t i = 0; i < kGuard; ++i) {
      if (bytes[i] != kGuardByte || bytes[bytes.size() - 1 - i] != kGuardByte) abort();
    }
    for (int32_t y = 0; y < height; ++y) {
      for (uint32_t x = static_cast<uint32_t>(width); x < stride * 8; ++x) {
        if (canvas.pixels[y * stride + x / 8] & (0x80 >> (x % 8))) abort();
      }
    }
  }
  vbt_canvas checked{memory[0].data() + kGuard, stride, width, height, checkPixel, nullptr};
  checked.context = &checked;
  if (draw(0, &checked, pen_x, baseline) != status[0]) abort();
  if (status[1] != VBT_ERR_ROW_BUFFER && (status[0] != status[1] || memory[0] != memory[1])) abort();
}

// Looks `code` up both ways, as a code and as a table index: the answers
// must agree, and a glyph found by its code is drawn both ways.
void checkCode(const vbt_font (&fonts)[2], uint32_t code) {
  vbt_glyph glyphs[2], by_index[2];
  const vbt_status status = vbt_lookup(&fonts[0], code, &glyphs[0]);
  const vbt_status index_status = vbt_lookup_index(&fonts[0], code, &by_index[0]);
  if (vbt_lookup(&fonts[1], code, &glyphs[1]) != status) abort();
  if (vbt_lookup_index(&fonts[1], code, &by_index[1]) != index_status) abort();
  if (index_status == VBT_OK && memcmp(&by_index[0], &by_index[1], sizeof by_index[0]) != 0) abort();
  if (status != VBT_OK) return;
  if (memcmp(&glyphs[0], &glyphs[1], sizeof glyphs[0]) != 0) abort();
  drawBothWays(code * 2654435761u, [&](int way, const vbt_canvas* canvas, int32_t pen_x, int32_t baseline) {
    return vbt_draw_glyph(&fonts[way], canvas, pen_x, baseline, &glyphs[way]);
  });
}

void checkText(const vbt_font (&fonts)[2], const std::string& text, uint32_t replacement) {
  vbt_extent extents[2];
  const vbt_status status = vbt_measure_text(&fonts[0], text.c_str(), replacement, &extents[0]);
  if (vbt_measure_text(&fonts[1], text.c_str(), replacement, &extents[1]) != status) abort();
  if (status == VBT_OK && memcmp(&extents[0], &extents[1], sizeof extents[0]) != 0) abort();
  drawBothWays(static_cast<uint32_t>(text.size()) * 0x9E3779B9u,
               [&](int way, const vbt_canvas* canvas, int32_t pen_x, int32_t baseline) {
                 return vbt_draw_text(&fonts[way], canvas, pen_x, baseline, text.c_str(), replacement);
               });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size - 1 < data[0] || size > UINT32_MAX) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), data[0]);
  File file{data + 1 + data[0], static_cast<uint32_t>(size - 1 - data[0])};
  vbt_font fonts[2];
  const vbt_status status = vbt_open_memory(&fonts[0], file.data, file.size);
  std::vector<uint8_t> row_buffer(VBT_ROW_BYTES(status == VBT_OK ? fonts[0].largest_width : 0));
  if (vbt_open_reader(&fonts[1], readFile, &file, file.size, row_buffer.data(),
                      static_cast<uint32_t>(row_buffer.size())) != status) {
    abort();
  }
  if (status != VBT_OK) return 0;
  const uint32_t first = static_cast<uint32_t>(fonts[0].first_code), count = fonts[0].count, end = first + count;
  for (uint32_t code : {first - 1, first, first + 1, end - 1, end, 0u, 0xFFFDu, 0x7FFFFFFFu, 0x80000000u,
                        count - 1, count}) {
    checkCode(fonts, code);
  }
  for (size_t at = 0; at + 4 <= text.size(); at += 4) {
    uint32_t code;
    memcpy(&code, text.data() + at, 4);
    checkCode(fonts, code);
  }
  checkText(fonts, text, text.empty() ? VBT_NO_REPLACEMENT : first + static_cast<uint8_t>(text[0]) % 4);
  return 0;
}
