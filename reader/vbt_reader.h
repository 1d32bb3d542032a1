/* Reads VBT2 fonts where they lie, in flash, RAM or behind a read callback,
 * and draws their glyphs and UTF-8 text into 1-bit framebuffers.
 *
 * C99 that also compiles as C++. No heap, no global or static mutable state,
 * no library call but memcpy and memset. Nothing read from the file is
 * trusted: every position is checked against the file's size before it is
 * read, and a code is answered only with its own glyph. */
#ifndef VBT_READER_H
#define VBT_READER_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Bytes of one image row of a glyph `width` pixels wide. */
#define VBT_ROW_BYTES(width) (((uint32_t)(width) + 7u) / 8u)
/* A row buffer of this size holds a row of any glyph (32,767 pixels wide). */
#define VBT_MAX_ROW_BYTES 4096u
/* A replacement code that no font has: missing glyphs are drawn as boxes. */
#define VBT_NO_REPLACEMENT 0xFFFFFFFFu

/* What a call gives; each failure has its own code and name. */
typedef enum vbt_status {
  VBT_OK = 0,
  VBT_NOT_PRESENT,     /* the font has no glyph for the code */
  VBT_ERR_READ,        /* the read callback failed */
  VBT_ERR_SHORT,       /* the file is shorter than the 44-byte header */
  VBT_ERR_MAGIC,       /* the file does not begin with '2V' */
  VBT_ERR_COUNT,       /* the number of codes is negative */
  VBT_ERR_OVERFLOW,    /* a table's end lies beyond 32-bit positions */
  VBT_ERR_METRICS,     /* the metrics table is not inside the file */
  VBT_ERR_OFFSETS,     /* the image offset table is not inside the file */
  VBT_ERR_SIZE,        /* a glyph's width or height is negative */
  VBT_ERR_IMAGE,       /* a glyph's image is not inside the image area */
  VBT_ERR_ROW_BUFFER,  /* the row buffer is smaller than a row of the glyph */
  VBT_ERR_TOO_WIDE     /* a pen position or a text's extent passes 32 bits */
} vbt_status;

/* Reads `length` bytes at `offset` of the file into `buffer`; returns 0 on
 * success. It is asked only for bytes inside the file's size. */
typedef int (*vbt_read_fn)(void *context, uint32_t offset, uint32_t length, uint8_t *buffer);

/* An open font. Filled by vbt_open_memory or vbt_open_reader; read-only
 * afterwards, but for the row buffer's contents. */
typedef struct vbt_font {
  const uint8_t *data;       /* the file in memory, or NULL when it is read through `read` */
  vbt_read_fn read;
  void *context;             /* handed to `read` */
  uint8_t *row_buffer;       /* where `read` puts image rows */
  uint32_t row_buffer_size;
  uint32_t size;             /* bytes of the file */
  uint32_t metrics_at;       /* position of the metrics table, which ends the image area */
  uint32_t offsets_at;       /* position of the image offset table */
  uint32_t count;            /* codes in the tables */
  int32_t first_code;
  uint16_t flags;            /* 0x1000: every code has the same advance */
  uint16_t largest_width;    /* the widest glyph's width, as the header says */
  uint16_t box_width;        /* the font box */
  uint16_t box_height;
  uint16_t box_ascent;       /* rows of the font box above the baseline */
  uint16_t underline;        /* the underline row */
} vbt_font;

/* One code's glyph: its box lies x_offset columns right of the pen and
 * reaches ascent rows above the baseline; the pen then moves by advance. */
typedef struct vbt_glyph {
  uint16_t width;            /* pixels */
  uint16_t height;           /* rows */
  int32_t ascent;
  int32_t x_offset;
  int32_t advance;
  uint32_t image;            /* position of the image's first row; 0 for the missing-glyph box */
} vbt_glyph;

/* Where drawing goes: a 1-bit framebuffer (row-major, `stride` bytes a row,
 * most significant bit leftmost, a set bit is ink), or, when set_pixel is not
 * NULL, that function. Drawing sets ink pixels only, clipped to
 * 0 <= x < width and 0 <= y < height. */
typedef struct vbt_canvas {
  uint8_t *pixels;
  uint32_t stride;
  int32_t width;
  int32_t height;
  void (*set_pixel)(void *context, int32_t x, int32_t y);
  void *context;             /* handed to set_pixel */
} vbt_canvas;

/* What a line of text covers, relative to the pen's start on the baseline. */
typedef struct vbt_extent {
  int32_t advance;           /* where the pen ends */
  int32_t left;              /* leftmost column of any glyph box or pen position, at most 0 */
  int32_t right;             /* one past the rightmost, at least 0 */
  int32_t above;             /* rows above the baseline: the font box's, or more */
  int32_t below;             /* rows below it, likewise */
} vbt_extent;

/* Opens the `size` bytes of a file at `data`, which must stay there while
 * the font is used. Validates the header against the size. */
vbt_status vbt_open_memory(vbt_font *font, const void *data, uint32_t size);

/* Opens a file of `size` bytes read through `read`. Image rows are read
 * into `row_buffer`: VBT_ROW_BYTES(font->largest_width) bytes hold every
 * row of a sound file, VBT_MAX_ROW_BYTES any row. */
vbt_status vbt_open_reader(vbt_font *font, vbt_read_fn read, void *context, uint32_t size,
                           uint8_t *row_buffer, uint32_t row_buffer_size);

/* The glyph of `code`: VBT_OK, VBT_NOT_PRESENT for a code outside the range
 * or with the empty record, or an error for a broken record. */
vbt_status vbt_lookup(const vbt_font *font, uint32_t code, vbt_glyph *glyph);

/* The same for the code at table index `index` (first_code + index), which
 * reaches every code of the file, those below 0 too. */
vbt_status vbt_lookup_index(const vbt_font *font, uint32_t index, vbt_glyph *glyph);

/* The missing-glyph box: hollow, as wide as the font box less one column
 * and as high as its rows above the baseline less one, at least 2 x 2. */
void vbt_missing_glyph(const vbt_font *font, vbt_glyph *glyph);

/* Row `row` (below glyph->height) of a looked-up glyph's image: in place for
 * a font in memory, else read into the row buffer. */
vbt_status vbt_glyph_row(const vbt_font *font, const vbt_glyph *glyph, uint32_t row, const uint8_t **bytes);

/* Draws `glyph` with the pen at (pen_x, baseline_y). */
vbt_status vbt_draw_glyph(const vbt_font *font, const vbt_canvas *canvas, int32_t pen_x, int32_t baseline_y,
                          const vbt_glyph *glyph);

/* Measures the NUL-terminated UTF-8 `text` as vbt_draw_text draws it. */
vbt_status vbt_measure_text(const vbt_font *font, const char *text, uint32_t replacement, vbt_extent *extent);

/* Draws the NUL-terminated UTF-8 `text` from the pen at (pen_x, baseline_y).
 * A byte that starts no well-formed sequence is U+FFFD; a code the font
 * lacks is drawn as `replacement`, or, when that is missing too, as the
 * missing-glyph box. Stops at the first error. */
vbt_status vbt_draw_text(const vbt_font *font, const vbt_canvas *canvas, int32_t pen_x, int32_t baseline_y,
                         const char *text, uint32_t replacement);

/* A short name of `status`, such as "bad magic". */
const char *vbt_status_name(vbt_status status);

#ifdef __cplusplus
}
#endif

#endif /* VBT_READER_H */
