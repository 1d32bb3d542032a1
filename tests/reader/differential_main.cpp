// reader_differential [-w] [FONT.bdf...]: holds the device reader against
// each font (without operands, the paths on standard input, one a line),
// converted (with -w) as bdf2vbt converts it; prints the fonts with codes
// drawn wrong, then the counts. Status 1 when there is any.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "differential.h"

int main(int argc, char** argv) {
  const bool fixed_width = argc > 1 && strcmp(argv[1], "-w") == 0;
  std::vector<std::string> paths(argv + (fixed_width ? 2 : 1), argv + argc);
  const bool from_input = paths.empty();
  for (std::string line; from_input && std::getline(std::cin, line);) paths.push_back(line);
  int64_t converted = 0, wrong_fonts = 0, glyphs = 0, empty_glyphs = 0, empty_codes = 0;
  for (const std::string& path : paths) {
    const std::string bdf = readWholeFile(path);
    const std::optional<std::vector<uint8_t>> file = convertForReader(bdf, fixed_width);
    if (!file) continue;
    ++converted;
    const ReaderDifferential result = checkReaderDraws(bdf, *file, fixed_width);
    glyphs += result.glyphs, empty_glyphs += result.empty_glyphs, empty_codes += result.empty_codes;
    if (result.wrong == 0) continue;
    ++wrong_fonts;
    std::cout << path << ": " << result.wrong << " codes wrong\n";
    for (const std::string& sentence : result.listed) std::cout << "  " << sentence << "\n";
  }
  std::cout << paths.size() << " fonts, " << converted << " converted" << (fixed_width ? " with -w" : "")
            << "; through both ways " << glyphs << " glyphs drawn and " << empty_codes
            << " codes without glyph checked (" << empty_glyphs
            << " glyphs that look like an empty record among them); " << wrong_fonts
            << " fonts with codes drawn wrong\n";
  return wrong_fonts != 0;
}
