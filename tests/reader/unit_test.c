/* The reader's rules on small fonts built here byte by byte: what open
 * refuses, what a lookup answers, which bytes a read callback is asked for,
 * clipping, UTF-8 decoding and the extent of a line. Plain C, so that it
 * also runs on a big-endian machine under user-mode QEMU. */
#include <stdio.h>
#include <string.h>

#include "vbt_reader.h"

static int failed_checks;

#define CHECK(condition) check((condition) != 0, #condition, __LINE__)

static void check(int ok, const char *text, int line) {
  if (ok) return;
  ++failed_checks;
  printf("unit_test.c:%d: failed: %s\n", line, text);
}

/* ---- A small font: codes 0x41..0x45 ----
 * A: 5 x 6, ascent 6, advance 6.   B: the empty record.
 * C: 10 x 2 (two-byte rows), ascent 1, x offset -1, advance 11.
 * D: 1 x 1 with its pixel set, ascent 0, advance 0.   E: 3 x 0, advance 4.
 * Font box 8 x 8, 6 rows above the baseline. */
enum { FIRST = 0x41, COUNT = 5, NAME_END = 52, CAPACITY = 512 };

typedef struct record {
  int32_t width, height, ascent, x_offset, advance;
} record;

static const record kRecords[COUNT] = {
  {5, 6, 6, 0, 6}, {1, 1, 0, 0, 0}, {10, 2, 1, -1, 11}, {1, 1, 0, 0, 0}, {3, 0, 0, 0, 4}};
static const uint8_t kImages[] = {0x20, 0x50, 0x88, 0xF8, 0x88, 0x88, 0x00, 0xAA, 0x80, 0x40, 0x40, 0x80};
static const uint32_t kImageAt[COUNT] = {NAME_END, NAME_END + 6, NAME_END + 7, NAME_END + 11, NAME_END + 12};

typedef struct test_file {
  uint8_t bytes[CAPACITY];
  uint32_t size, metrics_at, offsets_at;
} test_file;

static void put16(uint8_t *at, uint32_t value) {
  at[0] = (uint8_t)value;
  at[1] = (uint8_t)(value >> 8);
}

static void put32(uint8_t *at, uint32_t value) {
  put16(at, value & 0xFFFF);
  put16(at + 2, value >> 16);
}

static void put_record(test_file *file, int index, record r) {
  uint8_t *at = file->bytes + file->metrics_at + 32 * index;
  put16(at, (uint32_t)r.width);
  put16(at + 2, (uint32_t)r.height);
  put32(at + 4, (uint32_t)r.ascent);
  put32(at + 8, (uint32_t)r.x_offset);
  put32(at + 12, (uint32_t)r.advance);
}

static void build_font(test_file *file) {
  int i;
  memset(file, 0, sizeof *file);
  file->metrics_at = NAME_END + sizeof kImages;
  file->offsets_at = file->metrics_at + 32 * COUNT;
  file->size = file->offsets_at + 4 * COUNT;
  put16(file->bytes, 0x5632);
  put16(file->bytes + 2, 0x0800);
  put16(file->bytes + 4, 10);
  put16(file->bytes + 6, 5);
  put16(file->bytes + 8, 8);
  put16(file->bytes + 10, 8);
  put32(file->bytes + 12, file->offsets_at);
  put32(file->bytes + 20, file->metrics_at);
  put16(file->bytes + 32, 7);
  put16(file->bytes + 34, 5);
  put32(file->bytes + 36, FIRST);
  put32(file->bytes + 40, COUNT);
  memcpy(file->bytes + 44, "t,t8.vbt", 8);
  memcpy(file->bytes + NAME_END, kImages, sizeof kImages);
  for (i = 0; i < COUNT; ++i) {
    put_record(file, i, kRecords[i]);
    put32(file->bytes + file->offsets_at + 4 * i, kImageAt[i]);
  }
}

/* ---- A read callback that checks and logs each request ---- */
enum { LOG_SIZE = 64 };

typedef struct reader {
  const test_file *file;
  int fail_from;           /* requests from this one on fail; -1: none do */
  int requests;
  uint32_t offsets[LOG_SIZE], lengths[LOG_SIZE];
} reader;

