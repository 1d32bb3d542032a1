// vbtdump's command line: exit statuses and messages.
#include <gtest/gtest.h>

#include "test_support.h"

namespace {

const std::string kTry = "Try 'vbtdump --help' for more information.\n";

// Runs vbtdump in a directory that holds the golden test8.vbt.
RunResult run(const std::vector<std::string>& args) {
  TempDir dir;
  writeFile(dir.file("test8.vbt"), readFile(testDataDir() + "/golden/test8.vbt"));
  return runVbtdump(args, dir.path());
}

RunResult usageError(const std::string& message) { return {2, "", "vbtdump: " + message + "\n" + kTry}; }

TEST(InspectCli, UsageErrorsExitWithTwo) {
  EXPECT_EQ(run({}), usageError("missing operand: FILE.vbt"));
  EXPECT_EQ(run({"--frob", "test8.vbt"}), usageError("unknown option '--frob'"));
  EXPECT_EQ(run({"-x", "test8.vbt"}), usageError("unknown option '-x'"));
  EXPECT_EQ(run({"test8.vbt", "test8.vbt"}), usageError("extra operand 'test8.vbt'"));
  EXPECT_EQ(run({"--check"}), usageError("missing operand: FILE.vbt"));
  EXPECT_EQ(run({"--png"}), usageError("option --png needs a value"));
  EXPECT_EQ(run({"--text", "A"}), usageError("missing operand: FILE.vbt"));
  EXPECT_EQ(run({"--scale", "2", "test8.vbt"}), usageError("--scale goes with --png"));
  EXPECT_EQ(run({"--png", "a.png", "--scale", "0", "test8.vbt"}),
            usageError("--scale needs a whole number from 1 to 16, not '0'"));
  EXPECT_EQ(run({"--png", "a.png", "--scale=3x", "test8.vbt"}),
            usageError("--scale needs a whole number from 1 to 16, not '3x'"));
  EXPECT_EQ(run({"--check", "--text", "A", "test8.vbt"}),
            usageError("only one of --check, --text, --png and --compare may be given (--text)"));
  EXPECT_EQ(run({"--compare", "test8.vbt"}), usageError("missing operand: FONT.bdf and FILE.vbt"));
  EXPECT_EQ(run({"test8.vbt", "--compare", "a.bdf", "b.vbt"}),
            usageError("--compare must come before the file operands"));
}

TEST(InspectCli, BadConversionOptionIsAUsageError) {
  RunResult result = run({"--compare", "-x", "a.bdf", "test8.vbt"});
  EXPECT_EQ(result, (RunResult{2, "",
                               "vbtdump: invalid option -- 'x'\n"
                               "vbtdump: bad conversion option after --compare\n" + kTry}));
}

TEST(InspectCli, UnreadableAndForeignFilesExitWithOne) {
  EXPECT_EQ(run({"none.vbt"}), (RunResult{1, "", "vbtdump: none.vbt: No such file or directory\n"}));
  EXPECT_EQ(run({"--check", "."}), (RunResult{1, "", "vbtdump: .: Is a directory\n"}));
  TempDir dir;
  writeFile(dir.file("notes.vbt"), "These are notes, not a font. They are long enough for a header.\n");
  EXPECT_EQ(runVbtdump({"notes.vbt"}, dir.path()),
            (RunResult{1, "", "vbtdump: notes.vbt: not a VBT2 file: bad magic 0x6854, not 0x5632 ('2V'): not a VBT2 file\n"}));
  EXPECT_EQ(runVbtdump({"--check", "notes.vbt"}, dir.path()),
            (RunResult{1, "notes.vbt: bad magic 0x6854, not 0x5632 ('2V'): not a VBT2 file\n", ""}));
}

TEST(InspectCli, CheckPrintsOkOrEachProblem) {
  EXPECT_EQ(run({"--check", "test8.vbt"}), (RunResult{0, "ok\n", ""}));
  TempDir dir;
  std::string bytes = readFile(testDataDir() + "/golden/test8.vbt");
  bytes[3] = 0;         // flags 0x0000
  bytes[176] = 70;      // the image of C overruns the metrics table
  writeFile(dir.file("bad.vbt"), bytes);
  EXPECT_EQ(runVbtdump({"--check", "bad.vbt"}, dir.path()),
            (RunResult{1,
                       "bad.vbt: unknown flags 0x0000, expected 0x0800 or 0x1800\n"
                       "bad.vbt: code 0x0043: image of 6 bytes at 70 runs into the metrics table at 72\n",
                       ""}));
}

TEST(InspectCli, HelpAndOptionValuesAfterAnEqualsSign) {
  RunResult help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: vbtdump [FILE.vbt]\n", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("  --compare "), std::string::npos);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(run({"-h"}), help);
  EXPECT_EQ(run({"--text=AC", "test8.vbt"}),
            (RunResult{0,
                       "..#....###..\n.#.#..#...#.\n#...#.#.....\n#####.#.....\n"
                       "#...#.#...#.\n#...#..###..\n............\n............\n",
                       ""}));
}

TEST(InspectCli, DoubleDashEndsTheOptions) {
  EXPECT_EQ(run({"--check", "--", "--help"}),
            (RunResult{1, "", "vbtdump: --help: No such file or directory\n"}));
}

}  // namespace
