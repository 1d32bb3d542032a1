// Running one reader stage on an inline BDF text, for the stage tests.
#ifndef BDF2VBT_TESTS_STAGE_SUPPORT_H
#define BDF2VBT_TESTS_STAGE_SUPPORT_H

#include <functional>
#include <string>
#include <vector>

#include "bdf/line_reader.h"
#include "conversion_state.h"
#include "font/output_file.h"
#include "test_support.h"

// What a stage returned, printed and wrote, and the line the input gives
// right after it.
struct StageRun {
  int result = -1;
  std::string out;
  std::string err;
  std::string written;
  std::string next_line;
};

// next_line at the end of the input.
inline const std::string kEndOfInput = "<end of input>";

// Runs `stage` on `bdf` with the state `st` (its vbtname and options as the
// caller set them), writing into memory.
inline StageRun runStage(ConversionState& st, const std::string& bdf,
                         const std::function<int(ConversionState&, BdfInput&)>& stage) {
  CapturedMessages messages(st);
  BdfInput in(bdf);
  OutputFile out;
  st.infile = &in;
  st.outfile = &out;
  StageRun run;
  run.result = stage(st, in);
  st.infile = nullptr;
  st.outfile = nullptr;
  out.flush();
  run.written.assign(out.contents().begin(), out.contents().end());
  run.out = messages.out();
  run.err = messages.err();
  char buffer[kLineSize];
  const char* line = bdfGetLine(in, buffer, kLineSize);
  run.next_line = line ? line : kEndOfInput;
  return run;
}

#endif  // BDF2VBT_TESTS_STAGE_SUPPORT_H
