// The reader's rules on a small font built here byte by byte: what open
// refuses, what a lookup answers, which bytes a read callback is asked for,
// clipping, UTF-8 decoding and the extent of a line. Plain C99, so that it
// also runs on a big-endian machine under user-mode QEMU.
#include <stdio.h>
#include <string.h>

#include "vbt_reader.h"

#define LENGTH(array) ((int)(sizeof(array) / sizeof((array)[0])))
#define CHECK(condition) check((condition) != 0, #condition, __LINE__, -1)
// A check of row `row` of a table of cases.
#define CHECK_CASE(condition, row) check((condition) != 0, #condition, __LINE__, row)

static int failed_checks;

static void check(int ok, const char *text, int line, int row) {
  if (ok) return;
  ++failed_checks;
  printf(row < 0 ? "unit_test.c:%d: failed: %s\n" : "unit_test.c:%d: failed: %s (case %d)\n", line, text, row);
}

// The font: codes 0x41..0x45.
// A: 5 x 6, ascent 6, advance 6.   B: the empty record.
// C: 10 x 2 (two-byte rows), ascent 1, x offset -1, advance 11.
// D: 1 x 1 with its pixel set, ascent 0, advance 0.   E: 3 x 0, advance 4.
// Font box 8 x 8, 6 rows above the baseline.
enum { FIRST = 0x41, COUNT = 5, IMAGES_AT = 52, METRICS_AT = IMAGES_AT + 12, OFFSETS_AT = METRICS_AT + 32 * COUNT,
       SIZE = OFFSETS_AT + 4 * COUNT };

typedef struct record { int32_t width, height, ascent, x_offset, advance; } record;

static const record kRecords[COUNT] = {
  {5, 6, 6, 0, 6}, {1, 1, 0, 0, 0}, {10, 2, 1, -1, 11}, {1, 1, 0, 0, 0}, {3, 0, 0, 0, 4}};
static const uint8_t kImages[] = {0x20, 0x50, 0x88, 0xF8, 0x88, 0x88, 0x00, 0xAA, 0x80, 0x40, 0x40, 0x80};
static const uint32_t kImageAt[COUNT] = {IMAGES_AT, IMAGES_AT + 6, IMAGES_AT + 7, IMAGES_AT + 11, IMAGES_AT + 12};

// What each test works on: the font's bytes as build_font() wrote them or
// the test changed them, the font opened on them and a glyph looked up.
static uint8_t file[SIZE];
static vbt_font font;
static vbt_glyph glyph;

// Writes `value` little-endian into the `bytes` bytes at `at`.
static void put(uint8_t *at, int bytes, uint32_t value) {
  for (int i = 0; i < bytes; ++i) at[i] = (uint8_t)(value >> 8 * i);
}

static void put_record(int index, record r) {
  uint8_t *const at = file + METRICS_AT + 32 * index;
  put(at, 2, (uint32_t)r.width), put(at + 2, 2, (uint32_t)r.height), put(at + 4, 4, (uint32_t)r.ascent);
  put(at + 8, 4, (uint32_t)r.x_offset), put(at + 12, 4, (uint32_t)r.advance);
}

static void build_font(void) {
  static const uint32_t header[][3] = {   // position, bytes, value
    {0, 2, 0x5632}, {2, 2, 0x0800}, {4, 2, 10}, {6, 2, 5}, {8, 2, 8}, {10, 2, 8}, {12, 4, OFFSETS_AT},
    {20, 4, METRICS_AT}, {32, 2, 7}, {34, 2, 5}, {36, 4, FIRST}, {40, 4, COUNT}};
  memset(file, 0, sizeof file);
  for (int i = 0; i < LENGTH(header); ++i) put(file + header[i][0], (int)header[i][1], header[i][2]);
  memcpy(file + 44, "t,t8.vbt", 8);
  memcpy(file + IMAGES_AT, kImages, sizeof kImages);
  for (int i = 0; i < COUNT; ++i) put_record(i, kRecords[i]), put(file + OFFSETS_AT + 4 * i, 4, kImageAt[i]);
}

// The requests read_bytes() was asked, in order; from request fail_from on
// (when it is not -1) it fails them.
typedef struct request_log { int fail_from, requests; uint32_t offsets[64], lengths[64]; } request_log;

