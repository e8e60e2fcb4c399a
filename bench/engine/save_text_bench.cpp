// Loading a file as the window does, and saving it again: the programs bench/save.sh times
// against cp. Its own main (not a Google Benchmark suite), so hyperfine can run it.
//   save_text_bench load FILE        reads FILE into a document and stops
//   save_text_bench save FILE OUT    reads FILE, then saves its text to OUT
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/document/document_ops.h"
#include "engine/document/text_save.h"

int main(int argc, char** argv)
{
    if (argc < 3 || (std::strcmp(argv[1], "load") != 0 && argc < 4)) {
        std::fprintf(stderr, "usage: save_text_bench load FILE | save FILE OUT\n");
        return 2;
    }
    kl::TextDocument doc;
    std::string error;
    if (!kl::LoadIntoDocument(doc, argv[2], false, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (std::strcmp(argv[1], "load") == 0)
        return 0;
    kl::SaveRequest request;
    request.path = argv[3];
    const kl::SaveResult saved = kl::SaveText(doc, 0, request);
    if (saved.outcome != kl::SaveOutcome::Saved) {
        std::fprintf(stderr, "not saved: %s\n", saved.reason.c_str());
        return 1;
    }
    return 0;
}
