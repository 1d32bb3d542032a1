#include "vbt_reader.h"

#define REPLACEMENT_CHARACTER 0xFFFDu

/* The code point at *text, which moves past it. A byte that starts no
 * well-formed sequence (overlong forms, surrogates and values above
 * 0x10FFFF included) gives U+FFFD and moves one byte. A NUL byte is never
 * part of a sequence, so nothing past the terminator is read. */
static uint32_t next_code(const uint8_t **text) {
  const uint8_t *bytes = *text;
  uint32_t code = bytes[0], lowest;
  unsigned following, k;
  *text = bytes + 1;
  if (code < 0x80) return code;
  if (code >= 0xC2 && code < 0xE0) {
    following = 1, code &= 0x1F, lowest = 0x80;
  } else if (code >= 0xE0 && code < 0xF0) {
    following = 2, code &= 0x0F, lowest = 0x800;
  } else if (code >= 0xF0 && code < 0xF5) {
    following = 3, code &= 0x07, lowest = 0x10000;
  } else {
    return REPLACEMENT_CHARACTER;
  }
  for (k = 1; k <= following; ++k) {
    if ((bytes[k] & 0xC0) != 0x80) return REPLACEMENT_CHARACTER;
    code = code << 6 | (bytes[k] & 0x3F);
  }
  if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return REPLACEMENT_CHARACTER;
  *text = bytes + 1 + following;
  return code;
}

static vbt_status find_glyph(const vbt_font *font, uint32_t code, uint32_t replacement, vbt_glyph *glyph) {
  vbt_status status = vbt_lookup(font, code, glyph);
  if (status == VBT_NOT_PRESENT) status = vbt_lookup(font, replacement, glyph);
  if (status == VBT_NOT_PRESENT) {
    vbt_missing_glyph(font, glyph);
    status = VBT_OK;
  }
  return status;
}

/* The extent while a line is laid out, in 64 bits so that no step
 * overflows; each value is checked against 32 bits before it is kept. */
typedef struct wide_extent {
  int64_t left, right, above, below;
} wide_extent;

static int64_t min64(int64_t a, int64_t b) { return a < b ? a : b; }

static int64_t max64(int64_t a, int64_t b) { return a > b ? a : b; }

static int fits32(int64_t v) { return v >= -0x7FFFFFFFL - 1 && v <= 0x7FFFFFFFL; }

static void widen(wide_extent *extent, int64_t pen, const vbt_glyph *glyph) {
  const int64_t box_left = pen + glyph->x_offset, next = pen + glyph->advance;
  extent->left = min64(extent->left, min64(box_left, next));
  extent->right = max64(extent->right, max64(box_left + glyph->width, next));
  extent->above = max64(extent->above, glyph->ascent);
  extent->below = max64(extent->below, (int64_t)glyph->height - glyph->ascent);
}

/* Lays `text` out from the pen at (pen_x, baseline_y) and draws it, or,
 * without a canvas, measures it from a pen at 0 into *measured. */
static vbt_status lay_out(const vbt_font *font, const char *text, uint32_t replacement, const vbt_canvas *canvas,
                          int32_t pen_x, int32_t baseline_y, vbt_extent *measured) {
  const uint8_t *next = (const uint8_t *)text;
  wide_extent extent;
  int64_t pen = pen_x;
  vbt_glyph glyph;
  vbt_status status;
  extent.left = extent.right = pen;
  extent.above = font->box_ascent;
  extent.below = max64((int64_t)font->box_height - font->box_ascent, 0);
  while (*next) {
    status = find_glyph(font, next_code(&next), replacement, &glyph);
    if (status == VBT_OK && canvas) status = vbt_draw_glyph(font, canvas, (int32_t)pen, baseline_y, &glyph);
    if (status != VBT_OK) return status;
    widen(&extent, pen, &glyph);
    pen += glyph.advance;
    if (!fits32(pen)) return VBT_ERR_TOO_WIDE;
  }
  if (!measured) return VBT_OK;
  if (!fits32(extent.left) || !fits32(extent.right) || !fits32(extent.above) || !fits32(extent.below)) {
    return VBT_ERR_TOO_WIDE;
  }
  measured->advance = (int32_t)pen;
  measured->left = (int32_t)extent.left;
  measured->right = (int32_t)extent.right;
  measured->above = (int32_t)extent.above;
  measured->below = (int32_t)extent.below;
  return VBT_OK;
}

vbt_status vbt_measure_text(const vbt_font *font, const char *text, uint32_t replacement, vbt_extent *extent) {
  return lay_out(font, text, replacement, NULL, 0, 0, extent);
}

vbt_status vbt_draw_text(const vbt_font *font, const vbt_canvas *canvas, int32_t pen_x, int32_t baseline_y,
                         const char *text, uint32_t replacement) {
  return lay_out(font, text, replacement, canvas, pen_x, baseline_y, NULL);
}
