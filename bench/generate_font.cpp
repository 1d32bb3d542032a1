// Writes a deterministic BDF font for benchmarks: `glyphs` glyphs of
// `size` x `size` pixels with codes from 32 up (skipping none), pseudo-random
// pixels from a fixed seed.
//
//   bdf2vbt_genfont GLYPHS SIZE > font.bdf
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

uint32_t next(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

void writeGlyph(FILE* out, int code, int size, uint32_t& state) {
  const int row_bytes = (size + 7) / 8;
  fprintf(out, "STARTCHAR uni%04X\nENCODING %d\nSWIDTH 1000 0\nDWIDTH %d 0\nBBX %d %d 0 -2\nBITMAP\n",
          code, code, size, size, size);
  for (int r = 0; r < size; ++r) {
    for (int b = 0; b < row_bytes; ++b) {
      unsigned byte = next(state) & 0xFF;
      if (b == row_bytes - 1 && size % 8 != 0) byte &= 0xFF << (8 - size % 8);
      fprintf(out, "%02X", byte);
    }
    fputc('\n', out);
  }
  fputs("ENDCHAR\n", out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: %s GLYPHS SIZE\n", argv[0]);
    return 2;
  }
  const int glyphs = atoi(argv[1]);
  const int size = atoi(argv[2]);
  if (glyphs < 1 || glyphs > 65000 || size < 1 || size > 256) {
    fprintf(stderr, "%s: GLYPHS must be 1..65000 and SIZE 1..256\n", argv[0]);
    return 2;
  }
  printf("STARTFONT 2.1\nFONT -Bench-Generated-Medium-R-Normal--%d-%d0-75-75-C-%d0-ISO10646-1\n",
         size, size, size);
  printf("SIZE %d 75 75\nFONTBOUNDINGBOX %d %d 0 -2\n", size, size, size);
  printf("STARTPROPERTIES 3\nFONT_ASCENT %d\nFONT_DESCENT 2\nCOPYRIGHT \"Generated\"\nENDPROPERTIES\n",
         size - 2);
  printf("CHARS %d\n", glyphs);
  uint32_t state = 0x12345678u;
  for (int i = 0; i < glyphs; ++i) writeGlyph(stdout, 32 + i, size, state);
  puts("ENDFONT");
  return 0;
}
