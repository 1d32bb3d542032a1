/* mcu-hello: a line of UTF-8 text drawn with a VBT2 font that is read in
 * place from flash, into a 1-bit framebuffer in RAM, and printed over
 * semihosting: first the text, then the framebuffer as rows of '#' (ink)
 * and '.', as vbtdump --text prints them. */
#include <stdint.h>

#include "semihosting.h"
#include "vbt_reader.h"

extern const uint8_t hello_font[], hello_font_end[];

/* U+20AC lies outside the font's codes and shows as the missing-glyph box. */
static const char text[] = "Grüße aus dem Flash! €";

enum { MAX_WIDTH = 256, MAX_HEIGHT = 32, STRIDE = MAX_WIDTH / 8 };
static uint8_t framebuffer[MAX_HEIGHT * STRIDE];

static int report(const char *step, vbt_status status) {
  semihosting_write(step);
  semihosting_write(": ");
  semihosting_write(vbt_status_name(status));
  semihosting_write("\n");
  return 1;
}

static void print_framebuffer(int32_t width, int32_t height) {
  char line[MAX_WIDTH + 2];
  int32_t x, y;
  for (y = 0; y < height; ++y) {
    for (x = 0; x < width; ++x) line[x] = framebuffer[y * STRIDE + x / 8] & (0x80 >> (x % 8)) ? '#' : '.';
    line[width] = '\n';
    line[width + 1] = 0;
    semihosting_write(line);
  }
}

int main(void) {
  vbt_font font;
  vbt_extent extent;
  vbt_canvas canvas = {framebuffer, STRIDE, 0, 0, 0, 0};
  vbt_status status = vbt_open_memory(&font, hello_font, (uint32_t)(hello_font_end - hello_font));
  if (status != VBT_OK) return report("open", status);
  status = vbt_measure_text(&font, text, VBT_NO_REPLACEMENT, &extent);
  if (status != VBT_OK) return report("measure", status);
  canvas.width = extent.right - extent.left;
  canvas.height = extent.above + extent.below;
  if (canvas.width > MAX_WIDTH || canvas.height > MAX_HEIGHT) return report("framebuffer", VBT_ERR_TOO_WIDE);
  status = vbt_draw_text(&font, &canvas, -extent.left, extent.above, text, VBT_NO_REPLACEMENT);
  if (status != VBT_OK) return report("draw", status);
  semihosting_write(text);
  semihosting_write("\n");
  print_framebuffer(canvas.width, canvas.height);
  return 0;
}