static request_log asked;
static uint8_t row_buffer[VBT_MAX_ROW_BYTES];

static int read_bytes(void *context, uint32_t offset, uint32_t length, uint8_t *buffer) {
  request_log *log = (request_log *)context;
  CHECK(length <= SIZE && offset <= SIZE - length);
  if (log->requests < 64) log->offsets[log->requests] = offset, log->lengths[log->requests] = length;
  if (log->fail_from >= 0 && log->requests >= log->fail_from) return -1;
  ++log->requests;
  memcpy(buffer, file + offset, length);
  return 0;
}

// Opens the font in memory (way 0) or through read_bytes (way 1), with an
// empty log.
static vbt_status open_way(int way) {
  memset(&asked, 0, sizeof asked);
  asked.fail_from = -1;
  if (way == 0) return vbt_open_memory(&font, file, SIZE);
  return vbt_open_reader(&font, read_bytes, &asked, SIZE, row_buffer, sizeof row_buffer);
}

static void test_open_refuses_bad_headers(void) {
  static const uint32_t cases[][4] = {   // header position, 4-byte value there, file size (0: all), status
    {40, COUNT, 0, VBT_OK}, {40, COUNT, 43, VBT_ERR_SHORT}, {0, 0x5633, 0, VBT_ERR_MAGIC},
    {40, 0xFFFFFFFF, 0, VBT_ERR_COUNT}, {20, 43, 0, VBT_ERR_METRICS},
    {20, SIZE - 32 * COUNT + 1, 0, VBT_ERR_METRICS}, {20, 0x80000000u, 0, VBT_ERR_METRICS},
    {12, SIZE - 4 * COUNT + 1, 0, VBT_ERR_OFFSETS}, {12, SIZE + 1, 0, VBT_ERR_OFFSETS},
    {40, 0x08000000, 0, VBT_ERR_OVERFLOW},   // 32 x count is 2^32
    {40, 0x7FFFFFFF, 0, VBT_ERR_OVERFLOW},
    {40, (uint32_t)-65535, 0, VBT_OK}};      // the first writers' count for an empty range: no codes
  for (int i = 0; i < LENGTH(cases); ++i) {
    build_font();
    put(file + cases[i][0], 4, cases[i][1]);
    CHECK_CASE(vbt_open_memory(&font, file, cases[i][2] ? cases[i][2] : SIZE) == (vbt_status)cases[i][3], i);
  }
}

// True when `glyph` holds record `index` and its image.
static int is_record(int index) {
  const record got = {glyph.width, glyph.height, glyph.ascent, glyph.x_offset, glyph.advance};
  return memcmp(&got, &kRecords[index], sizeof got) == 0 && glyph.image == kImageAt[index];
}

static void test_lookup_answers_each_code_with_its_own_glyph(void) {
  build_font();
  for (int way = 0; way < 2; ++way) {
    CHECK(open_way(way) == VBT_OK);
    for (int i = 0; i < COUNT; ++i) {
      const vbt_status status = vbt_lookup(&font, FIRST + i, &glyph);
      CHECK_CASE(i == 1 ? status == VBT_NOT_PRESENT : status == VBT_OK && is_record(i), i);
    }
    const uint32_t outside[] = {FIRST - 1, FIRST + COUNT, 0x80000000u + FIRST, VBT_NO_REPLACEMENT};
    for (int i = 0; i < LENGTH(outside); ++i) CHECK_CASE(vbt_lookup(&font, outside[i], &glyph) == VBT_NOT_PRESENT, i);
  }
  // Codes below 0 in the file's signed range stay out of reach, and no code
  // wraps around onto another's record; by table index every code is reached.
  put(file + 36, 4, (uint32_t)-2);
  CHECK(vbt_open_memory(&font, file, SIZE) == VBT_OK);
  CHECK(vbt_lookup(&font, 0, &glyph) == VBT_OK && is_record(2));
  CHECK(vbt_lookup(&font, 0xFFFFFFFEu, &glyph) == VBT_NOT_PRESENT);
  CHECK(vbt_lookup_index(&font, 0, &glyph) == VBT_OK && is_record(0));
  CHECK(vbt_lookup_index(&font, COUNT, &glyph) == VBT_NOT_PRESENT);
  // The empty record is no glyph, but with another advance; with -w every
  // code has the fixed advance, those without glyph too: there its image
  // byte tells.
  build_font();
  put_record(1, (record){1, 1, 0, 0, 6});
  CHECK(vbt_open_memory(&font, file, SIZE) == VBT_OK && vbt_lookup(&font, 0x42, &glyph) == VBT_OK);
  put(file + 2, 2, 0x1800);
  CHECK(vbt_open_memory(&font, file, SIZE) == VBT_OK && vbt_lookup(&font, 0x42, &glyph) == VBT_NOT_PRESENT);
  file[kImageAt[1]] = 0x80;
  CHECK(vbt_lookup(&font, 0x42, &glyph) == VBT_OK);
}

