#include "inspect/command_line.h"

#include <cstring>

#include "driver/command_line.h"

#include "inspect/png_sheet.h"
#include "inspect/text_format.h"

namespace vbtdump {

namespace {

// Walks the arguments; options may take their value as "--name=value" or as
// the next argument.
class ArgumentParser {
 public:
  ArgumentParser(int argc, char** argv, Command* command)
      : argc_(argc), argv_(argv), command_(command) {}

  // Parses everything; false after a usage error.
  bool run() {
    for (index_ = 1; index_ < argc_ && error_.empty(); ++index_) {
      const std::string arg = argv_[index_];
      if (arg == "--") {
        takeOperands(index_ + 1);
        break;
      }
      if (arg == "--compare" || arg == "--lint") {
        parseWithConversionOptions(arg == "--compare" ? Mode::kCompare : Mode::kLint, arg);
        break;
      }
      arg.size() > 1 && arg[0] == '-' ? parseOption(arg) : command_->operands.push_back(arg);
    }
    if (error_.empty()) checkOperands();
    return error_.empty();
  }

  // The usage error, empty when there is none.
  const std::string& error() const { return error_; }

 private:
  // Takes argv[from..] as operands.
  void takeOperands(int from) {
    for (int i = from; i < argc_; ++i) command_->operands.push_back(argv_[i]);
  }

  // Selects the mode of `option`; two different modes are an error.
  void setMode(Mode mode, const std::string& option) {
    if (command_->mode != Mode::kSummary && command_->mode != mode) {
      error_ = "only one of --dump, --check, --text, --png, --bdf, --coverage, --compare, --lint and --output-name may be "
               "given (" + option + ")";
    }
    command_->mode = mode;
  }

  // The value of option `name`: after '=' in `arg`, or the next argument.
  bool value(const std::string& arg, const std::string& name, std::string* out) {
    if (arg.size() > name.size()) {
      *out = arg.substr(name.size() + 1);
      return true;
    }
    if (index_ + 1 >= argc_) {
      error_ = "option " + name + " needs a value";
      return false;
    }
    *out = argv_[++index_];
    return true;
  }

  // True for `name` alone or followed by '='.
  static bool isOption(const std::string& arg, const std::string& name) {
    return arg == name || arg.rfind(name + "=", 0) == 0;
  }

  // One argument that begins with '-'.
  void parseOption(const std::string& arg) {
    if (arg == "--help" || arg == "-h") return setMode(Mode::kHelp, arg);
    if (arg == "--check") return setMode(Mode::kCheck, arg);
    if (arg == "--dump") return setMode(Mode::kFields, arg);
    if (arg == "--version") return setMode(Mode::kVersion, arg);
    if (arg == "--output-name") return setMode(Mode::kOutputName, arg);
    if (arg == "--force") {
      command_->force = true;
      return;
    }
    if (isOption(arg, "--text")) {
      setMode(Mode::kText, "--text");
      value(arg, "--text", &command_->text);
    } else if (isOption(arg, "--png")) {
      setMode(Mode::kPng, "--png");
      value(arg, "--png", &command_->png_path);
    } else if (isOption(arg, "--bdf")) {
      setMode(Mode::kBdf, "--bdf");
      value(arg, "--bdf", &command_->bdf_path);
    } else if (isOption(arg, "--coverage")) {
      setMode(Mode::kCoverage, "--coverage");
      value(arg, "--coverage", &command_->strings_path);
    } else if (isOption(arg, "--scale")) {
      std::string text;
      if (value(arg, "--scale", &text)) parseScale(text);
    } else if (isOption(arg, "--codes")) {
      std::string text;
      if (value(arg, "--codes", &text)) parseCodes(text);
    } else {
      error_ = "unknown option '" + arg + "'";
    }
  }

  // The value of --scale.
  void parseScale(const std::string& text) {
    char* end = nullptr;
    const long scale = strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || scale < 1 || scale > kMaxScale) {
      error_ = formatText("--scale needs a whole number from 1 to %d, not '%s'", kMaxScale, text.c_str());
      return;
    }
    command_->sheet.scale = static_cast<int>(scale);
  }

  // The value of --codes: FIRST-LAST, each a C number (0x hex, 0 octal).
  void parseCodes(const std::string& text) {
    const char* p = text.c_str();
    char* end = nullptr;
    const long long first = strtoll(p, &end, 0);
    const bool has_first = end != p && *end == '-';
    const char* q = has_first ? end + 1 : p;
    const long long last = strtoll(q, &end, 0);
    if (!has_first || end == q || *end != '\0' || first > last) {
      error_ = "--codes needs FIRST-LAST, such as 0x20-0x7E, not '" + text + "'";
      return;
    }
    command_->sheet.has_codes = true;
    command_->sheet.codes = {first, last};
  }

  // The rest of the line is the conversion's options, then the operands.
  void parseWithConversionOptions(Mode mode, const std::string& option) {
    setMode(mode, option);
    if (!error_.empty()) return;
    if (!command_->operands.empty()) {
      error_ = option + " must come before the file operands";
      return;
    }
    const std::vector<std::string> args(argv_ + index_ + 1, argv_ + argc_);
    size_t first_operand = 0;
    std::string error;
    if (!parseConversionArguments(args, &command_->conversion, &first_operand, &error)) {
      error_ = error + " after " + option;
      return;
    }
    command_->conversion.verbose = 0;
    command_->operands.insert(command_->operands.end(), args.begin() + static_cast<ptrdiff_t>(first_operand), args.end());
  }

