#include "driver/command_line.h"

#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "convert/wrap_add.h"

namespace {

constexpr char kOptionLetters[] = "+a:b:o:O:u:w:vN:S:E:A:";

// strtol with base 0 (decimal, 0x hex, 0 octal), kept to 32 bits.
int32_t codeArgument(const char* text) { return static_cast<int32_t>(strtol(text, nullptr, 0)); }

// atoi, as glibc computes it, without its undefined overflow.
int32_t decimalArgument(const char* text) { return static_cast<int32_t>(strtol(text, nullptr, 10)); }

// What option `letter` with `value` (none for -v) sets; -N only counts, into
// *count, until all options are read. -o and -O are the caller's.
void setConversionOption(char letter, const char* value, ConversionOptions* c, int32_t* count) {
  switch (letter) {
    case 'a': c->box_height_adjustment = static_cast<int16_t>(decimalArgument(value)); break;
    case 'b': c->baseline = decimalArgument(value); break;
    case 'u': c->underline = decimalArgument(value); break;
    case 'w': c->fixed_width = true; break;
    case 'v': c->verbose = wrapAdd(c->verbose, 1); break;
    case 'N': *count = codeArgument(value); break;
    case 'S': c->lowest_code = codeArgument(value); break;
    case 'E': c->code_limit = codeArgument(value); break;
    case 'A': c->code_offset = codeArgument(value); break;
    default: break;
  }
}

// -N counts from -S, whichever came first, and wins over -E.
void applyCodeCount(int32_t count, ConversionOptions* c) {
  if (count != 0) c->code_limit = wrapAdd(c->lowest_code, count);
}

void setOutputDirectory(RunOptions* options, const std::string& dir) {
  options->output_dir = dir;
  if (!dir.empty() && dir.back() != '/') options->output_dir += '/';
}

// True for a letter of kOptionLetters that takes a value.
bool takesValue(char letter) {
  const char* at = strchr(kOptionLetters + 1, letter);
  return at && at[1] == ':';
}

}  // namespace

bool parseRunOptions(int argc, char** argv, RunOptions* options, int* first_operand) {
  int32_t count = 0;
  bool ok = true;
  int option;
  // '+': options end at the first operand, as POSIX says, also under glibc.
  while (ok && (option = getopt(argc, argv, kOptionLetters)) != -1) {
    switch (option) {
      case 'o': setOutputDirectory(options, optarg); break;
      case 'O': options->output_path = optarg; break;
      case '?':
      case ':': ok = false; break;
      default: setConversionOption(static_cast<char>(option), optarg, &options->conversion, &count); break;
    }
  }
  applyCodeCount(count, &options->conversion);
  *first_operand = optind;
  return ok;
}

bool parseConversionArguments(const std::vector<std::string>& args, ConversionOptions* options,
                              size_t* first_operand, std::string* error) {
  int32_t count = 0;
  size_t i = 0;
  for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
    if (args[i] == "--") {
      ++i;
      break;
    }
    for (size_t k = 1; k < args[i].size(); ++k) {
      const char letter = args[i][k];
      if (letter == ':' || !strchr(kOptionLetters + 1, letter)) {
        *error = std::string("unknown conversion option -") + letter;
        return false;
      }
      const char* value = nullptr;
      if (takesValue(letter)) {
        if (k + 1 == args[i].size() && i + 1 == args.size()) {
          *error = std::string("conversion option -") + letter + " needs a value";
          return false;
        }
        value = k + 1 < args[i].size() ? args[i].c_str() + k + 1 : args[++i].c_str();
      }
      setConversionOption(letter, value, options, &count);
      if (value) break;
    }
  }
  applyCodeCount(count, options);
  *first_operand = i;
  return true;
}

// The usage text, and the options it leaves out.
const char kUsageText[] = R"(bdf2vbt -o output_path bdf_file

Options:
    -o...   Set output directory
    -O...   Force output filename (overrides -o)
    -S...   Set starting character code
    -E...   Set ending character code
    -N...   Set maximum number of characters
    -A...   Offset character encodings
    -a...   Bound height adjustment (default 0)
    -b...   Set baseline row (default: the font box's height above the baseline)
    -u...   Set underline row (default: one row below the baseline)
    -w...   Give every code the largest advance (the argument is ignored)
    -v      Print what is read and a pixel dump of every glyph

e.g.  Convert all BDF Courier font files in the /font/bdf
      directory to Vebit font files in the /home/zandu/font
      directory.
bdf2vbt -o /home/zandu/font /font/bdf/cour*.bdf

bdf2vbt --help shows this text, bdf2vbt --version the version; man bdf2vbt
tells the rest.
)";