static void test_lookup_refuses_broken_records(void) {
  static const uint32_t cases[][4] = {   // code index, its width and height, image position (0: as is), status
    {0, 0x0006FFFF, 0, VBT_ERR_SIZE}, {0, 0x80000005, 0, VBT_ERR_SIZE},   // width -1, height -32768
    {0, 0x00060005, 43, VBT_ERR_IMAGE}, {0, 0x7FFF7FFF, 0, VBT_ERR_IMAGE},
    // Images end at the metrics table at the latest; E's empty image may
    // begin there.
    {2, 0x0002000A, METRICS_AT - 4, VBT_OK}, {2, 0x0002000A, METRICS_AT - 3, VBT_ERR_IMAGE},
    {4, 0x00000003, METRICS_AT, VBT_OK}, {4, 0x00000003, METRICS_AT + 1, VBT_ERR_IMAGE}};
  for (int i = 0; i < LENGTH(cases); ++i) {
    build_font();
    put(file + METRICS_AT + 32 * cases[i][0], 4, cases[i][1]);
    if (cases[i][2]) put(file + OFFSETS_AT + 4 * cases[i][0], 4, cases[i][2]);
    CHECK_CASE(vbt_open_memory(&font, file, SIZE) == VBT_OK &&
               vbt_lookup(&font, FIRST + cases[i][0], &glyph) == (vbt_status)cases[i][3], i);
  }
}

static void test_fields_are_little_endian(void) {
  build_font();
  put_record(4, (record){0x0102, 0, 0x01020304, -0x01020304, -2});
  put(file + 36, 4, 0x00010203);
  put(file + 8, 2, 0x0A0B);
  put(file + 34, 2, 0xFFFE);   // the baseline at row -1: no rows above it
  CHECK(vbt_open_memory(&font, file, SIZE) == VBT_OK);
  CHECK(font.first_code == 0x00010203 && font.box_width == 0x0A0B && font.box_ascent == 0);
  CHECK(font.largest_width == 10 && font.box_height == 8 && font.underline == 7 && font.count == COUNT);
  CHECK(vbt_lookup(&font, 0x00010203 + 4, &glyph) == VBT_OK);
  CHECK(glyph.width == 0x0102 && glyph.height == 0 && glyph.ascent == 0x01020304 &&
        glyph.x_offset == -0x01020304 && glyph.advance == -2);
}

static void test_read_callback_is_asked_only_for_what_is_needed(void) {
  // The header; A's record and image offset; rows 2 and 3 of A, the only
  // ones on a canvas of 2 rows with the baseline at row 4; nothing for A
  // wholly left of the canvas; B's record, offset and its one image byte,
  // read to tell the empty record from a dot.
  const uint32_t want[][2] = {{0, 44}, {METRICS_AT, 16}, {OFFSETS_AT, 4}, {IMAGES_AT + 2, 1}, {IMAGES_AT + 3, 1},
                              {METRICS_AT + 32, 16}, {OFFSETS_AT + 4, 4}, {kImageAt[1], 1}};
  uint8_t pixels[2] = {0};
  const vbt_canvas canvas = {pixels, 1, 8, 2, NULL, NULL};
  build_font();
  CHECK(open_way(1) == VBT_OK && vbt_lookup(&font, 0x41, &glyph) == VBT_OK);
  CHECK(vbt_draw_glyph(&font, &canvas, 0, 4, &glyph) == VBT_OK && pixels[0] == 0x88 && pixels[1] == 0xF8);
  CHECK(vbt_draw_glyph(&font, &canvas, -5, 4, &glyph) == VBT_OK);
  CHECK(vbt_lookup(&font, 0x42, &glyph) == VBT_NOT_PRESENT && asked.requests == LENGTH(want));
  for (int i = 0; i < LENGTH(want); ++i) CHECK_CASE(asked.offsets[i] == want[i][0] && asked.lengths[i] == want[i][1], i);
}