static int read_bytes(void *context, uint32_t offset, uint32_t length, uint8_t *buffer) {
  reader *r = (reader *)context;
  CHECK(length <= r->file->size && offset <= r->file->size - length);
  if (r->requests < LOG_SIZE) r->offsets[r->requests] = offset, r->lengths[r->requests] = length;
  if (r->fail_from >= 0 && r->requests >= r->fail_from) return -1;
  ++r->requests;
  memcpy(buffer, r->file->bytes + offset, length);
  return 0;
}

static uint8_t row_buffer[VBT_MAX_ROW_BYTES];

/* Opens `file` in memory (way 0) or through read_bytes (way 1). */
static vbt_status open_way(vbt_font *font, int way, const test_file *file, reader *r) {
  if (way == 0) return vbt_open_memory(font, file->bytes, file->size);
  memset(r, 0, sizeof *r);
  r->file = file;
  r->fail_from = -1;
  return vbt_open_reader(font, read_bytes, r, file->size, row_buffer, sizeof row_buffer);
}

static vbt_status open_patched(uint32_t at, uint32_t value, uint32_t size) {
  test_file file;
  vbt_font font;
  build_font(&file);
  put32(file.bytes + at, value);
  return vbt_open_memory(&font, file.bytes, size ? size : file.size);
}

static void test_open_refuses_bad_headers(void) {
  test_file file;
  build_font(&file);
  CHECK(open_patched(40, COUNT, 0) == VBT_OK);
  CHECK(open_patched(40, COUNT, 43) == VBT_ERR_SHORT);
  CHECK(open_patched(0, 0x5633, 0) == VBT_ERR_MAGIC);
  CHECK(open_patched(40, 0xFFFFFFFF, 0) == VBT_ERR_COUNT);
  CHECK(open_patched(20, 43, 0) == VBT_ERR_METRICS);
  CHECK(open_patched(20, file.size - 32 * COUNT + 1, 0) == VBT_ERR_METRICS);
  CHECK(open_patched(20, 0x80000000u, 0) == VBT_ERR_METRICS);
  CHECK(open_patched(12, file.size - 4 * COUNT + 1, 0) == VBT_ERR_OFFSETS);
  CHECK(open_patched(12, file.size + 1, 0) == VBT_ERR_OFFSETS);
  CHECK(open_patched(40, 0x08000000, 0) == VBT_ERR_OVERFLOW);   /* 32 x count is 2^32 */
  CHECK(open_patched(40, 0x7FFFFFFF, 0) == VBT_ERR_OVERFLOW);
  /* The count the first writers stored for an empty range opens as no codes. */
  CHECK(open_patched(40, (uint32_t)-65535, 0) == VBT_OK);
}

static void test_status_names_differ(void) {
  int a, b;
  for (a = VBT_OK; a <= VBT_ERR_TOO_WIDE; ++a) {
    CHECK(strlen(vbt_status_name((vbt_status)a)) > 1);
    for (b = VBT_OK; b < a; ++b) CHECK(strcmp(vbt_status_name((vbt_status)a), vbt_status_name((vbt_status)b)) != 0);
  }
}

static int same_glyph(const vbt_glyph *g, record r, uint32_t image) {
  return g->width == r.width && g->height == r.height && g->ascent == r.ascent && g->x_offset == r.x_offset &&
         g->advance == r.advance && g->image == image;
}

static void test_lookup_answers_each_code_with_its_own_glyph(void) {
  test_file file;
  vbt_font font;
  vbt_glyph glyph;
  reader r;
  int way, i;
  build_font(&file);
  for (way = 0; way < 2; ++way) {
    CHECK(open_way(&font, way, &file, &r) == VBT_OK);
    for (i = 0; i < COUNT; ++i) {
      const vbt_status status = vbt_lookup(&font, FIRST + i, &glyph);
      if (i == 1) {
        CHECK(status == VBT_NOT_PRESENT);
      } else {
        CHECK(status == VBT_OK && same_glyph(&glyph, kRecords[i], kImageAt[i]));
      }
    }
    CHECK(vbt_lookup(&font, FIRST - 1, &glyph) == VBT_NOT_PRESENT);
    CHECK(vbt_lookup(&font, FIRST + COUNT, &glyph) == VBT_NOT_PRESENT);
    CHECK(vbt_lookup(&font, 0x80000000u + FIRST, &glyph) == VBT_NOT_PRESENT);
    CHECK(vbt_lookup(&font, VBT_NO_REPLACEMENT, &glyph) == VBT_NOT_PRESENT);
  }
  /* Codes below 0 in the file's signed range stay out of reach, and no
   * code wraps around onto another's record. */
  put32(file.bytes + 36, (uint32_t)-2);
  CHECK(vbt_open_memory(&font, file.bytes, file.size) == VBT_OK);
  CHECK(vbt_lookup(&font, 0, &glyph) == VBT_OK && same_glyph(&glyph, kRecords[2], kImageAt[2]));
  CHECK(vbt_lookup(&font, 0xFFFFFFFEu, &glyph) == VBT_NOT_PRESENT);
  /* By table index every code is reached. */
  CHECK(vbt_lookup_index(&font, 0, &glyph) == VBT_OK && same_glyph(&glyph, kRecords[0], kImageAt[0]));
  CHECK(vbt_lookup_index(&font, COUNT, &glyph) == VBT_NOT_PRESENT);
}

