// Runs the cases kept as data in tests/cases/*.cases (their format is in
// tests/cases/README.md): each case is a shell script run in a fresh directory
// with its input files and the built programs on PATH; what it printed, its
// exit status and the files it left behind are compared with the case.
// With CASES_RECORD=1 in the environment the cases' stdout blocks are
// rewritten from what the runs printed instead.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& path) {
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

// One "--- KIND ARGS" section of a case file and the text under it, each line
// ending in a line feed, blank lines at its end dropped.
struct Block {
  std::vector<std::string> words;  // KIND ARGS
  std::string text;
  const std::string& kind() const { return words.at(0); }
};

struct Case {
  int line = 0;  // of its "=== " line
  std::string title;
  std::string script;  // the '$ ' lines, without the prefix
  std::vector<Block> blocks;
};

struct CaseFile {
  std::vector<Block> shared;  // blocks before the first case
  std::vector<Case> cases;
};

bool startsWith(const std::string& line, const char* prefix) { return line.rfind(prefix, 0) == 0; }

CaseFile parseCaseFile(const fs::path& path) {
  const std::vector<std::string> lines = splitLines(readFile(path));
  CaseFile file;
  Case* current = nullptr;
  for (size_t i = 0; i < lines.size();) {
    const std::string& line = lines[i++];
    if (startsWith(line, "=== ")) {
      current = &file.cases.emplace_back(Case{static_cast<int>(i), line.substr(4), "", {}});
      while (i < lines.size() && startsWith(lines[i], "#")) ++i;
      while (i < lines.size() && startsWith(lines[i], "$ ")) current->script += lines[i++].substr(2) + "\n";
    } else if (startsWith(line, "--- ")) {
      std::istringstream header(line.substr(4));
      Block block;
      for (std::string word; header >> word;) block.words.push_back(word);
      size_t end = i;
      while (end < lines.size() && !startsWith(lines[end], "--- ") && !startsWith(lines[end], "=== ")) ++end;
      const size_t text_end = end;
      while (end > i && lines[end - 1].empty()) --end;
      for (; i < end; ++i) block.text += lines[i] + "\n";
      i = text_end;
      (current ? current->blocks : file.shared).push_back(block);
    } else if (!line.empty() && (current || !startsWith(line, "#"))) {
      throw std::runtime_error(path.string() + ": unexpected line: " + line);
    }
  }
  return file;
}

// What a script did: its output, its exit status (128 + signal number when a
// signal ended it).
struct Outcome {
  std::string out;
  std::string err;
  int status = -1;
};

// Runs `script` with /bin/sh in `dir`, standard input empty, with the built
// programs first on PATH and the build and source trees in BUILD_DIR and
// SOURCE_DIR. A script that hangs (a FIFO nobody opens, say) fails its case
// rather than stopping the suite: after 120 s its process group is killed.
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
    execl("/usr/bin/timeout", "timeout", "-v", "-s", "KILL", "120", "/bin/sh", "-c", script.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  Outcome outcome{readFile(out), readFile(err), -1};
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return outcome;
}

// Every entry under `dir` that is not a directory, as sorted relative paths,
// a line each.
std::string filesUnder(const fs::path& dir) {
  std::vector<std::string> files;
  for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it) {
    if (it->symlink_status().type() != fs::file_type::directory) {
      files.push_back(it->path().lexically_relative(dir).string());
    }
  }
  std::sort(files.begin(), files.end());
  std::string text;
  for (const std::string& file : files) text += file + "\n";
  return text;
}

// Writes `text` as the stdout block of the case at `title` in the case file
// at `path`, in place of the block it had.
void recordStdout(const fs::path& path, const std::string& title, const std::string& text) {
  std::vector<std::string> lines = splitLines(readFile(path));
  auto at = std::find(lines.begin(), lines.end(), "=== " + title);
  const auto next = std::find_if(at + 1, lines.end(), [](const std::string& l) { return startsWith(l, "=== "); });
  auto block = std::find(at, next, "--- stdout");
  auto end = block == next ? next : std::find_if(block + 1, next, [](const std::string& l) {
    return startsWith(l, "--- ") || startsWith(l, "=== ");
  });
  while (end > at + 1 && end[-1].empty()) --end;
  if (block == next) block = end;
  at = lines.erase(block, end);
  std::vector<std::string> fresh = splitLines(text);
  if (!fresh.empty()) fresh.insert(fresh.begin(), "--- stdout");
  lines.insert(at, fresh.begin(), fresh.end());
  std::ofstream out(path, std::ios::binary);
  for (const std::string& line : lines) out << line << "\n";
}

