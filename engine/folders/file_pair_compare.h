#pragma once
// Comparing the two files of one entry, and describing a file from its first bytes.
#include <array>
#include <stop_token>
#include <string>
#include <string_view>

#include "engine/folders/folder_compare.h"
#include "engine/platform/block_reader.h"

namespace kl {

struct FilePairOutcome {
    EntryState state = EntryState::Pending;
    std::array<std::string, 2> descriptions;
    std::array<int, 2> errors{};
};

// Compares two regular files. Files of different sizes are told apart without reading
// more than their heads; equal sizes are compared block by block up to the first
// difference. Pending when the stop request came first.
FilePairOutcome CompareFilePair(const std::string& pathA, const std::string& pathB, std::uint64_t sizeA,
                                std::uint64_t sizeB, const FolderCompareRequest& request, std::stop_token stop = {});

// "UTF-8 CRLF", "Shift_JIS LF", "バイナリ" for the first bytes of a file; complete tells
// that head is the whole file (else a character cut at its end is forgiven).
std::string DescribeFileHead(std::string_view head, bool complete);

}  // namespace kl