static void test_empty_record(void) {
  const record empty_but_advance = {1, 1, 0, 0, 6};
  test_file file;
  vbt_font font;
  vbt_glyph glyph;
  build_font(&file);
  put_record(&file, 1, empty_but_advance);
  vbt_open_memory(&font, file.bytes, file.size);
  CHECK(vbt_lookup(&font, 0x42, &glyph) == VBT_OK);
  /* With -w every code of the file has the fixed advance, those without
   * glyph too. */
  put16(file.bytes + 2, 0x1800);
  vbt_open_memory(&font, file.bytes, file.size);
  CHECK(vbt_lookup(&font, 0x42, &glyph) == VBT_NOT_PRESENT);
  file.bytes[kImageAt[1]] = 0x80;
  CHECK(vbt_lookup(&font, 0x42, &glyph) == VBT_OK);
}

static vbt_status lookup_patched(int index, uint32_t field, uint32_t value, uint32_t image) {
  test_file file;
  vbt_font font;
  vbt_glyph glyph;
  build_font(&file);
  put32(file.bytes + file.metrics_at + 32 * index + field, value);
  if (image) put32(file.bytes + file.offsets_at + 4 * index, image);
  vbt_open_memory(&font, file.bytes, file.size);
  return vbt_lookup(&font, FIRST + index, &glyph);
}

static void test_lookup_refuses_broken_records(void) {
  test_file file;
  build_font(&file);
  CHECK(lookup_patched(0, 0, 0x0006FFFF, 0) == VBT_ERR_SIZE);   /* width -1 */
  CHECK(lookup_patched(0, 0, 0x80000005, 0) == VBT_ERR_SIZE);   /* height -32768 */
  CHECK(lookup_patched(0, 0, 0x00060005, 43) == VBT_ERR_IMAGE);
  /* Images end at the metrics table at the latest; E's empty image may
   * begin there. */
  CHECK(lookup_patched(2, 0, 0x0002000A, file.metrics_at - 4) == VBT_OK);
  CHECK(lookup_patched(2, 0, 0x0002000A, file.metrics_at - 3) == VBT_ERR_IMAGE);
  CHECK(lookup_patched(4, 0, 0x00000003, file.metrics_at) == VBT_OK);
  CHECK(lookup_patched(4, 0, 0x00000003, file.metrics_at + 1) == VBT_ERR_IMAGE);
  CHECK(lookup_patched(0, 0, 0x7FFF7FFF, 0) == VBT_ERR_IMAGE);
}

static void test_fields_are_little_endian(void) {
  const record r = {0x0102, 0, 0x01020304, -0x01020304, -2};
  test_file file;
  vbt_font font;
  vbt_glyph glyph;
  build_font(&file);
  put_record(&file, 4, r);
  put32(file.bytes + 36, 0x00010203);
  put16(file.bytes + 8, 0x0A0B);
  put16(file.bytes + 34, 0xFFFE);   /* the baseline at row -1: no rows above it */
  CHECK(vbt_open_memory(&font, file.bytes, file.size) == VBT_OK);
  CHECK(font.first_code == 0x00010203 && font.box_width == 0x0A0B && font.box_ascent == 0);
  CHECK(font.largest_width == 10 && font.box_height == 8 && font.underline == 7 && font.count == COUNT);
  CHECK(vbt_lookup(&font, 0x00010203 + 4, &glyph) == VBT_OK);
  CHECK(glyph.width == 0x0102 && glyph.height == 0 && glyph.ascent == 0x01020304 && glyph.x_offset == -0x01020304 && glyph.advance == -2);
}

