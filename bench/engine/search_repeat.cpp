// search_repeat N PATTERN FILE_A FILE_B: reads the two files as the window does, then runs
// the engine's search over both texts N times and prints the matches of the last run.
// Timed by hyperfine with N = 1 and N = 11 in one run beside grep -c, the difference of
// the two over ten is the search alone, loading left out (bench/find.sh).
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/document/document_ops.h"
#include "engine/search/text_search.h"

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: search_repeat N PATTERN FILE_A FILE_B\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    kl::TextPair texts;
    for (int side = 0; side < 2; ++side) {
        kl::LoadedFile loaded = kl::ReadTextFile(argv[3 + side], false);
        if (!loaded.text) {
            std::fprintf(stderr, "%s\n", loaded.error.c_str());
            return 2;
        }
        texts[static_cast<std::size_t>(side)] = loaded.text;
    }
    kl::SearchQuery query;
    query.pattern = argv[2];
    query.matchCase = true;
    std::size_t count = 0;
    for (int k = 0; k < runs; ++k)
        count = kl::FindInTexts(texts, query).count();
    std::printf("%zu\n", count);
    return 0;
}
