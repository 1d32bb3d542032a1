#include "test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
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

Conversion convertClean(const std::string& bdf,
                        const std::function<void(ConversionState&)>& configure) {
  Conversion result = convertBdf(bdf, configure);
  EXPECT_TRUE(result.completed);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  return result;
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

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
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

namespace {

// Reads both pipes to their ends, whichever has data first.
void drainPipes(int out_fd, int err_fd, std::string* out, std::string* err) {
  struct pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  std::string* texts[2] = {out, err};
  int open_fds = 2;
  char buffer[65536];
  while (open_fds > 0) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        texts[i]->append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open_fds;
      }
    }
  }
}

}  // namespace

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
  int out_pipe[2];
  int err_pipe[2];
  if (pipe(out_pipe) != 0 || pipe(err_pipe) != 0) throw std::runtime_error("pipe failed");
  pid_t pid = fork();
  if (pid == 0) {
    int in = open("/dev/null", O_RDONLY);
    if (in < 0 || chdir(cwd.c_str()) != 0) _exit(126);
    dup2(in, 0);
    dup2(out_pipe[1], 1);
    dup2(err_pipe[1], 2);
    close(out_pipe[0]);
    close(err_pipe[0]);
    if (in_child) in_child();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(name.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(binary.c_str(), argv.data());
    _exit(127);
  }
  close(out_pipe[1]);
  close(err_pipe[1]);
  RunResult result;
  drainPipes(out_pipe[0], err_pipe[0], &result.out, &result.err);
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  return result;
}

void PrintTo(const RunResult& run, std::ostream* os) {
  *os << "{status " << run.status << ", stdout \"" << run.out << "\", stderr \"" << run.err << "\"}";
}

void dropPrivileges() {
  if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
    _exit(125);
  }
}

bool canRunUnprivileged() {
  const pid_t pid = fork();
  if (pid == 0) {
    dropPrivileges();
    _exit(access(BDF2VBT_BINARY, X_OK) == 0 ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string testDataDir() { return BDF2VBT_TEST_DATA; }
