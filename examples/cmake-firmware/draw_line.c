/* draw_line FONT.vbt TEXT: draws the UTF-8 TEXT with the font read through a
 * read callback, as a firmware reads SPI flash, into a 1-bit framebuffer,
 * and prints it as rows of '#' (ink) and '.'. */
#include <stdio.h>

#include "vbt_reader.h"

enum { MAX_WIDTH = 1024, MAX_HEIGHT = 64, STRIDE = MAX_WIDTH / 8 };

static uint8_t framebuffer[MAX_HEIGHT * STRIDE];
static uint8_t row_buffer[VBT_MAX_ROW_BYTES];

static int read_file(void *context, uint32_t offset, uint32_t length, uint8_t *buffer) {
  FILE *file = (FILE *)context;
  return fseek(file, (long)offset, SEEK_SET) != 0 || fread(buffer, 1, length, file) != length;
}

static void print_framebuffer(int32_t width, int32_t height) {
  int32_t x, y;
  for (y = 0; y < height; ++y) {
    for (x = 0; x < width; ++x) putchar(framebuffer[y * STRIDE + x / 8] & (0x80 >> (x % 8)) ? '#' : '.');
    putchar('\n');
  }
}

int main(int argc, char **argv) {
  vbt_font font;
  vbt_extent extent;
  vbt_canvas canvas = {framebuffer, STRIDE, 0, 0, NULL, NULL};
  vbt_status status;
  FILE *file;
  long size;
  if (argc != 3) return fprintf(stderr, "usage: draw_line FONT.vbt TEXT\n"), 2;
  file = fopen(argv[1], "rb");
  if (!file || fseek(file, 0, SEEK_END) != 0 || (size = ftell(file)) < 0) return perror(argv[1]), 1;
  status = vbt_open_reader(&font, read_file, file, (uint32_t)size, row_buffer, sizeof row_buffer);
  if (status == VBT_OK) status = vbt_measure_text(&font, argv[2], VBT_NO_REPLACEMENT, &extent);
  if (status == VBT_OK) {
    canvas.width = extent.right - extent.left;
    canvas.height = extent.above + extent.below;
    if (canvas.width > MAX_WIDTH || canvas.height > MAX_HEIGHT) status = VBT_ERR_TOO_WIDE;
  }
  if (status == VBT_OK) status = vbt_draw_text(&font, &canvas, -extent.left, extent.above, argv[2], VBT_NO_REPLACEMENT);
  if (status != VBT_OK) return fprintf(stderr, "draw_line: %s: %s\n", argv[1], vbt_status_name(status)), 1;
  print_framebuffer(canvas.width, canvas.height);
  return 0;
}
