// reader_differential [-w] [FONT.bdf...]: holds the device reader against
// each font (without operands, the paths on standard input, one a line),
// converted (with -w) as bdf2vbt converts it; prints the fonts with codes
// drawn wrong, then the counts. Status 1 when there is any.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "differential.h"

int main(int argc, char** argv) {
  const bool fixed_width = argc > 1 && strcmp(argv[1], "-w") == 0;
  std::vector<std::string> paths(argv + (fixed_width ? 2 : 1), argv + argc);
  if (paths.empty()) {
    for (std::string line; std::getline(std::cin, line);) paths.push_back(line);
  }
  int64_t fonts = 0, converted = 0, wrong_fonts = 0, glyphs = 0, empty_glyphs = 0, empty_codes = 0;
  for (const std::string& path : paths) {
    ++fonts;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string bdf = text.str();
    const std::optional<std::vector<uint8_t>> file = convertForReader(bdf, fixed_width);
    if (!file) continue;
    ++converted;
    const ReaderDifferential result = checkReaderDraws(bdf, *file, fixed_width);
    glyphs += result.glyphs, empty_glyphs += result.empty_glyphs, empty_codes += result.empty_codes;
    if (result.wrong == 0) continue;
    ++wrong_fonts;
    printf("%s: %lld codes wrong\n", path.c_str(), static_cast<long long>(result.wrong));
    for (const std::string& sentence : result.listed) printf("  %s\n", sentence.c_str());
  }
  printf("%lld fonts, %lld converted%s; through both ways %lld glyphs drawn and %lld codes without glyph checked "
         "(%lld glyphs that look like an empty record among them); %lld fonts with codes drawn wrong\n",
         static_cast<long long>(fonts), static_cast<long long>(converted), fixed_width ? " with -w" : "",
         static_cast<long long>(glyphs), static_cast<long long>(empty_codes), static_cast<long long>(empty_glyphs),
         static_cast<long long>(wrong_fonts));
  return wrong_fonts != 0;
}
