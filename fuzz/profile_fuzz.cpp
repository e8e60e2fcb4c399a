// The settings file: one key written into a fuzzed file. When the write is accepted the
// key reads back as written, and every other key reads as it did before; when it is
// refused the file keeps its bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/platform/cp932.h"
#include "engine/platform/private_profile.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/scratch_folder.h"

namespace {

std::string g_path;

void WriteFile(const std::string& bytes)
{
    std::FILE* file = std::fopen(g_path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    FUZZ_CHECK(std::fclose(file) == 0);
}

std::optional<std::string> ReadFile()
{
    std::FILE* file = std::fopen(g_path.c_str(), "rb");
    if (file == nullptr)
        return std::nullopt;
    std::string bytes;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

std::string_view Trim(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A name as the store compares names: trimmed, in UTF-8, ASCII letters in lower case.
std::string NameKey(std::string_view name)
{
    std::string key = kl::Cp932ToUtf8(Trim(name));
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

struct Probe {
    std::string section;
    std::string key;
    std::string before;
};

// The keys of the file, each with the section it stands in, as names to ask for (code page
// 932). Only a rough reading of the lines is needed: a name that does not hit any key
// reads the default before and after, which is checked the same way.
std::vector<Probe> KeysOf(std::string_view content)
{
    if (content.starts_with("\xEF\xBB\xBF"))
        content.remove_prefix(3);
    std::vector<Probe> probes;
    std::string section;
    while (!content.empty() && probes.size() < 64) {
        const std::size_t lf = content.find('\n');
        const std::string_view line = Trim(content.substr(0, lf));
        content = lf == std::string_view::npos ? std::string_view{} : content.substr(lf + 1);
        const bool utf8 = kl::IsValidUtf8(line);
        const auto asAsked = [utf8](std::string_view name) {
            return utf8 ? kl::Utf8ToCp932(name) : std::string(name);
        };
        if (line.starts_with('[') && line.find(']') != std::string_view::npos) {
            section = asAsked(line.substr(1, line.find(']') - 1));
        } else if (line.find('=') != std::string_view::npos) {
            probes.push_back({section, asAsked(line.substr(0, line.find('='))), {}});
        }
    }
    return probes;
}

constexpr std::string_view kDefault = "\x01(default)";
constexpr std::size_t kBuffer = 1 << 16;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::MakeScratchRoot("kestrilane-profile");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    const std::string section = provider.ConsumeRandomLengthString(64);
    const std::string key = provider.ConsumeRandomLengthString(64);
    const std::string value = provider.ConsumeRandomLengthString(512);
    const std::string content = provider.ConsumeRemainingBytesAsString();

    // A new file per input, in a folder of its own for whatever the store puts beside it:
    // reading may keep a parsed file while its size and times stay the same, and one
    // rewritten in place within a clock tick can keep both.
    g_path = fuzz::FreshInputFolder() + "/settings.ini";
    WriteFile(content);
    std::vector<Probe> probes = KeysOf(content);
    for (Probe& probe : probes)
        probe.before = kl::ReadIniString(g_path, probe.section, probe.key, kDefault, kBuffer);

    if (!kl::WriteIniString(g_path, section, key, value)) {
        FUZZ_CHECK(ReadFile() == content);
        return 0;
    }
    // Values cross the interface in code page 932 and are stored in UTF-8, so a value
    // reads back in its canonical code page 932 form.
    const std::string expected = kl::Utf8ToCp932(kl::Cp932ToUtf8(value));
    FUZZ_CHECK(kl::ReadIniString(g_path, section, key, kDefault, kBuffer) == expected);
    const std::string sectionKey = NameKey(section);
    const std::string keyKey = NameKey(key);
    for (const Probe& probe : probes) {
        if (NameKey(probe.section) == sectionKey && NameKey(probe.key) == keyKey)
            continue;
        if (kl::ReadIniString(g_path, probe.section, probe.key, kDefault, kBuffer) != probe.before) {
            std::fprintf(stderr, "key [%s] %s changed\n", probe.section.c_str(), probe.key.c_str());
            FUZZ_CHECK(false);
        }
    }
    return 0;
}