static void test_read_callback_is_asked_only_for_what_is_needed(void) {
  test_file file;
  vbt_font font;
  vbt_glyph glyph;
  vbt_canvas canvas;
  uint8_t pixels[8] = {0};
  reader r;
  build_font(&file);
  CHECK(open_way(&font, 1, &file, &r) == VBT_OK);
  CHECK(r.requests == 1 && r.offsets[0] == 0 && r.lengths[0] == 44);
  CHECK(vbt_lookup(&font, 0x41, &glyph) == VBT_OK);
  CHECK(r.requests == 3 && r.offsets[1] == file.metrics_at && r.lengths[1] == 16);
  CHECK(r.offsets[2] == file.offsets_at && r.lengths[2] == 4);
  /* A canvas of 2 rows with the baseline at row 4: only rows 2 and 3 of A. */
  memset(&canvas, 0, sizeof canvas);
  canvas.pixels = pixels, canvas.stride = 1, canvas.width = 8, canvas.height = 2;
  CHECK(vbt_draw_glyph(&font, &canvas, 0, 4, &glyph) == VBT_OK);
  CHECK(r.requests == 5 && r.offsets[3] == kImageAt[0] + 2 && r.offsets[4] == kImageAt[0] + 3 && r.lengths[4] == 1);
  CHECK(pixels[0] == 0x88 && pixels[1] == 0xF8);
  /* Nothing is read of a glyph that lies wholly left of the canvas. */
  CHECK(vbt_draw_glyph(&font, &canvas, -5, 4, &glyph) == VBT_OK && r.requests == 5);
  /* The empty record's one image byte is read to tell it from a dot. */
  CHECK(vbt_lookup(&font, 0x42, &glyph) == VBT_NOT_PRESENT);
  CHECK(r.requests == 8 && r.offsets[7] == kImageAt[1] && r.lengths[7] == 1);
}

static void test_read_failures_and_small_row_buffers(void) {
  test_file file;
  vbt_font font;
  vbt_glyph glyph;
  vbt_canvas canvas;
  uint8_t pixels[32];
  reader r;
  int fail_from;
  build_font(&file);
  memset(&canvas, 0, sizeof canvas);
  canvas.pixels = pixels, canvas.stride = 2, canvas.width = 16, canvas.height = 16;
  /* Requests 1 and 2 are C's record and offset, 3 and 4 its rows. */
  for (fail_from = 0; fail_from < 5; ++fail_from) {
    open_way(&font, 1, &file, &r);
    r.fail_from = fail_from;
    if (fail_from == 0) {
      CHECK(vbt_open_reader(&font, read_bytes, &r, file.size, row_buffer, 2) == VBT_ERR_READ);
    } else if (fail_from < 3) {
      CHECK(vbt_lookup(&font, 0x43, &glyph) == VBT_ERR_READ);
    } else {
      CHECK(vbt_lookup(&font, 0x43, &glyph) == VBT_OK);
      CHECK(vbt_draw_glyph(&font, &canvas, 2, 8, &glyph) == VBT_ERR_READ);
    }
  }
  r.fail_from = -1;
  CHECK(vbt_open_reader(&font, read_bytes, &r, file.size, row_buffer, 1) == VBT_OK);
  CHECK(vbt_lookup(&font, 0x43, &glyph) == VBT_OK);
  CHECK(vbt_draw_glyph(&font, &canvas, 2, 8, &glyph) == VBT_ERR_ROW_BUFFER);
  CHECK(vbt_draw_text(&font, &canvas, 2, 8, "A", VBT_NO_REPLACEMENT) == VBT_OK);
}

/* ---- Drawing ---- */

/* C's pixels, as a plain reading of its rows gives them. */
static int c_pixel(int x, int y) { return (kImages[7 + 2 * y + x / 8] >> (7 - x % 8)) & 1; }

static uint8_t seen[16][16];

static void set_seen(void *context, int32_t x, int32_t y) {
  CHECK(context == seen && x >= 0 && x < 13 && y >= 0 && y < 5);
  if (x >= 0 && x < 16 && y >= 0 && y < 16) seen[y][x] = 1;
}

