#pragma once
// Entry points of the kestrilane-cli commands and the exit codes they return.
namespace kl::cli {

constexpr int kExitOk = 0;     // success
constexpr int kExitFile = 1;   // a file that cannot be read or written
constexpr int kExitUsage = 2;  // a usage error

// The exit codes of the outputs for scripts, as diff has them.
constexpr int kExitSame = 0;
constexpr int kExitDifferent = 1;
constexpr int kExitTrouble = 2;

// compare [OPTIONS] FILE_A FILE_B; argv[0] is "compare".
int RunCompareCommand(int argc, char** argv);
// linediff [OPTIONS] FILE_1 LINE_1 FILE_2 LINE_2; argv[0] is "linediff".
int RunLineDiffCommand(int argc, char** argv);
// find [OPTIONS] PATTERN FILE_A [FILE_B]; argv[0] is "find". Exits as grep: 0 found, 1 none.
int RunFindCommand(int argc, char** argv);
// compare-dirs [OPTIONS] DIR_A DIR_B; argv[0] is "compare-dirs". Exit codes as diff -rq.
int RunCompareDirsCommand(int argc, char** argv);
// merge [COMPARE OPTIONS] [MERGE OPTIONS] FILE_A FILE_B [-o OUT]; argv[0] is "merge".
int RunMergeCommand(int argc, char** argv);

}  // namespace kl::cli