static void test_read_failures_and_small_row_buffers(void) {
  uint8_t pixels[32];
  const vbt_canvas canvas = {pixels, 2, 16, 16, NULL, NULL};
  build_font();
  // Request 0 is the header, 1 and 2 are C's record and offset, 3 and 4 its
  // rows.
  for (int fail_from = 0; fail_from < 5; ++fail_from) {
    open_way(1);
    asked.fail_from = fail_from;
    if (fail_from == 0) {
      CHECK(vbt_open_reader(&font, read_bytes, &asked, SIZE, row_buffer, 2) == VBT_ERR_READ);
    } else if (fail_from < 3) {
      CHECK(vbt_lookup(&font, 0x43, &glyph) == VBT_ERR_READ);
    } else {
      CHECK(vbt_lookup(&font, 0x43, &glyph) == VBT_OK);
      CHECK(vbt_draw_glyph(&font, &canvas, 2, 8, &glyph) == VBT_ERR_READ);
    }
  }
  asked.fail_from = -1;
  CHECK(vbt_open_reader(&font, read_bytes, &asked, SIZE, row_buffer, 1) == VBT_OK);
  CHECK(vbt_lookup(&font, 0x43, &glyph) == VBT_OK);
  CHECK(vbt_draw_glyph(&font, &canvas, 2, 8, &glyph) == VBT_ERR_ROW_BUFFER);
  CHECK(vbt_draw_text(&font, &canvas, 2, 8, "A", VBT_NO_REPLACEMENT) == VBT_OK);
}

// C's pixels, as a plain reading of its rows gives them.
static int c_pixel(int64_t x, int64_t y) { return (kImages[7 + 2 * y + x / 8] >> (7 - x % 8)) & 1; }

static uint8_t seen[16][16];

static void set_seen(void *context, int32_t x, int32_t y) {
  CHECK(context == seen && x >= 0 && x < 13 && y >= 0 && y < 5);
  if (x >= 0 && x < 16 && y >= 0 && y < 16) seen[y][x] = 1;
}

// `glyph` (C's, maybe moved) drawn with its pen at (pen_x, baseline) on a
// 13 x 5 canvas of stride 3 with guard bytes around it, and through
// set_pixel: both hold exactly the pixels of C that fall inside.
static int draws_clipped(int32_t pen_x, int32_t baseline) {
  uint8_t memory[8 + 15 + 8] = {0};
  uint8_t *const pixels = memory + 8;
  vbt_canvas canvas = {pixels, 3, 13, 5, NULL, NULL};
  int ok = vbt_draw_glyph(&font, &canvas, pen_x, baseline, &glyph) == VBT_OK;
  memset(seen, 0, sizeof seen);
  canvas.set_pixel = set_seen, canvas.context = seen;
  ok &= vbt_draw_glyph(&font, &canvas, pen_x, baseline, &glyph) == VBT_OK;
  for (int x = 0; x < 8; ++x) ok &= memory[x] == 0 && memory[8 + 15 + x] == 0;
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 24; ++x) {
      const int64_t gx = x - ((int64_t)pen_x + glyph.x_offset), gy = y - ((int64_t)baseline - glyph.ascent);
      const int want = x < 13 && gx >= 0 && gx < 10 && gy >= 0 && gy < 2 && c_pixel(gx, gy);
      ok &= ((pixels[y * 3 + x / 8] >> (7 - x % 8)) & 1) == want;
      if (x < 16) ok &= seen[y][x] == want;
    }
  }
  return ok;
}

