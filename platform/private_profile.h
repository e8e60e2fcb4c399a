#pragma once
// The settings file store: INI text read and written key by key, with the semantics of the
// Windows private-profile functions. Section and key names compare case-insensitively,
// values are trimmed of surrounding blanks (and of one pair of matching surrounding quotes),
// and a value longer than the read buffer minus one byte is cut.
//
// The file is stored in UTF-8; a file that is not valid UTF-8 is read as code page 932 (a
// file carried over from Windows). Values cross this interface in code page 932, the form
// the program uses for text bytes, and buffer sizes count the bytes of that form.
#include <cstddef>
#include <string>
#include <string_view>

namespace kl {

// The value of key in section, or defaultValue when the file, the section or the key is
// missing. The result (value or default) is cut to bufferSize - 1 bytes without splitting
// a double-byte character; bufferSize 0 gives an empty text.
std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize);

// Sets key in section to value, creating the file and the section when needed. The file is
// replaced atomically (a temporary file renamed over it), so a crash never leaves a
// half-written settings file. Returns false when the file could not be written.
bool WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value);

// Removes key from section (nothing happens when it does not exist).
bool DeleteIniKey(const std::string& path, std::string_view section, std::string_view key);

}  // namespace kl