// Runs one case of a file and compares, or records, what it printed.
class CaseTest : public testing::Test {
 public:
  CaseTest(fs::path path, std::shared_ptr<const CaseFile> file, size_t index)
      : path_(std::move(path)), file_(std::move(file)), case_(file_->cases[index]) {}

  void TestBody() override {
    fs::create_directories(BDF2VBT_TEST_TMP);
    std::string root_template = std::string(BDF2VBT_TEST_TMP) + "/case-XXXXXX";
    ASSERT_NE(mkdtemp(root_template.data()), nullptr);
    const fs::path root = root_template;
    const fs::path work = root / "work";
    fs::create_directory(work);
    const std::map<std::string, std::string> inputs = writeInputs(work);
    for (const Block& block : case_.blocks) {
      if (block.kind() == "skip-unless" && runScript(block.text, work).status != 0) {
        fs::remove_all(root);
        GTEST_SKIP() << "needs: " << block.text;
      }
    }
    const Outcome run = runScript(". \"$SOURCE_DIR/tests/cases/lib.sh\"\n" + case_.script, work);
    if (getenv("CASES_RECORD")) {
      recordStdout(path_, case_.title, run.out);
    } else {
      EXPECT_EQ(run.out, blockText("stdout")) << "standard output";
    }
    EXPECT_EQ(run.err, "") << "standard error";
    EXPECT_EQ(run.status, 0) << "exit status";
    std::string input_names;
    for (const auto& [name, text] : inputs) {
      input_names += name + "\n";
      const bool same = !fs::is_regular_file(work / name) || readFile(work / name) == text;
      EXPECT_TRUE(same) << "input " << name << " changed";
    }
    EXPECT_EQ(filesUnder(work), input_names) << "files left behind";
    if (!HasFailure()) fs::remove_all(root);
  }

 private:
  // The text of the case's block of `kind`, or empty.
  std::string blockText(const std::string& kind) const {
    for (const Block& block : case_.blocks) {
      if (block.kind() == kind) return block.text;
    }
    return "";
  }

  // Writes the case's input files into `work`, and those shared by the file
  // that the case does not name itself. Returns their contents by name.
  std::map<std::string, std::string> writeInputs(const fs::path& work) const {
    std::map<std::string, std::string> inputs;
    for (const std::vector<Block>* list : {&case_.blocks, &file_->shared}) {
      for (const Block& block : *list) {
        if (block.kind() != "file" && block.kind() != "copy") continue;
        const std::string& name = block.words.at(1);
        if (inputs.count(name) != 0) continue;
        inputs[name] = block.kind() == "copy" ? readFile(fs::path(BDF2VBT_SOURCE_DIR) / block.words.at(2)) : block.text;
        std::ofstream(work / name, std::ios::binary) << inputs[name];
      }
    }
    return inputs;
  }

  fs::path path_;
  std::shared_ptr<const CaseFile> file_;
  const Case& case_;
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
    const auto file = std::make_shared<const CaseFile>(parseCaseFile(path));
    for (size_t i = 0; i < file->cases.size(); ++i) {
      testing::RegisterTest(path.stem().c_str(), testName(file->cases[i].title).c_str(), nullptr, nullptr,
                            path.c_str(), file->cases[i].line,
                            [path, file, i]() -> testing::Test* { return new CaseTest(path, file, i); });
    }
  }
}

}  // namespace

// A case file that cannot be read stops the program, so that the build,
// which lists the tests, fails with its message.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  try {
    registerCases();
  } catch (const std::exception& e) {
    fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return RUN_ALL_TESTS();
}
