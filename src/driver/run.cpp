#include "driver/run.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "bdf/report.h"
#include "convert/conversion.h"
#include "diag/text_out.h"
#include "driver/command_line.h"
#include "driver/output_naming.h"
#include "io/input_bytes.h"
#include "io/output_file.h"
#include "io/output_stream.h"
#include "io/standard_output.h"
#include "version.h"

namespace {

enum class Outcome { kConverted, kFailed, kCannotOpen };

// What lasts for the whole run: its options, the tables each conversion
// reuses, and what it knows of files across operands (every operand's
// identity; the outputs it has put in place, each with its operand).
struct Run {
  RunOptions options;
  FontConverter converter;
  InputBytes input;
  std::set<FileId> inputs;
  std::map<FileId, std::string> written;
  TextOut out{stdout};   // everything the run prints on standard output
  bool output_lost = false;   // standard output failed, and that was reported
};

// As perror: the message, ": ", the system's text for `error`.
void reportSystemError(const char* message, int error) { fprintf(stderr, "%s: %s\n", message, strerror(error)); }

// Refuses an output path (`output`, when it exists) that names an input of
// the run, before anything is written; false after reporting it.
bool outputIsNoInput(const Run& run, int input_fd, const std::string& output_path, const FileId* output) {
  struct stat input;
  if (!output) return true;
  if (fstat(input_fd, &input) == 0 && *output == FileId{input.st_dev, input.st_ino}) {
    fprintf(stderr, "Can not open output file: \n: %s is the input file\n", output_path.c_str());
    return false;
  }
  if (run.inputs.count(*output) == 0) return true;
  fprintf(stderr, "Can not open output file: \n: %s is an input file of this run\n", output_path.c_str());
  return false;
}

// Without -O, two operands whose outputs are one file must not silently lose
// the first conversion; false after reporting it.
bool outputNotYetWritten(const Run& run, const char* operand, const std::string& output_path, const FileId* output) {
  if (run.options.output_path || !output) return true;
  const auto earlier = run.written.find(*output);
  if (earlier == run.written.end()) return true;
  fprintf(stderr, "Can not write output file %s for %s: already written from %s in this run\n", output_path.c_str(),
          operand, earlier->second.c_str());
  return false;
}

// Hands what the run printed so far on to standard output, so that a log of
// both streams reads in order; false when it could not be written, which is
// reported once a run.
bool flushStandardOutput(Run& run) {
  const int error = run.out.flushStream();
  if (error == 0) return true;
  if (!run.output_lost) fprintf(stderr, "Can not write standard output: %s\n", strerror(error));
  run.output_lost = true;
  return false;
}

// Reads the input whole, converts it and puts the output in place when
// nothing at all was reported for the operand.
Outcome convertInto(Run& run, const char* operand, int input_fd, const std::string& output_name,
                    OutputFile& output, const std::string& output_path) {
  if (const int read_error = run.input.readAll(input_fd)) {
    fprintf(stderr, "Can not read input file %s: %s\n", operand, strerror(read_error));
    return Outcome::kFailed;
  }
  BdfReport report(&run.out, stderr, run.options.conversion.verbose != 0);
  // A FIFO cannot take the header at position 0 once the rest is written:
  // its file is made in memory and handed on whole, and only when the
  // conversion succeeded.
  OutputStream to_file(output.fd()), in_memory;
  OutputStream& out = output.seekable() ? to_file : in_memory;
  const bool converted =
      run.converter.convert(run.options.conversion, ReadingStrategy(), run.input.text(), output_name, out, report);
  // What the conversion printed is part of it: lost, the output is not kept.
  if (!flushStandardOutput(run) || !converted) return Outcome::kFailed;
  out.flush();
  if (!output.seekable()) to_file.putBytes(in_memory.contents().data(), in_memory.contents().size());
  to_file.flush();
  if (const int error = output.commit(to_file.error())) {
    fprintf(stderr, "Can not write output file %s: %s\n", output_path.c_str(), strerror(error));
    return Outcome::kFailed;
  }
  run.written[output.committed()] = operand;
  return Outcome::kConverted;
}

Outcome convertOpenInput(Run& run, const char* operand, int input_fd, const std::string& output_name) {
  const std::string output_path =
      run.options.output_path ? run.options.output_path : run.options.output_dir + output_name;
  FileId output_id;
  const FileId* existing = fileIdOf(output_path, &output_id) ? &output_id : nullptr;
  if (!outputIsNoInput(run, input_fd, output_path, existing)) return Outcome::kCannotOpen;
  if (!outputNotYetWritten(run, operand, output_path, existing)) return Outcome::kFailed;
  OutputFile output;
  if (!output.open(output_path)) {
    reportSystemError("Can not open output file: \n", errno);
    return Outcome::kCannotOpen;
  }
  run.out.print("Converting %s to %s\n", operand, output_path.c_str());
  flushStandardOutput(run);
  return convertInto(run, operand, input_fd, output_name, output, output_path);
}

Outcome convertOperand(Run& run, const char* operand) {
  const std::optional<std::string> output_name = outputNameFor(operand);
  if (!output_name) {
    run.out.print("%s not a bdf file\n", operand);
    return Outcome::kFailed;
  }
  const int input_fd = open(operand, O_RDONLY | O_CLOEXEC);
  if (input_fd < 0) {
    reportSystemError("Can not open input file: \n", errno);
    return Outcome::kCannotOpen;
  }
  const Outcome outcome = convertOpenInput(run, operand, input_fd, *output_name);
  close(input_fd);
  return outcome;
}

// --help or --version as the only argument; false for any other command line.
bool answeredAlone(int argc, char** argv, int* status) {
  if (argc != 2 || (strcmp(argv[1], "--help") != 0 && strcmp(argv[1], "--version") != 0)) return false;
  if (strcmp(argv[1], "--help") == 0) {
    fputs(kUsageText, stdout);
  } else {
    printf("bdf2vbt %s\n", kVersion);
  }
  *status = finishStandardOutput(kExitConverted, "Can not write standard output");
  return true;
}

}  // namespace

int runConverter(int argc, char** argv) {
  if (int status; answeredAlone(argc, argv, &status)) return status;
  Run run;
  int first_operand = 0;
  int status = parseRunOptions(argc, argv, &run.options, &first_operand) ? kExitConverted : kExitFailed;
  for (int i = first_operand; i < argc; ++i) {
    FileId id;
    if (fileIdOf(argv[i], &id)) run.inputs.insert(id);
  }
  for (int i = first_operand; i < argc; ++i) {
    const Outcome outcome = convertOperand(run, argv[i]);
    if (!flushStandardOutput(run)) status = kExitFailed;
    if (outcome == Outcome::kCannotOpen) return kExitCannotOpen;
    if (outcome == Outcome::kFailed) status = kExitFailed;
  }
  return status;
}
