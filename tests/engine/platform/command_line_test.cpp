#include "engine/platform/command_line.h"

#include <gtest/gtest.h>

namespace kl {

void PrintTo(const FileArgument& f, std::ostream* os)
{
    *os << "(" << f.position << ", " << f.path << ")";
}

}  // namespace kl

namespace {

struct Case {
    const char* name;
    std::vector<std::string> words;
    std::string option;
    std::vector<kl::FileArgument> files;
};

TEST(CommandLine, SortsSwitchesAndFiles)
{
    const Case cases[] = {
        {"no words", {"kestrilane"}, "", {}},
        {"two files", {"kestrilane", "a.txt", "b.txt"}, "", {{1, "a.txt"}, {2, "b.txt"}}},
        {"/o first", {"kestrilane", "/o", "a.txt", "b.txt"}, "o", {{2, "a.txt"}, {3, "b.txt"}}},
        {"-o between", {"kestrilane", "a.txt", "-o", "b.txt"}, "o", {{1, "a.txt"}, {3, "b.txt"}}},
        {"switch last", {"kestrilane", "a.txt", "b.txt", "/o"}, "o", {{1, "a.txt"}, {2, "b.txt"}}},
        {"upper-case O has no effect", {"kestrilane", "-O", "a.txt"}, "", {{2, "a.txt"}}},
        {"/O has no effect", {"kestrilane", "/O", "a.txt"}, "", {{2, "a.txt"}}},
        {"other switch ignored", {"kestrilane", "-p", "a.txt"}, "", {{2, "a.txt"}}},
        {"files directly under the root", {"kestrilane", "/notes.txt", "/o", "/x"}, "o",
         {{1, "/notes.txt"}, {3, "/x"}}},
        {"longer switch with o", {"kestrilane", "-open", "a.txt"}, "o", {{2, "a.txt"}}},
        {"bare dash is a switch", {"kestrilane", "-", "a.txt"}, "", {{2, "a.txt"}}},
        {"only switches", {"kestrilane", "/o", "-x"}, "o", {}},
        {"absolute paths are files", {"kestrilane", "/home/u/a.txt", "/o", "/tmp/b.txt"}, "o",
         {{1, "/home/u/a.txt"}, {3, "/tmp/b.txt"}}},
        {"three files", {"kestrilane", "a", "b", "c"}, "", {{1, "a"}, {2, "b"}, {3, "c"}}},
        {"-- ends the switches", {"kestrilane", "/o", "--", "/ofile", "-x.txt", "--"}, "o",
         {{3, "/ofile"}, {4, "-x.txt"}, {5, "--"}}},
        {"Japanese name", {"kestrilane", "\xe8\xa1\xa8.txt"}, "", {{1, "\xe8\xa1\xa8.txt"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        kl::CommandLine parsed = kl::ParseCommandLine(c.words);
        EXPECT_EQ(parsed.option, c.option);
        EXPECT_EQ(parsed.files, c.files);
        EXPECT_EQ(parsed.argCount, static_cast<int>(c.words.size()));
    }
}

}  // namespace
