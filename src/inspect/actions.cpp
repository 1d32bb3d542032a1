#include "inspect/actions.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "inspect/check.h"
#include "inspect/command_line.h"
#include "inspect/compare.h"
#include "inspect/field_dump.h"
#include "inspect/png_sheet.h"
#include "inspect/summary.h"
#include "inspect/text_format.h"
#include "inspect/text_render.h"
#include "inspect/utf8.h"
#include "inspect/vbt_file.h"
#include "io/input_bytes.h"
#include "io/output_file.h"

namespace vbtdump {

namespace {

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
    const int error = fd < 0 ? errno : bytes_.readAll(fd);
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
    const std::optional<std::string> picture = renderText(*file_, decodeUtf8(command_.text));
    if (!picture) return fail(vbtPath(), "the text is too large to draw");
    fputs(picture->c_str(), out_);
    return kExitOk;
  }

  // --png: the sheet is drawn in memory, then written the safe way.
  int png() {
    if (!loadSound()) return kExitInvalid;
    const std::string& png_path = command_.png_path;
    FileId input, output;
    if (fileIdOf(vbtPath(), &input) && fileIdOf(png_path, &output) && input == output) {
      return fail(png_path, "is the input file");
    }
    std::string error;
    SheetLayout layout;
    std::vector<uint8_t> png_bytes;
    if (!drawSheet(*file_, command_.scale, &layout, &png_bytes, &error)) return fail(png_path, error);
    if (const int write_error = writeWholeFile(png_path, png_bytes.data(), png_bytes.size())) {
      return fail(png_path, strerror(write_error));
    }
    fprintf(out_, "%s: sheet of %s of %d codes written to %s, %lld x %lld pixels\n",
            vbtPath().c_str(), countText(static_cast<int64_t>(layout.rows.size()), "row", "rows").c_str(),
            kCodesPerRow, png_path.c_str(),
            static_cast<long long>(layout.width()), static_cast<long long>(layout.height()));
    return kExitOk;
  }

  // --compare.
  int compare() {
    const std::string& bdf_path = command_.operands[0];
    ExpectedFont expected;
    std::string error;
    if (!convertForComparison(command_.conversion, bdf_path, &expected, &error)) return fail(bdf_path, error);
    if (!loadSound()) return kExitInvalid;
    const Comparison result = compareWith(expected, command_.conversion.code_offset, *file_);
    const char* path = vbtPath().c_str();
    for (const std::string& m : result.mismatches) fprintf(out_, "%s: %s\n", path, m.c_str());
    if (!result.mismatches.empty()) {
      const int64_t n = static_cast<int64_t>(result.mismatches.size());
      fprintf(out_, "%s: %s with %s\n", path, countText(n, "mismatch", "mismatches").c_str(), bdf_path.c_str());
      return kExitInvalid;
    }
    fprintf(out_, "ok, %s compared, %s without glyph\n", countText(result.glyphs, "glyph", "glyphs").c_str(),
            countText(result.empty_codes, "code", "codes").c_str());
    return kExitOk;
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