  // The mode's operands must all be there, and no more.
  void checkOperands() {
    const Mode mode = command_->mode;
    if (mode == Mode::kHelp || mode == Mode::kVersion) return;
    if ((command_->sheet.scale != 0 || command_->sheet.has_codes) && mode != Mode::kPng) {
      error_ = "--scale and --codes go with --png";
      return;
    }
    if (command_->force && mode != Mode::kPng && mode != Mode::kBdf) {
      error_ = "--force goes with --bdf and --png";
      return;
    }
    if (mode == Mode::kOutputName || mode == Mode::kLint) {
      if (command_->operands.empty()) error_ = "missing operand: FONT.bdf";
      return;
    }
    const size_t wanted = mode == Mode::kCompare ? 2 : 1;
    const char* what = mode == Mode::kCompare ? "FONT.bdf and FILE.vbt" : mode == Mode::kCoverage ? "FILE.vbt or FONT.bdf" : "FILE.vbt";
    if (command_->operands.size() < wanted) {
      error_ = std::string("missing operand: ") + what;
    } else if (command_->operands.size() > wanted) {
      error_ = "extra operand '" + command_->operands[wanted] + "'";
    }
  }

  int argc_;
  char** argv_;
  Command* command_;
  int index_ = 1;
  std::string error_;
};

}  // namespace

bool parseCommandLine(int argc, char** argv, Command* command, std::string* error) {
  ArgumentParser parser(argc, argv, command);
  const bool ok = parser.run();
  if (!ok) *error = parser.error();
  return ok;
}

std::string helpText() {
  return R"(Usage: vbtdump [FILE.vbt]
       vbtdump --dump FILE.vbt
       vbtdump --check FILE.vbt
       vbtdump --text TEXT FILE.vbt
       vbtdump --png OUT.png [--scale N] [--codes FIRST-LAST] [--force] FILE.vbt
       vbtdump --compare [CONVERSION OPTIONS] FONT.bdf FILE.vbt
       vbtdump --bdf OUT.bdf [--force] FILE.vbt
       vbtdump --coverage TEXT FILE.vbt|FONT.bdf
       vbtdump --lint [CONVERSION OPTIONS] FONT.bdf...
       vbtdump --output-name FONT.bdf...
Inspects a VBT2 font file written by bdf2vbt.

  (no option)       show the header in words, the name record and a summary
  --dump            print every field: the header, the name record, one line
                    per code (metrics, image position, image rows in hex; a
                    run of one-byte fillers takes one line), and image bytes
                    no code points at; diff two of these to compare files
  --check           validate the file: print each problem, or "ok"
  --text TEXT       draw TEXT (UTF-8) in the font with '#' and '.'; codes the
                    font lacks show as empty boxes
  --png OUT.png     write a specimen sheet of every glyph, 16 codes per row
  --scale N         pixels per glyph pixel in the sheet, 1 to 16 (default 2)
  --codes A-B       the sheet's grid rows with glyphs of codes A to B (such
                    as 0x20-0x7E); without it or --scale, a sheet shows the
                    rows that fit 4096 pixels, from the first
  --force           let --bdf replace an existing file, and --png one that
                    is no PNG image
  --compare         hold FILE.vbt against FONT.bdf: does every code draw as
                    the font draws it (read by vbtdump's own plain reading),
                    and are the bytes those bdf2vbt writes with the same
                    options (-S -E -N -A -a -b -u -w; -o -O -v are accepted
                    and ignored)
  --bdf OUT.bdf     write the font back as a BDF font, and print the bdf2vbt
                    command that rebuilds FILE.vbt from it (run in OUT.bdf's
                    folder); says whether the rebuild is byte for byte
  --coverage TEXT   list every character of TEXT (UTF-8 strings of an
                    application; - for standard input) that the font has no
                    glyph for, or that no range of a conversion keeps, and
                    the -S/-E range that covers those it has; status 1 when
                    any is missing
  --lint            read each FONT.bdf as bdf2vbt converts it with the same
                    options and list, FONT.bdf:LINE: error: or warning:,
                    each problem bdf2vbt fails on, and what it converts but
                    leaves out or bends (records out of code order, codes
                    given twice, glyphs without encoding, above U+FFFF or
                    outside -S/-E, glyphs without advance beyond the range,
                    pixels beyond a BBX, a wrong CHARS count, lines cut at
                    1023 characters, a last line without line feed), then a
                    summary; status 0 without findings, 1 with warnings
                    only, 2 with errors
  --output-name     print the name bdf2vbt gives the output of each FONT.bdf,
                    one a line (build scripts ask it instead of knowing the
                    rule)
  -h, --help        show this help
  --version         show the version

Exit status: 0 when all is well, 1 for an unreadable or invalid file, a
mismatch, a character missing or an output that cannot be written, 2 for a
wrong command line.
)";
}

}  // namespace vbtdump
