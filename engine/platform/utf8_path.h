#pragma once
// File names cross the program as UTF-8 strings on every system. The conversion to the
// system's own form happens here: std::filesystem::path made from a plain string would take
// it in the system's local code page on Windows, not as UTF-8.
#include <filesystem>
#include <string>
#include <string_view>

namespace kl {

std::filesystem::path PathFromUtf8(const std::string& utf8Path);
std::string Utf8FromPath(const std::filesystem::path& path);

#if defined(_WIN32)
// UTF-8 to the UTF-16 the Windows API takes, and back. Neither throws: bytes that are no
// UTF-8 become U+FFFD (no file of such a name can exist here), as does half of a surrogate
// pair on the way back.
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);
#endif

}  // namespace kl