/* C drawn with its pen at (pen_x, baseline) on a 13 x 5 canvas of stride 3
 * with guard bytes around it, and through set_pixel: both hold exactly the
 * pixels of C that fall inside. */
static int draws_clipped(const vbt_font *font, const vbt_glyph *glyph, int pen_x, int baseline) {
  uint8_t memory[8 + 15 + 8] = {0};
  uint8_t *const pixels = memory + 8;
  vbt_canvas canvas;
  int x, y, ok = 1;
  memset(&canvas, 0, sizeof canvas);
  canvas.pixels = pixels, canvas.stride = 3, canvas.width = 13, canvas.height = 5;
  memset(seen, 0, sizeof seen);
  ok &= vbt_draw_glyph(font, &canvas, pen_x, baseline, glyph) == VBT_OK;
  canvas.set_pixel = set_seen, canvas.context = seen;
  ok &= vbt_draw_glyph(font, &canvas, pen_x, baseline, glyph) == VBT_OK;
  for (x = 0; x < 8; ++x) ok &= memory[x] == 0 && memory[8 + 15 + x] == 0;
  for (y = 0; y < 5; ++y) {
    for (x = 0; x < 24; ++x) {
      const long gx = x - ((long)pen_x - 1), gy = y - ((long)baseline - 1);
      const int want = x < 13 && gx >= 0 && gx < 10 && gy >= 0 && gy < 2 && c_pixel(gx, gy);
      ok &= ((pixels[y * 3 + x / 8] >> (7 - x % 8)) & 1) == want;
      if (x < 16) ok &= seen[y][x] == want;
    }
  }
  return ok;
}

static void test_glyphs_are_clipped_at_every_edge(void) {
  test_file file;
  vbt_font font;
  vbt_glyph glyph;
  reader r;
  int way, pen_x, baseline, wrong = 0;
  build_font(&file);
  for (way = 0; way < 2; ++way) {
    open_way(&font, way, &file, &r);
    vbt_lookup(&font, 0x43, &glyph);
    for (pen_x = -12; pen_x <= 16; ++pen_x) {
      for (baseline = -2; baseline <= 7; ++baseline) wrong += !draws_clipped(&font, &glyph, pen_x, baseline);
    }
    /* Boxes 2^32 pixels away, which 32-bit sums would bring back. */
    glyph.x_offset = 0x7FFFFFFF;
    wrong += !draws_clipped(&font, &glyph, 0x7FFFFFFF, 1);
    glyph.x_offset = -0x7FFFFFFF - 1 + 3;
    wrong += !draws_clipped(&font, &glyph, -0x7FFFFFFF - 1, 1);
    glyph.x_offset = -1, glyph.ascent = -0x7FFFFFFF - 1;
    wrong += !draws_clipped(&font, &glyph, 0, 0x7FFFFFFF);
  }
  CHECK(wrong == 0);
}

/* The canvas as rows of '#' and '.', one line feed after each. */
static void picture(const uint8_t *pixels, int stride, int width, int height, char *text) {
  int x, y;
  for (y = 0; y < height; ++y) {
    for (x = 0; x < width; ++x) *text++ = (pixels[y * stride + x / 8] >> (7 - x % 8)) & 1 ? '#' : '.';
    *text++ = '\n';
  }
  *text = 0;
}

/* `text` drawn from the pen at the left edge, the baseline below the font
 * box's 6 rows above it, on a canvas as large as its extent. */
static int draws_picture(const vbt_font *font, const char *text, uint32_t replacement, const char *want) {
  uint8_t pixels[8 * 8] = {0};
  char got[8 * 65 + 1];
  vbt_canvas canvas;
  vbt_extent extent;
  memset(&canvas, 0, sizeof canvas);
  canvas.pixels = pixels, canvas.stride = 8, canvas.height = 8;
  if (vbt_measure_text(font, text, replacement, &extent) != VBT_OK) return 0;
  canvas.width = extent.right - extent.left;
  if (extent.above != 6 || extent.below != 2 || extent.left != 0 || canvas.width > 64) return 0;
  if (vbt_draw_text(font, &canvas, 0, 6, text, replacement) != VBT_OK) return 0;
  picture(pixels, 8, canvas.width, 8, got);
  if (strcmp(got, want) == 0) return 1;
  printf("drew:\n%swanted:\n%s", got, want);
  return 0;
}

