#include "engine/platform/save_temporary.h"

#include <random>

namespace kl {
namespace {

constexpr std::string_view kMark = ".kestrilane-save-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomLength = 16;
// Lower case only: the name must stay distinct on file systems that ignore case.
constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";

bool InAlphabet(char c)
{
    return kAlphabet.find(c) != std::string_view::npos;
}

}  // namespace

std::string NewSaveTemporaryName()
{
    // Seeded afresh for every name, so that processes started at the same moment, forks and
    // threads never share a sequence.
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string name(kMark);
    for (std::size_t k = 0; k < kRandomLength; ++k) {
        name += kAlphabet[pick(random)];
    }
    name += kSuffix;
    return name;
}

bool IsSaveTemporaryName(std::string_view fileName)
{
    if (fileName.size() != kMark.size() + kRandomLength + kSuffix.size() || !fileName.starts_with(kMark) ||
        !fileName.ends_with(kSuffix)) {
        return false;
    }
    const std::string_view random = fileName.substr(kMark.size(), kRandomLength);
    for (char c : random) {
        if (!InAlphabet(c)) {
            return false;
        }
    }
    return true;
}

bool IsStaleSaveTemporary(const SaveTemporaryEntry& entry)
{
    return IsSaveTemporaryName(entry.fileName) && entry.regularFile && entry.ownedByThisUser &&
           entry.sinceModified > kStaleSaveTemporaryAge;
}

}  // namespace kl
