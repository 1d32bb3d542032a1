#include "test_support.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "bdf/line_reader.h"
#include "driver/convert_loop.h"
#include "font/output_file.h"

namespace fs = std::filesystem;

std::unique_ptr<ConversionState> newState() { return std::make_unique<ConversionState>(); }

CapturedMessages::CapturedMessages(ConversionState& st)
    : st_(st),
      out_(open_memstream(&out_text_, &out_size_)),
      err_(open_memstream(&err_text_, &err_size_)) {
  st_.out = out_;
  st_.err = err_;
}

CapturedMessages::~CapturedMessages() {
  st_.out = stdout;
  st_.err = stderr;
  fclose(out_);
  fclose(err_);
  free(out_text_);
  free(err_text_);
}

std::string CapturedMessages::out() {
  fflush(out_);
  return std::string(out_text_, out_size_);
}

std::string CapturedMessages::err() {
  fflush(err_);
  return std::string(err_text_, err_size_);
}

Conversion convertBdfWith(ConversionState& st, const std::string& bdf,
                          const std::string& vbtname) {
  CapturedMessages messages(st);
  resetPerFileState(st);
  st.vbtname = vbtname;
  BdfInput in(bdf);
  OutputFile out;
  Conversion result;
  result.completed = convertStream(st, in, out);
  out.flush();
  result.bytes = out.contents();
  result.out = messages.out();
  result.err = messages.err();
  return result;
}

Conversion convertBdf(const std::string& bdf,
                      const std::function<void(ConversionState&)>& configure,
                      const std::string& vbtname) {
  auto st = newState();
  if (configure) configure(*st);
  return convertBdfWith(*st, bdf, vbtname);
}

std::string bdfFont(const std::vector<std::string>& glyphs, const std::string& box,
                    const std::string& font) {
  std::string text = "STARTFONT 2.1\nFONT " + font + "\nSIZE 8 75 75\nFONTBOUNDINGBOX " + box +
                     "\nSTARTPROPERTIES 1\nFONT_ASCENT 6\nENDPROPERTIES\nCHARS " +
                     std::to_string(std::max<size_t>(glyphs.size(), 1)) + "\n";
  for (const std::string& glyph : glyphs) text += glyph;
  return text + "ENDFONT\n";
}

std::string bdfGlyph(const std::string& name, const std::string& encoding, int dwidth,
                     const std::string& bbx, const std::vector<std::string>& rows) {
  std::string text = "STARTCHAR " + name + "\nENCODING " + encoding + "\nSWIDTH 500 0\nDWIDTH " +
                     std::to_string(dwidth) + " 0\nBBX " + bbx + "\nBITMAP\n";
  for (const std::string& row : rows) text += row + "\n";
  return text + "ENDCHAR\n";
}

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "bdf2vbt-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  // Directories a test made unwritable must be opened up to be removed.
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (it->is_directory(ignored) && !it->is_symlink(ignored)) chmod(it->path().c_str(), 0700);
  }
  fs::remove_all(path_, ignored);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& path, const std::string& contents) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << contents;
}

bool fileExists(const std::string& path) {
  struct stat info;
  return lstat(path.c_str(), &info) == 0;
}

std::vector<std::string> listFiles(const std::string& dir) {
  std::vector<std::string> files;
  std::error_code ignored;
  for (auto it = fs::recursive_directory_iterator(dir, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    if (!it->is_directory(ignored)) files.push_back(fs::relative(it->path(), dir).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

void PrintTo(const RunResult& result, std::ostream* out) {
  *out << "{status " << result.status << ", out \"" << result.out << "\", err \"" << result.err
       << "\"}";
}

RunResult runBdf2vbt(const std::vector<std::string>& args, const std::string& cwd,
                     const std::function<void()>& in_child) {
  return runProgram(BDF2VBT_BINARY, "bdf2vbt", args, cwd, in_child);
}

RunResult runVbtdump(const std::vector<std::string>& args, const std::string& cwd) {
  return runProgram(VBTDUMP_BINARY, "vbtdump", args, cwd);
}

RunResult runProgram(const std::string& binary, const std::string& name,
                     const std::vector<std::string>& args, const std::string& cwd,
                     const std::function<void()>& in_child) {
  TempDir capture;
  const std::string out_path = capture.file("stdout");
  const std::string err_path = capture.file("stderr");
  pid_t pid = fork();
  if (pid == 0) {
    int in = open("/dev/null", O_RDONLY);
    int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (in < 0 || out < 0 || err < 0 || chdir(cwd.c_str()) != 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (in_child) in_child();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(name.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(binary.c_str(), argv.data());
    _exit(127);
  }
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  RunResult result;
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  result.out = readFile(out_path);
  result.err = readFile(err_path);
  return result;
}

std::string testDataDir() { return BDF2VBT_TEST_DATA; }