static void test_text_and_missing_glyphs(void) {
  test_file file;
  vbt_font font;
  vbt_glyph box;
  vbt_extent extent;
  build_font(&file);
  vbt_open_memory(&font, file.bytes, file.size);
  /* A, C (one column left of its pen, a row below the baseline), and B and
   * U+00E9, which the font lacks, as boxes of 7 x 5 pixels. */
  CHECK(draws_picture(&font, "AC", VBT_NO_REPLACEMENT,
                      "..#..............\n"
                      ".#.#.............\n"
                      "#...#............\n"
                      "#####............\n"
                      "#...#............\n"
                      "#...##.#.#.#.#...\n"
                      "......#.......#..\n"
                      ".................\n"));
  CHECK(draws_picture(&font, "B\xC3\xA9", VBT_NO_REPLACEMENT,
                      "................\n"
                      "#######.#######.\n"
                      "#.....#.#.....#.\n"
                      "#.....#.#.....#.\n"
                      "#.....#.#.....#.\n"
                      "#######.#######.\n"
                      "................\n"
                      "................\n"));
  /* With a replacement, U+00E9 takes A's place and its advance of 6. */
  CHECK(vbt_measure_text(&font, "\xC3\xA9", 0x41, &extent) == VBT_OK && extent.advance == 6 && extent.right == 6);
  /* The smallest box is 2 x 2. */
  put16(file.bytes + 8, 1);
  put16(file.bytes + 34, 0);
  vbt_open_memory(&font, file.bytes, file.size);
  vbt_missing_glyph(&font, &box);
  CHECK(box.width == 2 && box.height == 2 && box.ascent == 2 && box.x_offset == 0 && box.advance == 3 && box.image == 0);
}

static void test_extent_and_pen_limits(void) {
  test_file file;
  vbt_font font;
  vbt_extent extent;
  vbt_canvas canvas;
  build_font(&file);
  vbt_open_memory(&font, file.bytes, file.size);
  /* C reaches one column left of the pen and one row below the baseline;
   * a descent beyond the font box's widens the extent. */
  CHECK(vbt_measure_text(&font, "CE", VBT_NO_REPLACEMENT, &extent) == VBT_OK);
  CHECK(extent.advance == 15 && extent.left == -1 && extent.right == 15 && extent.above == 6 && extent.below == 2);
  put_record(&file, 2, (record){10, 2, -3, -1, -20});
  CHECK(vbt_measure_text(&font, "AC", VBT_NO_REPLACEMENT, &extent) == VBT_OK);
  CHECK(extent.advance == -14 && extent.left == -14 && extent.right == 15 && extent.above == 6 && extent.below == 5);
  CHECK(vbt_measure_text(&font, "", VBT_NO_REPLACEMENT, &extent) == VBT_OK);
  CHECK(extent.advance == 0 && extent.left == 0 && extent.right == 0 && extent.above == 6 && extent.below == 2);
  /* Pens and extents that pass 32 bits are refused, not wrapped. */
  put_record(&file, 0, (record){5, 6, 6, 0, 0x40000000});
  CHECK(vbt_measure_text(&font, "A", VBT_NO_REPLACEMENT, &extent) == VBT_OK && extent.advance == 0x40000000);
  CHECK(vbt_measure_text(&font, "AA", VBT_NO_REPLACEMENT, &extent) == VBT_ERR_TOO_WIDE);
  memset(&canvas, 0, sizeof canvas);
  CHECK(vbt_draw_text(&font, &canvas, 0x3FFFFFFF, 0, "A", VBT_NO_REPLACEMENT) == VBT_OK);
  CHECK(vbt_draw_text(&font, &canvas, 0x40000000, 0, "A", VBT_NO_REPLACEMENT) == VBT_ERR_TOO_WIDE);
  put_record(&file, 0, (record){5, 6, 6, 0x7FFFFFFF, 6});
  CHECK(vbt_measure_text(&font, "A", VBT_NO_REPLACEMENT, &extent) == VBT_ERR_TOO_WIDE);
  put_record(&file, 0, (record){5, 6, -0x7FFFFFFF, 0, 6});
  CHECK(vbt_measure_text(&font, "A", VBT_NO_REPLACEMENT, &extent) == VBT_ERR_TOO_WIDE);
}

