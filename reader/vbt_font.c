#include "vbt_reader.h"

#include <string.h>

enum {
  HEADER_SIZE = 44,
  MAGIC = 0x5632,
  FLAG_FIXED_WIDTH = 0x1000,
  METRIC_RECORD_SHIFT = 5,   /* 32-byte records */
  METRIC_FIELDS_SIZE = 16,   /* the record's fields; the rest is reserved */
  OFFSET_ENTRY_SHIFT = 2     /* 4-byte entries */
};

/* The first writers stored this count for a font without glyphs. */
#define EMPTY_RANGE_COUNT (-65535L)

static uint32_t le16(const uint8_t *p) { return (uint32_t)p[0] | (uint32_t)p[1] << 8; }

static uint32_t le32(const uint8_t *p) { return le16(p) | le16(p + 2) << 16; }

/* Two's complement without implementation-defined conversions. */
static int32_t to_signed(uint32_t v) {
  return v <= 0x7FFFFFFFu ? (int32_t)v : -(int32_t)~v - 1;
}

/* Callers have checked that the bytes lie inside the file. */
static const uint8_t *fetch(const vbt_font *font, uint32_t at, uint32_t length, uint8_t *buffer) {
  if (font->data) return font->data + at;
  return font->read(font->context, at, length, buffer) == 0 ? buffer : NULL;
}

static vbt_status check_table(const vbt_font *font, uint32_t at, unsigned shift, vbt_status outside) {
  if (at < HEADER_SIZE || at > font->size) return outside;
  if (font->count > (0xFFFFFFFFu - at) >> shift) return VBT_ERR_OVERFLOW;
  if (font->count << shift > font->size - at) return outside;
  return VBT_OK;
}

static vbt_status open_font(vbt_font *font) {
  uint8_t buffer[HEADER_SIZE];
  const uint8_t *header;
  int32_t count, above;
  vbt_status status;
  if (font->size < HEADER_SIZE) return VBT_ERR_SHORT;
  header = fetch(font, 0, HEADER_SIZE, buffer);
  if (!header) return VBT_ERR_READ;
  if (le16(header) != MAGIC) return VBT_ERR_MAGIC;
  count = to_signed(le32(header + 40));
  if (count == EMPTY_RANGE_COUNT) count = 0;
  if (count < 0) return VBT_ERR_COUNT;
  font->count = (uint32_t)count;
  font->metrics_at = le32(header + 20);
  font->offsets_at = le32(header + 12);
  status = check_table(font, font->metrics_at, METRIC_RECORD_SHIFT, VBT_ERR_METRICS);
  if (status == VBT_OK) status = check_table(font, font->offsets_at, OFFSET_ENTRY_SHIFT, VBT_ERR_OFFSETS);
  font->first_code = to_signed(le32(header + 36));
  font->flags = (uint16_t)le16(header + 2);
  font->largest_width = (uint16_t)le16(header + 4);
  font->box_width = (uint16_t)le16(header + 8);
  font->box_height = (uint16_t)le16(header + 10);
  font->underline = (uint16_t)le16(header + 32);
  above = (int32_t)le16(header + 34) - (int32_t)(le16(header + 34) & 0x8000u) * 2 + 1;
  font->box_ascent = (uint16_t)(above < 0 ? 0 : above);
  return status;
}

vbt_status vbt_open_memory(vbt_font *font, const void *data, uint32_t size) {
  memset(font, 0, sizeof *font);
  font->data = (const uint8_t *)data;
  font->size = size;
  return open_font(font);
}

vbt_status vbt_open_reader(vbt_font *font, vbt_read_fn read, void *context, uint32_t size,
                           uint8_t *row_buffer, uint32_t row_buffer_size) {
  memset(font, 0, sizeof *font);
  font->read = read;
  font->context = context;
  font->size = size;
  font->row_buffer = row_buffer;
  font->row_buffer_size = row_buffer_size;
  return open_font(font);
}