static void test_glyphs_are_clipped_at_every_edge(void) {
  build_font();
  for (int way = 0; way < 2; ++way) {
    int wrong = 0;
    open_way(way);
    vbt_lookup(&font, 0x43, &glyph);
    for (int pen_x = -12; pen_x <= 16; ++pen_x) {
      for (int baseline = -2; baseline <= 7; ++baseline) wrong += !draws_clipped(pen_x, baseline);
    }
    // Boxes 2^32 pixels away, which 32-bit sums would bring back.
    glyph.x_offset = 0x7FFFFFFF;
    wrong += !draws_clipped(0x7FFFFFFF, 1);
    glyph.x_offset = -0x7FFFFFFF - 1 + 3;
    wrong += !draws_clipped(-0x7FFFFFFF - 1, 1);
    glyph.x_offset = -1, glyph.ascent = -0x7FFFFFFF - 1;
    wrong += !draws_clipped(0, 0x7FFFFFFF);
    CHECK_CASE(wrong == 0, way);
  }
}

// Measures `text`: VBT_OK and the extent `want` {advance, left, right,
// above, below}, or the error `status`.
static int measures(const char *text, vbt_status status, vbt_extent want) {
  vbt_extent got;
  if (vbt_measure_text(&font, text, VBT_NO_REPLACEMENT, &got) != status) return 0;
  return status != VBT_OK || memcmp(&got, &want, sizeof got) == 0;
}

static void test_text_and_missing_glyphs(void) {
  // A, C (one column left of its pen, a row below the baseline), and B and
  // U+00E9, which the font lacks, as boxes of 7 x 5 pixels: drawn from the
  // pen at the left edge, the baseline below the font box's 6 rows above
  // it, on a canvas as large as the extent.
  const char *const want = "..#..............................\n"
                           ".#.#.............#######.#######.\n"
                           "#...#............#.....#.#.....#.\n"
                           "#####............#.....#.#.....#.\n"
                           "#...#............#.....#.#.....#.\n"
                           "#...##.#.#.#.#...#######.#######.\n"
                           "......#.......#..................\n"
                           ".................................\n";
  uint8_t pixels[8 * 5] = {0};
  char got[8 * 34 + 1], *at = got;
  const vbt_canvas canvas = {pixels, 5, 33, 8, NULL, NULL};
  vbt_extent extent;
  build_font();
  vbt_open_memory(&font, file, SIZE);
  CHECK(measures("ACB\xC3\xA9", VBT_OK, (vbt_extent){33, 0, 33, 6, 2}));
  CHECK(vbt_draw_text(&font, &canvas, 0, 6, "ACB\xC3\xA9", VBT_NO_REPLACEMENT) == VBT_OK);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 33; ++x) *at++ = (pixels[y * 5 + x / 8] >> (7 - x % 8)) & 1 ? '#' : '.';
    *at++ = '\n';
  }
  *at = 0;
  if (strcmp(got, want) != 0) printf("drew:\n%s", got);
  CHECK(strcmp(got, want) == 0);
  // With a replacement, U+00E9 takes A's place and its advance of 6.
  CHECK(vbt_measure_text(&font, "\xC3\xA9", 0x41, &extent) == VBT_OK && extent.advance == 6 && extent.right == 6);
  // The smallest box is 2 x 2.
  put(file + 8, 2, 1);
  put(file + 34, 2, 0);
  vbt_open_memory(&font, file, SIZE);
  vbt_missing_glyph(&font, &glyph);
  CHECK(glyph.width == 2 && glyph.height == 2 && glyph.ascent == 2 && glyph.x_offset == 0 && glyph.advance == 3 &&
        glyph.image == 0);
}

static void test_extent_and_pen_limits(void) {
  const vbt_extent none = {0, 0, 0, 0, 0};
  const vbt_canvas canvas = {NULL, 0, 0, 0, NULL, NULL};
  build_font();
  vbt_open_memory(&font, file, SIZE);
  // C reaches one column left of the pen and one row below the baseline; a
  // descent beyond the font box's widens the extent.
  CHECK(measures("CE", VBT_OK, (vbt_extent){15, -1, 15, 6, 2}));
  CHECK(measures("", VBT_OK, (vbt_extent){0, 0, 0, 6, 2}));
  put_record(2, (record){10, 2, -3, -1, -20});
  CHECK(measures("AC", VBT_OK, (vbt_extent){-14, -14, 15, 6, 5}));
  // Pens and extents that pass 32 bits are refused, not wrapped.
  put_record(0, (record){5, 6, 6, 0, 0x40000000});
  CHECK(measures("A", VBT_OK, (vbt_extent){0x40000000, 0, 0x40000000, 6, 2}));
  CHECK(measures("AA", VBT_ERR_TOO_WIDE, none));
  CHECK(vbt_draw_text(&font, &canvas, 0x3FFFFFFF, 0, "A", VBT_NO_REPLACEMENT) == VBT_OK);
  CHECK(vbt_draw_text(&font, &canvas, 0x40000000, 0, "A", VBT_NO_REPLACEMENT) == VBT_ERR_TOO_WIDE);
  put_record(0, (record){5, 6, 6, 0x7FFFFFFF, 6});
  CHECK(measures("A", VBT_ERR_TOO_WIDE, none));
  put_record(0, (record){5, 6, -0x7FFFFFFF, 0, 6});
  CHECK(measures("A", VBT_ERR_TOO_WIDE, none));
}

