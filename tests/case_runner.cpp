// Runs the cases kept as data in tests/cases/*.cases (their format is in
// tests/cases/README.md): each case is a shell script run in a fresh directory
// with its input files and the built programs on PATH; what it printed, its
// exit status and every file it left behind are compared with the case.
// With CASES_RECORD=1 in the environment the cases' expectations are
// rewritten from what the runs gave instead.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char kNoNewline[] = "\\ no newline at end of block";
const char kEndOfBlock[] = "\\ end of block";

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// True when `line` matches `pattern`, in which "..." stands for any
// characters.
bool lineMatches(const std::string& line, const std::string& pattern) {
  const size_t dots = pattern.find("...");
  if (dots == std::string::npos) return line == pattern;
  if (line.compare(0, dots, pattern, 0, dots) != 0) return false;
  const std::string rest = pattern.substr(dots + 3);
  for (size_t at = dots; at <= line.size(); ++at) {
    if (lineMatches(line.substr(at), rest)) return true;
  }
  return false;
}

// True when the lines of `text` match those of `pattern`, where a line
// "..." stands for any lines, none included.
bool globMatches(const std::vector<std::string>& text, size_t t, const std::vector<std::string>& pattern, size_t p) {
  if (p == pattern.size()) return t == text.size();
  if (pattern[p] == "...") {
    for (size_t at = t; at <= text.size(); ++at) {
      if (globMatches(text, at, pattern, p + 1)) return true;
    }
    return false;
  }
  return t < text.size() && lineMatches(text[t], pattern[p]) && globMatches(text, t + 1, pattern, p + 1);
}

// One "--- kind args" section of a case file and the text under it.
struct Block {
  std::string kind;
  std::vector<std::string> args;
  std::string text;
  // "--- stdout glob", "--- dump PATH ... glob": matched as a pattern.
  bool glob() const { return !args.empty() && args.back() == "glob"; }
  // True when `actual` is what the block expects.
  bool expects(const std::string& actual) const {
    return glob() ? globMatches(splitLines(actual), 0, splitLines(text), 0) : actual == text;
  }
  bool isInput() const { return kind == "file" || kind == "copy"; }
  bool isOutput() const { return kind == "dump" || kind == "text" || kind == "bytes" || kind == "any"; }
};

struct Case {
  int line = 0;                     // of its "=== " line
  std::string title;
  std::vector<std::string> notes;   // '#' lines under the title
  std::string script;               // the '$ ' lines, without the prefix
  std::vector<Block> blocks;
};

struct CaseFile {
  fs::path path;
  std::vector<std::string> preamble;   // '#' lines at the top
  std::vector<Block> shared;           // blocks before the first case
  std::vector<Case> cases;
};