/* The record of a code without glyph, but for its image byte: 1 x 1 at the
 * origin, with no advance or the one every code of a fixed-width font has. */
static int has_empty_record(const vbt_font *font, const vbt_glyph *glyph) {
  return glyph->width == 1 && glyph->height == 1 && glyph->ascent == 0 && glyph->x_offset == 0 &&
         (glyph->advance == 0 || (font->flags & FLAG_FIXED_WIDTH));
}

vbt_status vbt_lookup(const vbt_font *font, uint32_t code, vbt_glyph *glyph) {
  /* Below the first code the difference wraps to 2^31 or more, which no
   * count reaches. */
  return code > 0x7FFFFFFFu ? VBT_NOT_PRESENT : vbt_lookup_index(font, code - (uint32_t)font->first_code, glyph);
}

vbt_status vbt_lookup_index(const vbt_font *font, uint32_t index, vbt_glyph *glyph) {
  uint8_t buffer[METRIC_FIELDS_SIZE];
  const uint8_t *bytes;
  uint32_t image_size;
  if (index >= font->count) return VBT_NOT_PRESENT;
  bytes = fetch(font, font->metrics_at + (index << METRIC_RECORD_SHIFT), METRIC_FIELDS_SIZE, buffer);
  if (!bytes) return VBT_ERR_READ;
  if ((bytes[1] | bytes[3]) & 0x80) return VBT_ERR_SIZE;
  glyph->width = (uint16_t)le16(bytes);
  glyph->height = (uint16_t)le16(bytes + 2);
  glyph->ascent = to_signed(le32(bytes + 4));
  glyph->x_offset = to_signed(le32(bytes + 8));
  glyph->advance = to_signed(le32(bytes + 12));
  bytes = fetch(font, font->offsets_at + (index << OFFSET_ENTRY_SHIFT), 4, buffer);
  if (!bytes) return VBT_ERR_READ;
  glyph->image = le32(bytes);
  image_size = glyph->height * VBT_ROW_BYTES(glyph->width);
  if (glyph->image < HEADER_SIZE || glyph->image > font->metrics_at ||
      image_size > font->metrics_at - glyph->image) {
    return VBT_ERR_IMAGE;
  }
  if (!has_empty_record(font, glyph)) return VBT_OK;
  bytes = fetch(font, glyph->image, 1, buffer);
  if (!bytes) return VBT_ERR_READ;
  return *bytes == 0 ? VBT_NOT_PRESENT : VBT_OK;
}

void vbt_missing_glyph(const vbt_font *font, vbt_glyph *glyph) {
  glyph->width = (uint16_t)(font->box_width > 3 ? font->box_width - 1 : 2);
  glyph->height = (uint16_t)(font->box_ascent > 3 ? font->box_ascent - 1 : 2);
  glyph->ascent = glyph->height;
  glyph->x_offset = 0;
  glyph->advance = glyph->width + 1;
  glyph->image = 0;
}

vbt_status vbt_glyph_row(const vbt_font *font, const vbt_glyph *glyph, uint32_t row, const uint8_t **bytes) {
  const uint32_t row_bytes = VBT_ROW_BYTES(glyph->width);
  if (!font->data && row_bytes > font->row_buffer_size) return VBT_ERR_ROW_BUFFER;
  *bytes = fetch(font, glyph->image + row * row_bytes, row_bytes, font->row_buffer);
  return *bytes ? VBT_OK : VBT_ERR_READ;
}

const char *vbt_status_name(vbt_status status) {
  static const char *const names[] = {
    "ok", "not present", "read failed", "shorter than a header", "bad magic", "negative count",
    "table end overflows", "metrics table outside file", "offset table outside file",
    "negative glyph size", "image outside its area", "row buffer too small", "too wide"};
  return (unsigned)status < sizeof names / sizeof names[0] ? names[status] : "unknown status";
}
