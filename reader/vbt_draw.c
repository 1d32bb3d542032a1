#include "vbt_reader.h"

/* a + b and a - b, or the nearest 32-bit value: a position beyond 32 bits
 * is clipped away anyway, as canvases and glyphs are smaller than 2^31 and
 * 2^16 pixels. */
static int32_t add_saturating(int32_t a, int32_t b) {
  if (b > 0 && a > 0x7FFFFFFFL - b) return 0x7FFFFFFFL;
  if (b < 0 && a < -0x7FFFFFFFL - 1 - b) return -0x7FFFFFFFL - 1;
  return a + b;
}

static int32_t subtract_saturating(int32_t a, int32_t b) {
  if (b < 0 && a > 0x7FFFFFFFL + b) return 0x7FFFFFFFL;
  if (b > 0 && a < -0x7FFFFFFFL - 1 + b) return -0x7FFFFFFFL - 1;
  return a - b;
}

/* The pixels [*from, *to) of a glyph's `size` from `start` on that fall in
 * [0, limit); none when *from >= *to. */
static void clip(int32_t start, uint32_t size, int32_t limit, uint32_t *from, uint32_t *to) {
  *from = start >= 0 ? 0 : 0u - (uint32_t)start;
  *to = start >= limit ? 0 : (uint32_t)limit - (uint32_t)start;
  if (*to > size) *to = size;
}

static void plot(const vbt_canvas *canvas, int32_t x, int32_t y) {
  if (canvas->set_pixel) {
    canvas->set_pixel(canvas->context, x, y);
  } else {
    canvas->pixels[(uint32_t)y * canvas->stride + ((uint32_t)x >> 3)] |= (uint8_t)(0x80u >> (x & 7));
  }
}

vbt_status vbt_draw_glyph(const vbt_font *font, const vbt_canvas *canvas, int32_t pen_x, int32_t baseline_y,
                          const vbt_glyph *glyph) {
  const int32_t left = add_saturating(pen_x, glyph->x_offset);
  const int32_t top = subtract_saturating(baseline_y, glyph->ascent);
  const uint32_t last_x = glyph->width - 1u, last_y = glyph->height - 1u;
  const uint8_t *row = NULL;
  uint32_t x, y, x_from, x_to, y_from, y_to;
  clip(left, glyph->width, canvas->width, &x_from, &x_to);
  clip(top, glyph->height, canvas->height, &y_from, &y_to);
  /* No row is read for a glyph whose columns all lie outside. */
  if (x_from >= x_to) return VBT_OK;
  for (y = y_from; y < y_to; ++y) {
    if (glyph->image) {
      const vbt_status status = vbt_glyph_row(font, glyph, y, &row);
      if (status != VBT_OK) return status;
    }
    for (x = x_from; x < x_to; ++x) {
      const int ink = row ? row[x >> 3] & (0x80u >> (x & 7))
                          : x == 0 || y == 0 || x == last_x || y == last_y;
      if (ink) plot(canvas, left + (int32_t)x, top + (int32_t)y);
    }
  }
  return VBT_OK;
}
