#pragma once
// The settings file store: INI text read and written key by key, with the semantics of the
// Windows private-profile functions. Section and key names compare case-insensitively,
// values are trimmed of surrounding blanks (and of one pair of matching surrounding quotes),
// and a value longer than the read buffer minus one byte is cut.
//
// The file is stored in UTF-8; a line that is not valid UTF-8 is read as code page 932 (a
// line carried over from Windows). Values cross this interface in code page 932, the form
// the program uses for text bytes, and buffer sizes count the bytes of that form.
//
// The file is parsed once and kept until it changes on disk (another file, size or time)
// or is written here, so reading many keys costs one parse. A write changes only the lines
// of the keys it writes; every other line keeps its bytes. Writers in this and other
// processes exclude each other with a lock on "<file>.lock" beside the file and read the
// file afresh under it, so that no writer loses another's keys.
#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace kl {

// The value of key in section, or defaultValue when the file, the section or the key is
// missing. The result (value or default) is cut to bufferSize - 1 bytes without splitting
// a double-byte character; bufferSize 0 gives an empty text.
std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize);

// Sets key in section to value, creating the file and the section when needed. The file is
// replaced atomically (see ReplaceFileAtomically), so a crash never leaves a half-written
// settings file. Returns false when the file could not be written (a read-only file among
// other reasons); an existing file that cannot be read is never overwritten. Nothing is
// written when the file would not change. A value with blanks at either end, or
// enclosed in a pair of quotes, is stored in double quotes so that it reads back unchanged.
bool WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value);

// One key to set by WriteIniStrings.
struct IniEntry {
    std::string_view section;
    std::string_view key;
    std::string_view value;
};

// Sets several keys with one replacement of the file, so that a group of keys that belong
// together (a dialog's settings) is stored completely or not at all. A section or key name
// that could not be read back as written (empty, or holding a line break, "=" in a key, "]"
// in a section) and a value holding a line break make the whole call fail.
bool WriteIniStrings(const std::string& path, std::span<const IniEntry> entries);

// WriteIniStrings for the entries whose values differ from those of the entry at the same
// place in before (the same keys, as the caller read or stored them last): a group of keys
// is stored without undoing what another window stored meanwhile under the keys this one
// left alone. Nothing changed: nothing written, true. entries and before must be equally long.
bool WriteChangedIniStrings(const std::string& path, std::span<const IniEntry> entries,
                            std::span<const IniEntry> before);

// A read-modify-write of the settings file under the writers' lock (see UpdateIniFile):
// reads see the file as it was when the lock was taken, writes are collected and stored
// together when the update ends.
class IniTransaction {
public:
    virtual ~IniTransaction() = default;
    // As ReadIniString.
    virtual std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue,
                             std::size_t bufferSize) const = 0;
    // As WriteIniString; a key that could not be stored makes the whole update fail.
    virtual void Write(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// Runs update with the writers' lock held, so that no other writer, in this process or
// another, changes the file between what update reads and what it writes: a value derived
// from another (the next free key after a count) is never computed twice. The writes are
// stored with one replacement of the file; none at all leaves the file untouched. Returns
// false when the file could not be read or written (see WriteIniStrings).
bool UpdateIniFile(const std::string& path, const std::function<void(IniTransaction&)>& update);

// Removes key from section (nothing happens when it does not exist). Returns false when
// the file could not be rewritten.
bool DeleteIniKey(const std::string& path, std::string_view section, std::string_view key);

}  // namespace kl