/* ---- UTF-8, through a font of every code up to U+10FFFF that exists only
 * in a read callback: the metrics records asked for name the codes. */
enum { ALL_CODES = 0x110000, ALL_METRICS_AT = 45, ALL_OFFSETS_AT = ALL_METRICS_AT + 32 * ALL_CODES };

typedef struct code_log {
  uint32_t codes[16];
  int count;
} code_log;

static int read_all_codes(void *context, uint32_t offset, uint32_t length, uint8_t *buffer) {
  code_log *log = (code_log *)context;
  memset(buffer, 0, length);
  if (offset == 0) {
    put16(buffer, 0x5632);
    put32(buffer + 12, ALL_OFFSETS_AT);
    put32(buffer + 20, ALL_METRICS_AT);
    put32(buffer + 40, ALL_CODES);
  } else if (offset >= ALL_OFFSETS_AT) {
    put32(buffer, 44);
  } else if (offset >= ALL_METRICS_AT) {
    put32(buffer, 0x00010001);
    if (log->count < 16) log->codes[log->count++] = (offset - ALL_METRICS_AT) / 32;
  }
  return 0;
}

static int decodes_as(const char *text, const uint32_t *want, int count) {
  code_log log;
  vbt_font font;
  vbt_extent extent;
  int i, ok;
  log.count = 0;
  vbt_open_reader(&font, read_all_codes, &log, ALL_OFFSETS_AT + 4 * ALL_CODES, row_buffer, 1);
  ok = vbt_measure_text(&font, text, VBT_NO_REPLACEMENT, &extent) == VBT_OK && log.count == count;
  for (i = 0; ok && i < count; ++i) ok = log.codes[i] == want[i];
  return ok;
}

static void test_utf8_decoding(void) {
  static const uint32_t one_to_four[] = {0x5A, 0xE9, 0x20AC, 0x1F600, 0x61};
  static const uint32_t replaced_1[] = {0xFFFD};
  static const uint32_t replaced_2[] = {0xFFFD, 0xFFFD};
  static const uint32_t replaced_3[] = {0xFFFD, 0xFFFD, 0xFFFD};
  static const uint32_t replaced_4[] = {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD};
  static const uint32_t cut_by_z[] = {0xFFFD, 0xFFFD, 0x5A};
  static const uint32_t cut_by_end[] = {0x61, 0xFFFD, 0xFFFD};
  static const uint32_t limits[] = {0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF};
  CHECK(decodes_as("Z\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" "a", one_to_four, 5));
  CHECK(decodes_as("\x80", replaced_1, 1));
  CHECK(decodes_as("\xF5", replaced_1, 1));
  CHECK(decodes_as("\xC0\xAF", replaced_2, 2));              /* overlong '/' */
  CHECK(decodes_as("\xED\xA0\x80", replaced_3, 3));          /* a surrogate */
  CHECK(decodes_as("\xE0\x9F\xBF", replaced_3, 3));          /* overlong U+07FF */
  CHECK(decodes_as("\xF4\x90\x80\x80", replaced_4, 4));      /* above U+10FFFF */
  CHECK(decodes_as("\xE2\x82Z", cut_by_z, 3));
  CHECK(decodes_as("a\xF0\x9F", cut_by_end, 3));
  CHECK(decodes_as("\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
                   limits, 9));
}

static int is_big_endian(void) {
  const uint16_t one = 1;
  return *(const uint8_t *)&one == 0;
}

int main(void) {
  static void (*const tests[])(void) = {
    test_open_refuses_bad_headers, test_status_names_differ, test_lookup_answers_each_code_with_its_own_glyph,
    test_empty_record, test_lookup_refuses_broken_records, test_fields_are_little_endian,
    test_read_callback_is_asked_only_for_what_is_needed, test_read_failures_and_small_row_buffers,
    test_glyphs_are_clipped_at_every_edge, test_text_and_missing_glyphs, test_extent_and_pen_limits,
    test_utf8_decoding};
  const int count = (int)(sizeof tests / sizeof tests[0]);
  int i, failed = 0;
  for (i = 0; i < count; ++i) {
    const int before = failed_checks;
    tests[i]();
    failed += failed_checks != before;
  }
  printf("byte order: %s\n", is_big_endian() ? "big-endian" : "little-endian");
  printf("reader: %d passed, %d failed\n", count - failed, failed);
  return failed != 0;
}
