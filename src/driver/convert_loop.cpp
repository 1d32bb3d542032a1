#include "driver/convert_loop.h"

#include <algorithm>
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
#include "driver/output_target.h"
#include "font/metrics.h"
#include "font/output_file.h"

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
  std::fill(std::begin(st.ImageOffsetTab), std::end(st.ImageOffsetTab), 0u);
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

// True when `path` names the file open as `fd`.
bool isSameFile(int fd, const std::string& path) {
  struct stat a;
  struct stat b;
  return fstat(fd, &a) == 0 && stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}

Outcome convertOpenFiles(ConversionState& st, const char* operand, int input_fd,
                         const std::string& fileout) {
  if (isSameFile(input_fd, fileout)) {
    fprintf(st.err, "Can not open output file: \n: %s is the input file\n", fileout.c_str());
    return Outcome::kCannotOpen;
  }
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
  if (!completed) return Outcome::kFailed;
  if (int error = target.commit(out)) {
    fprintf(st.err, "Can not write output file %s: %s\n", fileout.c_str(), strerror(error));
    return Outcome::kFailed;
  }
  return st.error_reported ? Outcome::kFailed : Outcome::kConverted;
}

Outcome convertOperand(ConversionState& st, const char* operand) {
  resetPerFileState(st);
  if (!deriveOutputName(st, operand)) return Outcome::kFailed;
  const std::string fileout = st.forceOname ? st.forceOname : st.fname + st.vbtname;
  int input_fd = open(operand, O_RDONLY | O_CLOEXEC);
  if (input_fd < 0) {
    reportSystemError(st, "Can not open input file: \n", errno);
    return Outcome::kCannotOpen;
  }
  Outcome outcome = convertOpenFiles(st, operand, input_fd, fileout);
  close(input_fd);
  return outcome;
}

}  // namespace

int convertOperands(ConversionState& st, int argc, char** argv, int first_operand,
                    bool options_ok) {
  int status = options_ok ? kExitConverted : kExitFailed;
  for (int i = first_operand; i < argc; ++i) {
    Outcome outcome = convertOperand(st, argv[i]);
    if (outcome == Outcome::kCannotOpen) return kExitCannotOpen;
    if (outcome == Outcome::kFailed) status = kExitFailed;
  }
  return status;
}

int finishStandardOutput(int status) {
  const bool flushed = fflush(stdout) == 0;
  if (flushed && !ferror(stdout)) return status;
  // An earlier failed write left no reliable errno behind.
  if (flushed) {
    fputs("Can not write standard output\n", stderr);
  } else {
    fprintf(stderr, "Can not write standard output: %s\n", strerror(errno));
  }
  return status == kExitConverted ? kExitFailed : status;
}
