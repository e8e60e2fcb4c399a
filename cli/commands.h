#pragma once
// Entry points of the kestrilane-cli commands. Each returns the process exit code:
// 0 success, 1 a file that cannot be read, 2 a usage error.
namespace kl::cli {

// compare [OPTIONS] FILE_A FILE_B; argv[0] is "compare".
int RunCompareCommand(int argc, char** argv);
// linediff [--json] FILE_1 LINE_1 FILE_2 LINE_2; argv[0] is "linediff".
int RunLineDiffCommand(int argc, char** argv);
// merge [COMPARE OPTIONS] [MERGE OPTIONS] FILE_A FILE_B [-o OUT]; argv[0] is "merge".
int RunMergeCommand(int argc, char** argv);

}  // namespace kl::cli
