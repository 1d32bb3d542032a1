#include "driver/convert_loop.h"

#include <algorithm>
#include <map>
#include <set>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "bdf/characters.h"
#include "bdf/header.h"
#include "bdf/line_reader.h"
#include "bdf/properties.h"
#include "conversion_state.h"
#include "driver/output_naming.h"
#include "font/metrics.h"
#include "font/output_file.h"
#include "io/output_target.h"

namespace {

enum class Outcome { kConverted, kFailed, kCannotOpen };

}  // namespace

void resetPerFileState(ConversionState& st) {
  st.previous = 0;
  st.AsciiOffset = 0x10000;
  st.AsciiLength = 0;
  st.HighestAscii = 0;
  st.largest_x = st.largest_y = st.largest_width = 0;
  st.baseline = st.arg_baseline;
  st.underline = st.arg_underline;
  st.error_reported = false;
  if (!st.offsets_changed.empty()) {
    std::fill(st.ImageOffsetTab + st.offsets_changed.low,
              st.ImageOffsetTab + st.offsets_changed.high + 1, 0u);
  }
  st.offsets_changed = CodeWindow{};
}

bool convertStream(ConversionState& st, BdfInput& in, OutputFile& out) {
  st.infile = &in;
  st.outfile = &out;
  resetMetricTable(st);
  const uint8_t placeholder[kHeaderSize] = {};
  out.putBytes(placeholder, sizeof placeholder);
  bdfReadHeader(st, in);
  bdfReadProperties(st, in);
  bool completed = bdfReadCharacters(st, in) == 1;
  st.infile = nullptr;
  st.outfile = nullptr;
  return completed;
}

namespace {

// As perror: the message, ": ", the system's text for `error`.
void reportSystemError(ConversionState& st, const char* message, int error) {
  fprintf(st.err, "%s: %s\n", message, strerror(error));
}

// The output base name with ".vbt", or false when the operand is no BDF file.
bool deriveOutputName(ConversionState& st, const char* operand) {
  std::string name;
  std::string ext;
  fnsplit(operand, nullptr, &name, &ext);
  if (ext != "bdf") {
    fprintf(st.out, "%s not a bdf file\n", operand);
    return false;
  }
  std::string base;
  bdfname_2_vbtname(name.c_str(), &base);
  st.vbtname = base + ".vbt";
  return true;
}

// What the run knows of files across operands: every operand's identity, and
// the outputs it has put in place, each with the operand it came from.
struct RunFiles {
  std::set<FileId> inputs;
  std::map<FileId, std::string> written;
};

// Refuses an output path that names an input of the run, before anything is
// written; false after reporting it.
bool outputIsNoInput(ConversionState& st, const RunFiles& files, int input_fd,
                     const std::string& fileout) {
  struct stat input;
  FileId output;
  if (!fileIdOf(fileout, &output)) return true;
  if (fstat(input_fd, &input) == 0 && output == FileId{input.st_dev, input.st_ino}) {
    fprintf(st.err, "Can not open output file: \n: %s is the input file\n", fileout.c_str());
    return false;
  }
  if (files.inputs.count(output) == 0) return true;
  fprintf(st.err, "Can not open output file: \n: %s is an input file of this run\n", fileout.c_str());
  return false;
}

// Without -O, two operands whose outputs are one file must not silently lose
// the first conversion; false after reporting it.
bool outputNotYetWritten(ConversionState& st, const RunFiles& files, const std::string& fileout) {
  FileId output;
  if (st.forceOname || !fileIdOf(fileout, &output)) return true;
  const auto earlier = files.written.find(output);
  if (earlier == files.written.end()) return true;
  fprintf(st.err, "Can not write output file %s: already written from %s in this run\n",
          fileout.c_str(), earlier->second.c_str());
  return false;
}

Outcome convertOpenFiles(ConversionState& st, RunFiles& files, const char* operand, int input_fd,
                         const std::string& fileout) {
  if (!outputIsNoInput(st, files, input_fd, fileout)) return Outcome::kCannotOpen;
  if (!outputNotYetWritten(st, files, fileout)) return Outcome::kFailed;
  OutputTarget target;
  if (!target.open(fileout)) {
    reportSystemError(st, "Can not open output file: \n", errno);
    return Outcome::kCannotOpen;
  }
  fprintf(st.out, "Converting %s to %s\n", operand, fileout.c_str());
  BdfInput in(input_fd);
  OutputFile out(target.fd());
  bool completed = convertStream(st, in, out);
  if (in.error() != 0) {
    fprintf(st.err, "Can not read input file %s: %s\n", operand, strerror(in.error()));
    completed = false;
  }
  // Whatever was reported, the output is dropped: a file already at the path
  // stays as it was.
  if (!completed || st.error_reported) return Outcome::kFailed;
  out.flush();
  if (int error = target.commit(out.error())) {
    fprintf(st.err, "Can not write output file %s: %s\n", fileout.c_str(), strerror(error));
    return Outcome::kFailed;
  }
  files.written[target.committed()] = operand;
  return Outcome::kConverted;
}

Outcome convertOperand(ConversionState& st, RunFiles& files, const char* operand) {
  resetPerFileState(st);
  if (!deriveOutputName(st, operand)) return Outcome::kFailed;
  const std::string fileout = st.forceOname ? st.forceOname : st.fname + st.vbtname;
  int input_fd = open(operand, O_RDONLY | O_CLOEXEC);
  if (input_fd < 0) {
    reportSystemError(st, "Can not open input file: \n", errno);
    return Outcome::kCannotOpen;
  }
  Outcome outcome = convertOpenFiles(st, files, operand, input_fd, fileout);
  close(input_fd);
  return outcome;
}

}  // namespace

int convertOperands(ConversionState& st, int argc, char** argv, int first_operand,
                    bool options_ok) {
  int status = options_ok ? kExitConverted : kExitFailed;
  RunFiles files;
  for (int i = first_operand; i < argc; ++i) {
    FileId id;
    if (fileIdOf(argv[i], &id)) files.inputs.insert(id);
  }
  for (int i = first_operand; i < argc; ++i) {
    Outcome outcome = convertOperand(st, files, argv[i]);
    if (outcome == Outcome::kCannotOpen) return kExitCannotOpen;
    if (outcome == Outcome::kFailed) status = kExitFailed;
  }
  return status;
}
