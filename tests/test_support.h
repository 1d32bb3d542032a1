// Helpers shared by the tests: in-memory conversions with captured messages,
// temporary directories, and runs of the built program.
#ifndef BDF2VBT_TESTS_TEST_SUPPORT_H
#define BDF2VBT_TESTS_TEST_SUPPORT_H

#include <cstdint>
#include <cstdio>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "conversion_state.h"

// A fresh conversion state, as at process start.
std::unique_ptr<ConversionState> newState();

// Sends the state's message streams to memory for the life of the object.
class CapturedMessages {
 public:
  explicit CapturedMessages(ConversionState& st);
  ~CapturedMessages();
  CapturedMessages(const CapturedMessages&) = delete;
  CapturedMessages& operator=(const CapturedMessages&) = delete;
  std::string out();   // standard output so far
  std::string err();   // standard error so far

 private:
  ConversionState& st_;
  FILE* out_;
  FILE* err_;
  char* out_text_ = nullptr;
  size_t out_size_ = 0;
  char* err_text_ = nullptr;
  size_t err_size_ = 0;
};

// The result of converting one BDF text in memory.
struct Conversion {
  bool completed = false;        // the glyph stage finished the file
  std::vector<uint8_t> bytes;    // what was written, header included
  std::string out;               // standard output
  std::string err;               // standard error
};

// Converts `bdf` as the program converts one operand whose output base name is
// `vbtname`, after `configure` has set options on the fresh state.
Conversion convertBdf(const std::string& bdf,
                      const std::function<void(ConversionState&)>& configure = {},
                      const std::string& vbtname = "test.vbt");

// Converts `bdf` as convertBdf() does and expects the conversion to complete
// without printing anything.
Conversion convertClean(const std::string& bdf,
                        const std::function<void(ConversionState&)>& configure = {});

// Same, on a given state (for runs over several files).
Conversion convertBdfWith(ConversionState& st, const std::string& bdf,
                          const std::string& vbtname = "test.vbt");

// A BDF text with the given glyph records (each from STARTCHAR to ENDCHAR,
// lines separated by '\n') and a header with FONT `font` and
// FONTBOUNDINGBOX `box`.
std::string bdfFont(const std::vector<std::string>& glyphs, const std::string& box = "8 8 0 -2",
                    const std::string& font = "test");

// One glyph record: STARTCHAR name, ENCODING, SWIDTH 500 0, DWIDTH, BBX,
// BITMAP, the rows, ENDCHAR.
std::string bdfGlyph(const std::string& name, const std::string& encoding, int dwidth,
                     const std::string& bbx, const std::vector<std::string>& rows);

// A directory of its own under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

std::string readFile(const std::string& path);
// The lines of `text`, without their line feeds.
std::vector<std::string> splitLines(const std::string& text);
void writeFile(const std::string& path, const std::string& contents);
bool fileExists(const std::string& path);
// Regular files under `dir`, as sorted paths relative to it.
std::vector<std::string> listFiles(const std::string& dir);

// What a run of the program gave.
struct RunResult {
  int status = -1;   // exit status, or 128 + signal number
  std::string out;
  std::string err;
  bool operator==(const RunResult&) const = default;
};
// Shows a RunResult in test failure messages.
void PrintTo(const RunResult& run, std::ostream* os);

// Runs the built bdf2vbt with `args` (argv[0] is "bdf2vbt") in directory
// `cwd`, standard input empty. `in_child`, when given, runs in the child
// before the program starts (to set limits, umask, user).
RunResult runBdf2vbt(const std::vector<std::string>& args, const std::string& cwd,
                     const std::function<void()>& in_child = {});

// Runs the built vbtdump with `args` (argv[0] is "vbtdump") in directory `cwd`,
// standard input empty.
RunResult runVbtdump(const std::vector<std::string>& args, const std::string& cwd);

// Runs the program at `binary` as runBdf2vbt does, with argv[0] `name`.
RunResult runProgram(const std::string& binary, const std::string& name,
                     const std::vector<std::string>& args, const std::string& cwd,
                     const std::function<void()>& in_child = {});

// Makes the process an unprivileged user when it runs as root, so that file
// permissions apply to it (for runBdf2vbt's `in_child`).
void dropPrivileges();

// Whether the program can be started after dropPrivileges(): the build tree
// may lie where other users cannot reach it.
bool canRunUnprivileged();

// Path of the source tree's tests/data directory.
std::string testDataDir();

#endif  // BDF2VBT_TESTS_TEST_SUPPORT_H