std::vector<std::string> splitWords(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// The text of a block from its lines: trailing blank lines dropped, unless an
// end marker keeps them.
std::string blockText(std::vector<std::string> lines) {
  bool newline = true;
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (!lines.empty() && (lines.back() == kNoNewline || lines.back() == kEndOfBlock)) {
    newline = lines.back() != kNoNewline;
    lines.pop_back();
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  if (!newline && !text.empty()) text.pop_back();
  return text;
}

CaseFile parseCaseFile(const fs::path& path) {
  CaseFile file{path, {}, {}, {}};
  std::istringstream in(readFile(path));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  Case* current = nullptr;
  for (size_t i = 0; i < lines.size();) {
    const std::string& line = lines[i++];
    if (line.rfind("=== ", 0) == 0) {
      file.cases.push_back(Case{static_cast<int>(i), line.substr(4), {}, "", {}});
      current = &file.cases.back();
      while (i < lines.size() && lines[i].rfind("#", 0) == 0) current->notes.push_back(lines[i++]);
      while (i < lines.size() && lines[i].rfind("$ ", 0) == 0) current->script += lines[i++].substr(2) + "\n";
    } else if (line.rfind("--- ", 0) == 0) {
      std::vector<std::string> words = splitWords(line.substr(4));
      Block block{words.at(0), std::vector<std::string>(words.begin() + 1, words.end()), ""};
      std::vector<std::string> body;
      while (i < lines.size() && lines[i].rfind("--- ", 0) != 0 && lines[i].rfind("=== ", 0) != 0) {
        body.push_back(lines[i++]);
      }
      block.text = blockText(body);
      (current ? current->blocks : file.shared).push_back(block);
    } else if (!current && line.rfind("#", 0) == 0) {
      file.preamble.push_back(line);
    } else if (!line.empty()) {
      throw std::runtime_error(path.string() + ": unexpected line: " + line);
    }
  }
  return file;
}

std::string blockSource(const Block& block) {
  std::string text = "--- " + block.kind;
  for (const std::string& word : block.args) text += " " + word;
  text += "\n" + block.text;
  if (!block.text.empty() && block.text.back() != '\n') {
    text += std::string("\n") + kNoNewline + "\n";
  } else if (block.text == "\n" || (block.text.size() >= 2 && block.text.substr(block.text.size() - 2) == "\n\n")) {
    text += std::string(kEndOfBlock) + "\n";
  }
  return text;
}

std::string caseFileSource(const CaseFile& file) {
  std::string text;
  for (const std::string& line : file.preamble) text += line + "\n";
  if (!file.preamble.empty()) text += "\n";
  for (const Block& block : file.shared) text += blockSource(block);
  for (const Case& c : file.cases) {
    if (!text.empty() && (text.size() < 2 || text.compare(text.size() - 2, 2, "\n\n") != 0)) text += "\n";
    text += "=== " + c.title + "\n";
    for (const std::string& note : c.notes) text += note + "\n";
    std::istringstream script(c.script);
    for (std::string line; std::getline(script, line);) text += "$ " + line + "\n";
    for (const Block& block : c.blocks) text += blockSource(block);
  }
  return text;
}

// What a script did: its output, its exit status (128 + signal number when a
// signal ended it).
struct Outcome {
  std::string out;
  std::string err;
  int status = -1;
};

// The wait status of `pid`, which leads a process group. A script that hangs
// (a FIFO nobody opens, say) fails the case when the time is up rather than
// stopping the whole suite: its group is killed and it reads as SIGKILL.
int waitOrKill(pid_t pid) {
  constexpr auto kTimeLimit = std::chrono::seconds(120);
  const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
  auto pause = std::chrono::microseconds(100);
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ADD_FAILURE() << "ran past " << kTimeLimit.count() << " s";
      kill(-pid, SIGKILL);
      waitpid(pid, &status, 0);
      break;
    }
    std::this_thread::sleep_for(pause);
    pause = std::min(pause * 2, std::chrono::microseconds(20000));
  }
  return status;
}

// Runs `script` with /bin/sh in `dir`, standard input empty, with the built
// programs first on PATH and the build and source trees in BUILD_DIR and
// SOURCE_DIR.
Outcome runScript(const std::string& script, const fs::path& dir) {
  const fs::path out = dir.parent_path() / "stdout";
  const fs::path err = dir.parent_path() / "stderr";
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open("/dev/null", O_RDONLY);
    const int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || o < 0 || e < 0 || chdir(dir.c_str()) != 0) _exit(125);
    dup2(in, 0), dup2(o, 1), dup2(e, 2);
    closefrom(3);
    umask(022);
    clearenv();
    setenv("PATH", BDF2VBT_BUILD_DIR ":/usr/sbin:/usr/bin:/sbin:/bin", 1);
    setenv("LC_ALL", "C", 1);
    setenv("BUILD_DIR", BDF2VBT_BUILD_DIR, 1);
    setenv("SOURCE_DIR", BDF2VBT_SOURCE_DIR, 1);
    setpgid(0, 0);
    execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  setpgid(pid, pid);
  const int status = waitOrKill(pid);
  Outcome outcome{readFile(out), readFile(err), -1};
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return outcome;
}