// UTF-8 through a font of every code up to U+10FFFF that exists only in a
// read callback: the metrics records asked for name the codes.
enum { ALL_CODES = 0x110000, ALL_METRICS_AT = 45, ALL_OFFSETS_AT = ALL_METRICS_AT + 32 * ALL_CODES };

typedef struct code_log { uint32_t codes[16]; int count; } code_log;

static int read_all_codes(void *context, uint32_t offset, uint32_t length, uint8_t *buffer) {
  code_log *log = (code_log *)context;
  memset(buffer, 0, length);
  if (offset == 0) {
    put(buffer, 2, 0x5632), put(buffer + 12, 4, ALL_OFFSETS_AT), put(buffer + 20, 4, ALL_METRICS_AT);
    put(buffer + 40, 4, ALL_CODES);
  } else if (offset >= ALL_OFFSETS_AT) {
    put(buffer, 4, 44);   // every glyph 0 x 0, its image where the header ends
  } else if (offset >= ALL_METRICS_AT && log->count < 16) {
    log->codes[log->count++] = (offset - ALL_METRICS_AT) / 32;
  }
  return 0;
}

static void test_utf8_decoding(void) {
  static const struct { const char *text; uint32_t codes[10]; } cases[] = {   // codes up to the first 0
    {"Z\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80" "a", {0x5A, 0xE9, 0x20AC, 0x1F600, 0x61}},
    {"\x80", {0xFFFD}}, {"\xF5", {0xFFFD}}, {"\xE2\x82Z", {0xFFFD, 0xFFFD, 0x5A}}, {"a\xF0\x9F", {0x61, 0xFFFD, 0xFFFD}},
    {"\xC0\xAF", {0xFFFD, 0xFFFD}},                           // overlong '/'
    {"\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},               // a surrogate
    {"\xE0\x9F\xBF", {0xFFFD, 0xFFFD, 0xFFFD}},               // overlong U+07FF
    {"\xF4\x90\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},   // above U+10FFFF
    {"\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
     {0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF}}};
  for (int i = 0; i < LENGTH(cases); ++i) {
    code_log log = {{0}, 0};
    vbt_extent extent;
    int ok = vbt_open_reader(&font, read_all_codes, &log, ALL_OFFSETS_AT + 4 * ALL_CODES, row_buffer, 1) == VBT_OK &&
             vbt_measure_text(&font, cases[i].text, VBT_NO_REPLACEMENT, &extent) == VBT_OK;
    for (int k = 0; k < 10; ++k) ok &= cases[i].codes[k] == (k < log.count ? log.codes[k] : 0);
    CHECK_CASE(ok && log.count < 10, i);
  }
}

int main(void) {
  static void (*const tests[])(void) = {
    test_open_refuses_bad_headers, test_lookup_answers_each_code_with_its_own_glyph,
    test_lookup_refuses_broken_records, test_fields_are_little_endian,
    test_read_callback_is_asked_only_for_what_is_needed, test_read_failures_and_small_row_buffers,
    test_glyphs_are_clipped_at_every_edge, test_text_and_missing_glyphs, test_extent_and_pen_limits,
    test_utf8_decoding};
  const uint16_t one = 1;
  int failed = 0;
  for (int i = 0; i < LENGTH(tests); ++i) {
    const int before = failed_checks;
    tests[i]();
    failed += failed_checks != before;
  }
  printf("byte order: %s\n", *(const uint8_t *)&one ? "little-endian" : "big-endian");
  printf("reader: %d passed, %d failed\n", LENGTH(tests) - failed, failed);
  return failed != 0;
}
