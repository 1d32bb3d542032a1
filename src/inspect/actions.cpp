#include "inspect/actions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <optional>

#include "driver/output_naming.h"
#include "inspect/bdf_export.h"
#include "inspect/check.h"
#include "inspect/command_line.h"
#include "inspect/compare.h"
#include "inspect/coverage.h"
#include "inspect/field_dump.h"
#include "inspect/lint.h"
#include "inspect/png_sheet.h"
#include "inspect/summary.h"
#include "inspect/text_format.h"
#include "inspect/text_render.h"
#include "inspect/vbt_file.h"
#include "io/input_bytes.h"
#include "io/output_file.h"
#include "version.h"

namespace vbtdump {

namespace {

// The part of `path` after its last '/'.
std::string baseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// `word` as one word of a shell command: quoted unless it is plain.
std::string shellWord(const std::string& word) {
  const bool plain = !word.empty() && word.find_first_not_of(
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789._/+-,:=@%") == std::string::npos;
  if (plain) return word;
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Why `path` may not be written over without --force: --bdf replaces no
// existing file, --png only a PNG image; FIFOs, devices (written directly)
// and folders (which fail to be written) are no reason. Empty when it may.
std::string refusalToReplace(const std::string& path, bool png) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return "";
  static const uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  uint8_t start[sizeof kPngSignature] = {};
  const int fd = png ? open(path.c_str(), O_RDONLY | O_CLOEXEC) : -1;
  const bool is_png = fd >= 0 && read(fd, start, sizeof start) == sizeof start && memcmp(start, kPngSignature, sizeof start) == 0;
  if (fd >= 0) close(fd);
  if (is_png) return "";
  return png ? "exists and is no PNG image; give --force to replace it" : "exists; give --force to replace it";
}

// The run of one command: its streams and the file it is about.
class Run {
 public:
  Run(const Command& command, FILE* out, FILE* err) : command_(command), out_(out), err_(err) {}

  // Runs the mode; returns the exit status.
  int dispatch() {
    switch (command_.mode) {
      case Mode::kHelp: fputs(helpText().c_str(), out_); return kExitOk;
      case Mode::kSummary: return summary();
      case Mode::kFields: return fields();
      case Mode::kCheck: return check();
      case Mode::kText: return text();
      case Mode::kPng: return png();
      case Mode::kCompare: return compare();
      case Mode::kBdf: return bdf();
      case Mode::kCoverage: return coverage();
      case Mode::kLint: return lint();
      case Mode::kOutputName: return outputNames();
      case Mode::kVersion: fprintf(out_, "vbtdump %s\n", kVersion); return kExitOk;
    }
    return kExitUsage;
  }

 private:
  // Reports `message` about `path`; returns the status for an invalid file.
  int fail(const std::string& path, const std::string& message) {
    fprintf(err_, "vbtdump: %s: %s\n", path.c_str(), message.c_str());
    return kExitInvalid;
  }

  // The VBT2 operand: the last one.
  const std::string& vbtPath() const { return command_.operands.back(); }

  // Reads the VBT2 operand; false after reporting.
  bool load() {
    const int fd = open(vbtPath().c_str(), O_RDONLY | O_CLOEXEC);
    // Any file bdf2vbt can write: its positions are 32-bit signed.
    const int error = fd < 0 ? errno : bytes_.readAll(fd, static_cast<size_t>(kMaxFileSize) + 1);
    if (fd >= 0) close(fd);
    if (error != 0) {
      fail(vbtPath(), strerror(error));
      return false;
    }
    const std::string_view text = bytes_.text();
    file_ = std::make_unique<VbtFile>(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    return true;
  }

  // Reports the problems of an unsound file: the only one, or their number.
  int failInvalid(const std::vector<std::string>& problems) {
    if (problems.size() == 1) return fail(vbtPath(), "invalid VBT2 file: " + problems[0]);
    return fail(vbtPath(), "invalid VBT2 file with " + countText(static_cast<int64_t>(problems.size()), "problem", "problems") +
                               "; vbtdump --check lists them");
  }

  // Reads the VBT2 operand and makes sure it is sound; false after reporting.
  bool loadSound() {
    if (!load()) return false;
    const std::vector<std::string> problems = checkFile(*file_);
    if (problems.empty()) return true;
    failInvalid(problems);
    return false;
  }

  // No option: the header, then the name record and the summary.
  int summary() {
    if (!load()) return kExitInvalid;
    const std::vector<std::string> problems = checkFile(*file_);
    if (!file_->hasHeader()) return fail(vbtPath(), "not a VBT2 file: " + problems[0]);
    if (file_->header().magic != kVbtMagic) return fail(vbtPath(), problems[0]);
    fputs(describeHeader(*file_, vbtPath()).c_str(), out_);
    if (!problems.empty()) return failInvalid(problems);
    fputs(describeContents(*file_).c_str(), out_);
    return kExitOk;
  }

  // --dump.
  int fields() {
    if (!load()) return kExitInvalid;
    if (!canDumpFields(*file_)) return failInvalid(checkFile(*file_));
    fputs(dumpFields(*file_).c_str(), out_);
    return kExitOk;
  }

  // --check.
  int check() {
    if (!load()) return kExitInvalid;
    const std::vector<std::string> problems = checkFile(*file_);
    for (const std::string& problem : problems) fprintf(out_, "%s: %s\n", vbtPath().c_str(), problem.c_str());
    if (problems.empty()) fputs("ok\n", out_);
    return problems.empty() ? kExitOk : kExitInvalid;
  }

  // --text.
  int text() {
    if (!loadSound()) return kExitInvalid;
    const std::optional<std::string> picture = renderText(*file_, command_.text);
    if (!picture) return fail(vbtPath(), "the text is too large to draw");
    fputs(picture->c_str(), out_);
    return kExitOk;
  }

  // True when `path` names the file being read.
  bool isInput(const std::string& path) const {
    FileId input, output;
    return fileIdOf(vbtPath(), &input) && fileIdOf(path, &output) && input == output;
  }

  // --png: the sheet is drawn in memory, then written the safe way.
  int png() {
    if (!loadSound()) return kExitInvalid;
    const std::string& png_path = command_.png_path;
    if (isInput(png_path)) return fail(png_path, "is the input file");
    if (const std::string refusal = refusalToReplace(png_path, true); !refusal.empty() && !command_.force) {
      return fail(png_path, refusal);
    }
    std::string error;
    SheetLayout layout;
    std::vector<uint8_t> png_bytes;
    if (!drawSheet(*file_, command_.sheet, &layout, &png_bytes, &error)) return fail(png_path, error);
    if (const int write_error = writeWholeFile(png_path, png_bytes.data(), png_bytes.size())) {
      return fail(png_path, strerror(write_error));
    }
    fprintf(out_, "%s: sheet of %s of %d codes written to %s, %lld x %lld pixels\n",
            vbtPath().c_str(), countText(static_cast<int64_t>(layout.rows.size()), "row", "rows").c_str(),
            kCodesPerRow, png_path.c_str(),
            static_cast<long long>(layout.width()), static_cast<long long>(layout.height()));
    if (layout.rows_left_out > 0) {
      fprintf(out_, "%s: the first %lld of %lld rows with glyphs, up to code %s, fit %lld pixels; --codes or --scale draws the others\n",
              vbtPath().c_str(), static_cast<long long>(layout.rows.size()),
              static_cast<long long>(layout.rows.size()) + static_cast<long long>(layout.rows_left_out),
              codeText(layout.rows.back() + kCodesPerRow - 1).c_str(), static_cast<long long>(kDefaultMaxHeight));
    }
    return kExitOk;
  }

  // --bdf: the BDF font written the safe way, then what rebuilding gives.
  int bdf() {
    if (!loadSound()) return kExitInvalid;
    const std::string& bdf_path = command_.bdf_path;
    if (isInput(bdf_path)) return fail(bdf_path, "is the input file");
    if (const std::string refusal = refusalToReplace(bdf_path, false); !refusal.empty() && !command_.force) {
      return fail(bdf_path, refusal);
    }
    BdfExport exported;
    std::string error;
    if (!exportBdf(*file_, &exported, &error)) return fail(vbtPath(), "cannot be written as a BDF font: " + error);
    const auto* text = reinterpret_cast<const uint8_t*>(exported.text.data());
    if (const int write_error = writeWholeFile(bdf_path, text, exported.text.size())) {
      return fail(bdf_path, strerror(write_error));
    }
    fprintf(out_, "%s: %s from %s", bdf_path.c_str(), countText(exported.glyphs, "glyph", "glyphs").c_str(), vbtPath().c_str());
    if (exported.kept > 0) {
      fprintf(out_, ", and %s without advance outside its range, for bytes no code points at or its largest glyph",
              countText(exported.kept, "glyph", "glyphs").c_str());
    }
    fputs("\n", out_);
    reportRebuild(exported, bdf_path);
    fprintf(out_, "bdf2vbt %s\n", rebuildCommand(exported, bdf_path).c_str());
    return kExitOk;
  }

  // Says what the printed command gives: the file byte for byte, or but for
  // the file name in its name record (and which BDF name would keep it), or
  // the same glyphs in another layout, or something else.
  void reportRebuild(const BdfExport& exported, const std::string& bdf_path) {
    const char* path = vbtPath().c_str();
    const std::string& recorded = file_->nameRecord()->file_name;
    const std::string given = outputNameFor(bdf_path).value_or("");
    int64_t mismatches = 0;
    Rebuild rebuild = checkRebuild(*file_, exported, given, &mismatches);
    if (rebuild == Rebuild::kSameBytes) {
      fprintf(out_, "the command below rebuilds %s byte for byte\n", path);
      return;
    }
    if (given != recorded && checkRebuild(*file_, exported, recorded, &mismatches) == Rebuild::kSameBytes) {
      const std::string stem = recorded.size() > 4 ? recorded.substr(0, recorded.size() - 4) : "";
      const bool can_keep = !stem.empty() && stem.find('/') == std::string::npos && outputNameFor(stem + ".bdf") == recorded;
      fprintf(out_, "the command below rebuilds %s byte for byte but for the file name %s in its name record, not %s: %s\n",
              path, given.c_str(), recorded.c_str(),
              can_keep ? keepingName(stem).c_str() : "no BDF name gives that one");
      return;
    }
    if (rebuild == Rebuild::kSameGlyphs) {
      fprintf(out_, "the command below rebuilds the glyphs of %s, but not its layout: its glyph records were "
                    "out of code order or gave a code twice\n", path);
    } else {
      fprintf(out_, "the command below rebuilds %s with %s; vbtdump --compare lists them\n", path,
              countText(mismatches, "difference", "differences").c_str());
    }
  }

  // The BDF name that keeps the recorded file name `stem`.vbt, and where it
  // may go without taking the place of the font it came from.
  std::string keepingName(const std::string& stem) const {
    const std::string name = stem + ".bdf";
    return "a BDF named " + name + " keeps it, in a folder of its own so that it cannot take the place of the font " +
           "it came from: mkdir recovered && vbtdump --bdf " + shellWord("recovered/" + name) + " " + shellWord(vbtPath());
  }

  // The rebuild's command line, to run in OUT.bdf's folder.
  static std::string rebuildCommand(const BdfExport& exported, const std::string& bdf_path) {
    std::string command;
    for (const std::string& option : exported.options) command += option + " ";
    const std::string name = baseName(bdf_path);
    return command + shellWord(name[0] == '-' ? "./" + name : name);
  }

  // --coverage: the code points of a text against the font's glyphs.
  int coverage() {
    std::map<int32_t, int64_t> used;
    bool text_ok = true;
    if (!readUsedCodes(&used, &text_ok)) return kExitInvalid;
    const std::string& font_path = command_.operands[0];
    const bool bdf = font_path.size() >= 4 && font_path.compare(font_path.size() - 4, 4, ".bdf") == 0;
    std::string report;
    bool missing = false;
    if (bdf ? !bdfCoverage(font_path, used, &report, &missing) : !vbtCoverage(used, &report, &missing)) {
      return kExitInvalid;
    }
    fputs(report.c_str(), out_);
    return missing || !text_ok ? kExitInvalid : kExitOk;
  }

  // The code points of the text operand, - being standard input. Bytes that
  // are no UTF-8 are reported with their offsets, and clear *text_ok.
  bool readUsedCodes(std::map<int32_t, int64_t>* used, bool* text_ok) {
    const std::string& path = command_.strings_path;
    const int fd = path == "-" ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC);
    InputBytes text;
    const int error = fd < 0 ? errno : text.readAll(fd);
    if (fd > STDIN_FILENO) close(fd);
    if (error != 0) return fail(path, strerror(error)) == kExitOk;
    std::vector<size_t> bad_at;
    countCodePoints(text.text(), used, &bad_at);
    constexpr size_t kListed = 20;
    for (size_t k = 0; k < std::min(bad_at.size(), kListed); ++k) fail(path, formatText("bad UTF-8 sequence at byte %zu", bad_at[k]));
    if (bad_at.size() > kListed) fail(path, formatText("and %zu more bytes that are no UTF-8", bad_at.size() - kListed));
    *text_ok = bad_at.empty();
    return true;
  }

  bool vbtCoverage(const std::map<int32_t, int64_t>& used, std::string* report, bool* missing) {
    if (!loadSound()) return false;
    const int32_t empty_advance = file_->emptyCodeAdvance();
    const auto has = [&](int32_t code) {
      const int64_t i = file_->indexOf(code);
      return i >= 0 && !file_->isEmptyCode(i, empty_advance);
    };
    FontGlyphs font;
    font.has_glyph = has;
    font.advance = [&](int32_t code) { return has(code) ? file_->glyph(file_->indexOf(code))->metrics.advance : 0; };
    font.weigh = [&](int32_t, int32_t, int32_t first, int32_t last) { return std::optional(weighRange(*file_, first, last)); };
    *report = coverageReport(used, command_.strings_path, font, missing);
    return true;
  }

  // The BDF font is read by the converter itself: its glyphs are those a
  // conversion of every code sees, and the weight is that of converting, in
  // memory, with the -S and -E the report gives.
  bool bdfCoverage(const std::string& path, const std::map<int32_t, int64_t>& used, std::string* report, bool* missing) {
    ConversionOptions options;
    options.code_limit = kCodeCount;
    std::string bdf, error;
    if (!readFontFile(path, &bdf, &error)) return fail(path, error) == kExitOk;
    ExpectedFont whole;
    if (!convertText(options, bdf, "", &whole)) return fail(path, "the BDF font has errors") == kExitOk;
    const VbtFile file(whole.bytes.data(), whole.bytes.size());
    FontGlyphs font;
    font.has_glyph = [&](int32_t code) { return std::binary_search(whole.glyph_codes.begin(), whole.glyph_codes.end(), code); };
    // Codes outside the range of a conversion of every code have no advance.
    font.advance = [&](int32_t code) { return file.indexOf(code) < 0 ? 0 : file.metrics(file.indexOf(code))->advance; };
    font.weigh = [&](int32_t first, int32_t limit, int32_t, int32_t) -> std::optional<Weight> {
      options.lowest_code = first;
      options.code_limit = limit;
      ExpectedFont range;
      if (!convertText(options, bdf, outputNameFor(path).value_or(""), &range)) return std::nullopt;
      return weighFile(VbtFile(range.bytes.data(), range.bytes.size()));
    };
    *report = coverageReport(used, command_.strings_path, font, missing);
    return true;
  }

  // --lint: each font's findings, FONT.bdf:LINE: error|warning: TEXT, and a
  // summary line. Status 2 after any error, 1 after warnings only.
  int lint() {
    int worst = 0;
    for (const std::string& path : command_.operands) {
      std::string bdf, error;
      if (!outputNameFor(path)) {
        error = "not a bdf file";
      } else if (!readFontFile(path, &bdf, &error)) {
        error = "Can not read input file: " + error;
      }
      if (!error.empty()) {
        fprintf(out_, "%s: error: %s\n", path.c_str(), error.c_str());
        worst = 2;
        continue;
      }
      const LintResult result = lintFont(command_.conversion, bdf, *outputNameFor(path));
      for (const LintFinding& f : result.findings) {
        fprintf(out_, "%s:%zu: %s: %s\n", path.c_str(), f.line, f.error ? "error" : "warning", f.text.c_str());
      }
      fprintf(out_, "%s: %s\n", path.c_str(), result.summary.c_str());
      worst = std::max(worst, result.errors > 0 ? 2 : result.warnings > 0 ? 1 : 0);
    }
    return worst;
  }

  // --output-name: the name bdf2vbt gives each operand's output.
  int outputNames() {
    int status = kExitOk;
    for (const std::string& operand : command_.operands) {
      const std::optional<std::string> name = outputNameFor(operand);
      if (name) {
        fprintf(out_, "%s\n", name->c_str());
      } else {
        status = fail(operand, "not a bdf file");
      }
    }
    return status;
  }

  // --compare: what the file draws, and its bytes.
  int compare() {
    const std::string& bdf_path = command_.operands[0];
    std::string bdf, error;
    if (!readFontFile(bdf_path, &bdf, &error)) return fail(bdf_path, error);
    if (!load()) return kExitInvalid;
    bool ok = false;
    fputs(compareReport(command_.conversion, bdf, bdf_path, *file_, vbtPath(), &ok).c_str(), out_);
    return ok ? kExitOk : kExitInvalid;
  }

  const Command& command_;
  FILE* out_;
  FILE* err_;
  InputBytes bytes_;
  std::unique_ptr<VbtFile> file_;
};

}  // namespace

int runCommand(const Command& command, FILE* out, FILE* err) {
  return Run(command, out, err).dispatch();
}

}  // namespace vbtdump