// Every entry under `dir` that is not a directory, as sorted relative paths.
std::vector<std::string> filesUnder(const fs::path& dir) {
  std::vector<std::string> files;
  for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it) {
    if (it->symlink_status().type() != fs::file_type::directory) {
      files.push_back(it->path().lexically_relative(dir).string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The case's blocks of `kind` after the shared ones, the case's own first.
std::vector<Block> blocksOf(const CaseFile& file, const Case& c, bool (Block::*is)() const) {
  std::vector<Block> found;
  std::set<std::string> paths;
  for (const std::vector<Block>* list : {&c.blocks, &file.shared}) {
    for (const Block& block : *list) {
      if ((block.*is)() && paths.insert(block.args.at(0)).second) found.push_back(block);
    }
  }
  return found;
}

// Runs one case of `file` and compares, or records, what it gave.
class CaseTest : public testing::Test {
 public:
  CaseTest(std::shared_ptr<CaseFile> file, size_t index) : file_(std::move(file)), index_(index) {}

  void TestBody() override {
    Case& c = file_->cases[index_];
    fs::create_directories(BDF2VBT_TEST_TMP);
    std::string root_template = std::string(BDF2VBT_TEST_TMP) + "/case-XXXXXX";
    ASSERT_NE(mkdtemp(root_template.data()), nullptr);
    const fs::path root = root_template;
    const fs::path work = root / "work";
    fs::create_directory(work);
    std::map<std::string, std::string> inputs;
    for (const Block& block : blocksOf(*file_, c, &Block::isInput)) {
      const std::string text = block.kind == "copy" ? readFile(fs::path(BDF2VBT_SOURCE_DIR) / block.args.at(1)) : block.text;
      writeFile(work / block.args.at(0), text);
      inputs[block.args.at(0)] = text;
    }
    for (const Block& block : c.blocks) {
      if (block.kind == "skip-unless" && runScript(block.text, work).status != 0) {
        fs::remove_all(root);
        GTEST_SKIP() << "needs: " << block.text;
      }
    }
    const Outcome run = runScript(". \"$SOURCE_DIR/tests/cases/lib.sh\"\n" + c.script, work);
    if (getenv("CASES_RECORD")) {
      record(c, run, work, inputs);
    } else {
      compare(c, run, work, inputs);
    }
    if (!HasFailure()) fs::remove_all(root);
  }

 private:
  // `vbtdump --dump path` in `work`: what it printed, its errors included;
  // with `selectors`, only the lines they name: a field ("first_code"), or
  // the codes "A..B" (or "A"), each a C number.
  static std::string dumpOf(const fs::path& work, const std::string& path, const std::vector<std::string>& selectors) {
    std::string quoted;
    for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    const Outcome dump = runScript("vbtdump --dump -- '" + quoted + "'", work);
    if (selectors.empty() || !dump.err.empty()) return dump.out + dump.err;
    std::string shown;
    for (const std::string& line : splitLines(dump.out)) {
      if (std::any_of(selectors.begin(), selectors.end(), [&](const std::string& s) { return selects(s, line); })) {
        shown += line + "\n";
      }
    }
    return shown;
  }

  // True when `selector` names dump line `line`.
  static bool selects(const std::string& selector, const std::string& line) {
    if (line.rfind("0x", 0) != 0) return line.rfind(selector + " ", 0) == 0;
    const size_t dots = selector.find("..");
    if (selector.rfind("0x", 0) != 0 && !isdigit(static_cast<unsigned char>(selector[0]))) return false;
    const long first = strtol(selector.c_str(), nullptr, 0);
    const long last = dots == std::string::npos ? first : strtol(selector.c_str() + dots + 2, nullptr, 0);
    char* end = nullptr;
    const long from = strtol(line.c_str(), &end, 16);
    const long to = *end == '-' ? strtol(end + 1, nullptr, 16) : from;
    return from <= last && to >= first;
  }

  // The expectations met by a result: a file's contents as the block's kind
  // shows them.
  static std::string shownAs(const Block& block, const fs::path& work) {
    const std::string& path = block.args.at(0);
    std::vector<std::string> selectors(block.args.begin() + 1, block.args.end());
    if (block.glob()) selectors.pop_back();
    if (block.kind == "dump") return dumpOf(work, path, selectors);
    if (block.kind == "text") return readFile(work / path);
    return "";
  }

  void compare(const Case& c, const Outcome& run, const fs::path& work,
               const std::map<std::string, std::string>& inputs) {
    Block out{"stdout", {}, ""}, err{"stderr", {}, ""};
    std::string status = "0";
    std::set<std::string> expected_files;
    for (const auto& [path, text] : inputs) expected_files.insert(path);
    for (const Block& block : c.blocks) {
      if (block.kind == "stdout") out = block;
      if (block.kind == "stderr") err = block;
      if (block.kind == "status") status = block.args.at(0);
    }
    EXPECT_TRUE(out.expects(run.out)) << "standard output:\n" << run.out << "expected:\n" << out.text;
    EXPECT_TRUE(err.expects(run.err)) << "standard error:\n" << run.err << "expected:\n" << err.text;
    EXPECT_EQ(std::to_string(run.status), status) << "exit status";
    for (const Block& block : blocksOf(*file_, c, &Block::isOutput)) {
      expected_files.insert(block.args.at(0));
      if (block.kind == "dump" || block.kind == "text") {
        const std::string shown = shownAs(block, work);
        EXPECT_TRUE(block.expects(shown)) << block.kind << " " << block.args.at(0) << ":\n" << shown << "expected:\n" << block.text;
      } else if (block.kind == "bytes") {
        EXPECT_TRUE(readFile(work / block.args.at(0)) == readFile(fs::path(BDF2VBT_SOURCE_DIR) / block.args.at(1)))
            << block.args.at(0) << " differs from " << block.args.at(1);
      }
    }
    EXPECT_EQ(joinLines(filesUnder(work)), joinLines({expected_files.begin(), expected_files.end()}))
        << "files left behind";
    std::set<std::string> outputs;
    for (const Block& block : blocksOf(*file_, c, &Block::isOutput)) outputs.insert(block.args.at(0));
    for (const auto& [path, text] : inputs) {
      if (!outputs.count(path) && fs::is_regular_file(work / path)) {
        EXPECT_TRUE(readFile(work / path) == text) << "input " << path << " changed";
      }
    }
  }

  void record(Case& c, const Outcome& run, const fs::path& work,
              const std::map<std::string, std::string>& inputs) {
    std::vector<Block> kept;
    std::set<std::string> declared;
    for (const Block& block : c.blocks) {
      if (block.isInput() || block.kind == "skip-unless") kept.push_back(block);
    }
    // A pattern that still matches stays as it is.
    const auto kept_or = [&](const char* kind, const std::string& actual) {
      for (const Block& block : c.blocks) {
        if (block.kind == kind && block.glob() && block.expects(actual)) return kept.push_back(block);
      }
      if (!actual.empty()) kept.push_back(Block{kind, {}, actual});
    };
    kept_or("stdout", run.out);
    kept_or("stderr", run.err);
    if (run.status != 0) kept.push_back(Block{"status", {std::to_string(run.status)}, ""});
    std::vector<Block> outputs = blocksOf(*file_, c, &Block::isOutput);
    for (const std::string& path : filesUnder(work)) {
      const auto input = inputs.find(path);
      const bool changed = input == inputs.end() || !fs::is_regular_file(work / path) || readFile(work / path) != input->second;
      const bool listed = std::any_of(outputs.begin(), outputs.end(), [&](const Block& b) { return b.args.at(0) == path; });
      if (changed && !listed) {
        const bool vbt = path.size() > 4 && path.substr(path.size() - 4) == ".vbt";
        outputs.push_back(Block{!fs::is_regular_file(work / path) ? "any" : vbt ? "dump" : "text", {path}, ""});
      }
    }
    const std::vector<std::string> present = filesUnder(work);
    for (Block& block : outputs) {
      if (!std::binary_search(present.begin(), present.end(), block.args.at(0))) continue;
      if (!block.glob() || !block.expects(shownAs(block, work))) block.text = shownAs(block, work);
      const bool shared = std::any_of(file_->shared.begin(), file_->shared.end(), [&](const Block& b) {
        return b.isOutput() && b.kind == block.kind && b.args == block.args && b.text == block.text;
      });
      if (!shared) kept.push_back(block);
    }
    c.blocks = kept;
    writeFile(file_->path, caseFileSource(*file_));
  }

  std::shared_ptr<CaseFile> file_;
  size_t index_;
};

// A case file that cannot be read.
class BrokenFile : public testing::Test {
 public:
  explicit BrokenFile(std::string message) : message_(std::move(message)) {}
  void TestBody() override { FAIL() << message_; }

 private:
  std::string message_;
};

std::string testName(const std::string& title) {
  std::string name;
  for (char ch : title) name += isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
}

void registerCases() {
  std::vector<fs::path> paths;
  for (const auto& entry : fs::directory_iterator(fs::path(BDF2VBT_SOURCE_DIR) / "tests" / "cases")) {
    if (entry.path().extension() == ".cases") paths.push_back(entry.path());
  }
  std::sort(paths.begin(), paths.end());
  for (const fs::path& path : paths) {
    std::shared_ptr<CaseFile> file;
    try {
      file = std::make_shared<CaseFile>(parseCaseFile(path));
    } catch (const std::exception& e) {
      const std::string message = e.what();
      testing::RegisterTest(path.stem().c_str(), "parse", nullptr, nullptr, path.c_str(), 1,
                            [message]() -> testing::Test* { return new BrokenFile(message); });
      continue;
    }
    for (size_t i = 0; i < file->cases.size(); ++i) {
      testing::RegisterTest(path.stem().c_str(), testName(file->cases[i].title).c_str(), nullptr, nullptr,
                            path.c_str(), file->cases[i].line, [file, i]() -> testing::Test* { return new CaseTest(file, i); });
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  registerCases();
  return RUN_ALL_TESTS();
}
