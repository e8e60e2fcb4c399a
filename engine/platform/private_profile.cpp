#include "engine/platform/private_profile.h"

#include <cerrno>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/platform/atomic_file.h"
#include "engine/platform/cp932.h"

#if defined(_WIN32)
#include <windows.h>

#include "engine/platform/utf8_path.h"
#include "engine/platform/windows_support.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kl {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view text)
{
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool IsQuote(char c)
{
    return c == '"' || c == '\'';
}

bool IsQuoted(std::string_view value)
{
    return value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back();
}

std::string AsciiLower(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

// The name of a section header line "[name]", or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = TrimBlanks(line);
    if (!line.starts_with('[')) {
        return std::nullopt;
    }
    std::size_t close = line.find(']');
    if (close == std::string_view::npos) {
        return std::nullopt;
    }
    return TrimBlanks(line.substr(1, close - 1));
}

bool IsComment(std::string_view line)
{
    return TrimBlanks(line).starts_with(';');
}

// The key of a "key=value" line that is not a section header, or nothing for a line that
// holds no key.
std::optional<std::string_view> KeyName(std::string_view line)
{
    if (IsComment(line)) {
        return std::nullopt;
    }
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    return TrimBlanks(line.substr(0, equals));
}

// "=", the blanks and the quotes are single bytes in code page 932 as in UTF-8 (no trail
// byte takes their values), so this works on a line in either encoding.
std::string_view RawValue(std::string_view line)
{
    std::string_view value = TrimBlanks(line.substr(line.find('=') + 1));
    if (IsQuoted(value)) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

// Lookup form of a section or key name given in code page 932.
std::string NameKey(std::string_view name)
{
    return AsciiLower(Cp932ToUtf8(TrimBlanks(name)));
}

std::string EntryKey(std::string_view lowerSection, std::string_view lowerKey)
{
    std::string key(lowerSection);
    key += '\0';
    key += lowerKey;
    return key;
}

struct Section {
    std::size_t header = 0;  // its "[name]" line
    std::size_t end = 0;     // one past the last line of its body
};

// The settings file as read, split into lines, with an index of its sections and keys.
// Every line keeps its bytes, its line end included, so that a rewrite changes only the
// lines of the keys it writes. Each line is UTF-8 when it is valid UTF-8 and code page 932
// otherwise (a line carried over from Windows).
class IniFile {
public:
    explicit IniFile(std::string bytes) : bytes_(std::move(bytes))
    {
        if (std::string_view(bytes_).starts_with(kUtf8Bom)) {
            start_ = kUtf8Bom.size();
        }
        Split();
        Index();
    }

    const std::string& Bytes() const { return bytes_; }
    std::size_t LineCount() const { return lines_.size(); }
    std::string_view Prefix() const { return std::string_view(bytes_).substr(0, start_); }
    const std::string& Newline() const { return newline_; }

    // The line with its line end.
    std::string_view Raw(std::size_t i) const
    {
        return std::string_view(bytes_).substr(lines_[i].offset, lines_[i].length);
    }

    // The line without its line end (LF, or CR LF, or a CR ending the last line).
    std::string_view Content(std::size_t i) const
    {
        std::string_view line = Raw(i);
        if (line.ends_with('\n')) {
            line.remove_suffix(1);
        }
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        return line;
    }

    std::string_view LineEnd(std::size_t i) const { return Raw(i).substr(Content(i).size()); }

    // The value of a key line in code page 932.
    std::string Value(std::size_t i) const
    {
        const std::string_view value = RawValue(Content(i));
        return lines_[i].utf8 ? Utf8ToCp932(value) : std::string(value);
    }

    std::optional<std::size_t> FindKey(const std::string& entryKey) const
    {
        const auto found = keys_.find(entryKey);
        return found == keys_.end() ? std::nullopt : std::optional<std::size_t>(found->second);
    }

    const Section* FindSection(const std::string& lowerName) const
    {
        const auto found = sections_.find(lowerName);
        return found == sections_.end() ? nullptr : &found->second;
    }

    bool Blank(std::size_t i) const { return TrimBlanks(Content(i)).empty(); }

private:
    struct Line {
        std::size_t offset;
        std::size_t length;
        bool utf8;
    };

    void Split()
    {
        const std::string_view text(bytes_);
        const std::size_t firstLf = text.find('\n', start_);
        if (firstLf != std::string_view::npos && firstLf > start_ && text[firstLf - 1] == '\r') {
            newline_ = "\r\n";
        }
        std::size_t pos = start_;
        while (pos < text.size()) {
            const std::size_t lf = text.find('\n', pos);
            const std::size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
            lines_.push_back({pos, next - pos, true});
            pos = next;
        }
    }

    // Only the first section of a name counts, and in it only the first line of a key.
    void Index()
    {
        keys_.reserve(lines_.size());
        Section* current = nullptr;
        std::string currentName;
        std::string decoded;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            std::string_view text = Content(i);
            lines_[i].utf8 = IsValidUtf8(text);
            if (!lines_[i].utf8) {
                decoded = Cp932ToUtf8(text);
                text = decoded;
            }
            if (const std::optional<std::string_view> name = SectionName(text)) {
                currentName = AsciiLower(*name);
                const auto [it, inserted] = sections_.try_emplace(currentName, Section{i, i + 1});
                current = inserted ? &it->second : nullptr;
                continue;
            }
            if (current == nullptr) {
                continue;
            }
            current->end = i + 1;
            if (const std::optional<std::string_view> key = KeyName(text)) {
                keys_.try_emplace(EntryKey(currentName, AsciiLower(*key)), i);
            }
        }
    }

    std::string bytes_;
    std::size_t start_ = 0;  // past a byte order mark
    std::vector<Line> lines_;
    std::string newline_ = "\n";  // the line end the file uses, given to new lines
    std::unordered_map<std::string, Section> sections_;
    std::unordered_map<std::string, std::size_t> keys_;
};

// Changes to an IniFile, kept apart from it until the new bytes are made: lines replaced,
// removed, inserted before an existing line, and new sections at the end.
class IniEdit {
public:
    explicit IniEdit(const IniFile& file) : file_(file) {}

    // Sets the line of a key; section and key are UTF-8 and trimmed, line is "key=value".
    void Set(const std::string& section, const std::string& key, std::string line)
    {
        const std::string lowerSection = AsciiLower(section);
        const std::string entryKey = EntryKey(lowerSection, AsciiLower(key));
        if (const auto added = added_.find(entryKey); added != added_.end()) {
            (*added->second.lines)[added->second.index] = std::move(line);
            return;
        }
        if (const std::optional<std::size_t> existing = file_.FindKey(entryKey)) {
            replaced_[*existing] = std::move(line);
            return;
        }
        std::vector<std::string>* lines = nullptr;
        if (const Section* place = file_.FindSection(lowerSection)) {
            lines = &insertedBefore_[InsertionPoint(*place)];
        } else {
            const auto [it, inserted] = newSectionIndex_.try_emplace(lowerSection, newSections_.size());
            if (inserted) {
                newSections_.push_back({"[" + section + "]", {}});
            }
            lines = &newSections_[it->second].lines;
        }
        lines->push_back(std::move(line));
        added_[entryKey] = {lines, lines->size() - 1};
    }

    void Remove(const std::string& section, const std::string& key)
    {
        if (const std::optional<std::size_t> existing =
                file_.FindKey(EntryKey(AsciiLower(section), AsciiLower(key)))) {
            removed_.insert(*existing);
        }
    }

    bool Changed() const
    {
        return !replaced_.empty() || !removed_.empty() || !insertedBefore_.empty() || !newSections_.empty();
    }

    std::string Bytes() const
    {
        std::string out(file_.Prefix());
        const std::size_t prefix = out.size();
        // Only the last line of the file may lack a line end; it gets one before a line
        // is added after it.
        auto endLine = [&] {
            if (out.size() > prefix && out.back() != '\n') {
                out += out.back() == '\r' ? std::string("\n") : file_.Newline();
            }
        };
        auto addLines = [&](const std::vector<std::string>& lines) {
            for (const std::string& line : lines) {
                endLine();
                out += line;
                out += file_.Newline();
            }
        };
        for (std::size_t i = 0; i < file_.LineCount(); ++i) {
            if (const auto inserted = insertedBefore_.find(i); inserted != insertedBefore_.end()) {
                addLines(inserted->second);
            }
            if (removed_.contains(i)) {
                continue;
            }
            if (const auto line = replaced_.find(i); line != replaced_.end()) {
                const std::string_view lineEnd = file_.LineEnd(i);
                out += line->second;
                out += lineEnd.ends_with('\n') ? lineEnd : std::string_view(file_.Newline());
            } else {
                out += file_.Raw(i);
            }
        }
        if (const auto atEnd = insertedBefore_.find(file_.LineCount()); atEnd != insertedBefore_.end()) {
            addLines(atEnd->second);
        }
        for (const NewSection& section : newSections_) {
            addLines({section.header});
            addLines(section.lines);
        }
        return out;
    }

private:
    // A new key goes after the last non-blank line of its section, before the blank lines
    // that separate it from the next section.
    std::size_t InsertionPoint(const Section& section) const
    {
        std::size_t at = section.end;
        while (at > section.header + 1 && file_.Blank(at - 1)) {
            --at;
        }
        return at;
    }

    struct NewSection {
        std::string header;
        std::vector<std::string> lines;
    };
    struct AddedLine {
        std::vector<std::string>* lines;
        std::size_t index;
    };

    const IniFile& file_;
    std::unordered_map<std::size_t, std::string> replaced_;
    std::unordered_set<std::size_t> removed_;
    std::map<std::size_t, std::vector<std::string>> insertedBefore_;
    std::deque<NewSection> newSections_;  // a deque keeps the addresses AddedLine holds
    std::unordered_map<std::string, std::size_t> newSectionIndex_;
    std::unordered_map<std::string, AddedLine> added_;
};

enum class LoadStatus { Loaded, Missing, Unreadable };

struct Loaded {
    LoadStatus status = LoadStatus::Missing;
    std::shared_ptr<const IniFile> file;
};

// What tells a changed file from the one read: a replacement gives a new file, an edit in
// place a new size or time.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modified = 0;  // nanoseconds
    long long changed = 0;   // nanoseconds

    bool operator==(const FileIdentity&) const = default;
};

// Files read lately, by path, each with the identity of the file it was read from.
struct CacheEntry {
    FileIdentity identity;
    std::shared_ptr<const IniFile> file;
};
constexpr std::size_t kCachedFiles = 16;
std::mutex cacheMutex;
std::unordered_map<std::string, CacheEntry> cache;

std::shared_ptr<const IniFile> Cached(const std::string& path, const FileIdentity& identity)
{
    std::lock_guard<std::mutex> lock(cacheMutex);
    const auto found = cache.find(path);
    return found != cache.end() && found->second.identity == identity ? found->second.file : nullptr;
}

void Remember(const std::string& path, const FileIdentity& identity, std::shared_ptr<const IniFile> file)
{
    std::lock_guard<std::mutex> lock(cacheMutex);
    if (cache.size() >= kCachedFiles && !cache.contains(path)) {
        cache.clear();
    }
    cache[path] = {identity, std::move(file)};
}

void Forget(const std::string& path)
{
    std::lock_guard<std::mutex> lock(cacheMutex);
    cache.erase(path);
}

#if defined(_WIN32)

LoadStatus StatusOfMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? LoadStatus::Missing
                                                                          : LoadStatus::Unreadable;
}

HANDLE OpenSettings(const std::string& path, DWORD access)
{
    return ::CreateFileW(WideFromUtf8(path).c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

std::optional<FileIdentity> IdentityOf(const WindowsHandle& file, LoadStatus& status)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(file.get(), &info) == 0 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        status = LoadStatus::Unreadable;
        return std::nullopt;
    }
    const auto join = [](DWORD high, DWORD low) { return (static_cast<unsigned long long>(high) << 32) | low; };
    FileIdentity identity;
    identity.device = info.dwVolumeSerialNumber;
    identity.inode = join(info.nFileIndexHigh, info.nFileIndexLow);
    identity.size = static_cast<long long>(join(info.nFileSizeHigh, info.nFileSizeLow));
    const FILETIME& written = info.ftLastWriteTime;
    identity.modified = static_cast<long long>(join(written.dwHighDateTime, written.dwLowDateTime));
    return identity;
}

std::optional<FileIdentity> IdentityOf(const std::string& path, LoadStatus& status)
{
    const WindowsHandle file(OpenSettings(path, FILE_READ_ATTRIBUTES));
    if (!file.valid()) {
        status = StatusOfMissing(::GetLastError());
        return std::nullopt;
    }
    return IdentityOf(file, status);
}

// The file's bytes, and the identity of the very file they were read from.
std::optional<std::string> ReadBytes(const std::string& path, FileIdentity& identity, LoadStatus& status)
{
    const WindowsHandle file(OpenSettings(path, GENERIC_READ));
    if (!file.valid()) {
        status = StatusOfMissing(::GetLastError());
        return std::nullopt;
    }
    const std::optional<FileIdentity> opened = IdentityOf(file, status);
    if (!opened) {
        return std::nullopt;
    }
    identity = *opened;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(identity.size));
    char chunk[65536];
    for (;;) {
        DWORD got = 0;
        if (::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) == 0) {
            status = LoadStatus::Unreadable;
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(chunk, got);
    }
}

// Writers of the settings file, in this process or another one, exclude each other through
// a lock on a file beside it (the settings file itself is replaced by every write). The
// lock goes with the handle.
class WriterLock {
public:
    explicit WriterLock(const std::string& path)
        : file_(::CreateFileW(WideFromUtf8(SaveTarget(path) + ".lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                              kShareAll, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        if (file_.valid()) {
            OVERLAPPED whole{};
            ::LockFileEx(file_.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole);
        }
    }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

private:
    WindowsHandle file_;
};

#else

FileIdentity IdentityOf(const struct stat& info)
{
    FileIdentity identity;
    identity.device = static_cast<unsigned long long>(info.st_dev);
    identity.inode = static_cast<unsigned long long>(info.st_ino);
    identity.size = static_cast<long long>(info.st_size);
    identity.modified = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    identity.changed = static_cast<long long>(info.st_ctim.tv_sec) * 1000000000LL + info.st_ctim.tv_nsec;
    return identity;
}

LoadStatus StatusOfMissing(int error)
{
    return error == ENOENT || error == ENOTDIR ? LoadStatus::Missing : LoadStatus::Unreadable;
}

std::optional<FileIdentity> IdentityOf(const std::string& path, LoadStatus& status)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        status = StatusOfMissing(errno);
        return std::nullopt;
    }
    if (S_ISDIR(info.st_mode)) {
        status = LoadStatus::Unreadable;
        return std::nullopt;
    }
    return IdentityOf(info);
}

// The file's bytes, and the identity of the very file they were read from.
std::optional<std::string> ReadBytes(const std::string& path, FileIdentity& identity, LoadStatus& status)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        status = StatusOfMissing(errno);
        return std::nullopt;
    }
    struct stat info {};
    std::string bytes;
    bool ok = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode);
    if (ok) {
        identity = IdentityOf(info);
        bytes.reserve(static_cast<std::size_t>(info.st_size));
        char chunk[65536];
        for (;;) {
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                ok = got == 0;
                break;
            }
            bytes.append(chunk, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    if (!ok) {
        status = LoadStatus::Unreadable;
        return std::nullopt;
    }
    return bytes;
}

// Writers of the settings file, in this process or another one, exclude each other through
// a lock on a file beside it (the settings file itself is replaced by every write, so it
// cannot carry the lock). Without the lock file (a folder that cannot be written) the
// write goes ahead and fails on its own.
class WriterLock {
public:
    explicit WriterLock(const std::string& path)
    {
        fd_ = ::open((SaveTarget(path) + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~WriterLock()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    WriterLock(const WriterLock&) = delete;
    WriterLock& operator=(const WriterLock&) = delete;

private:
    int fd_ = -1;
};

#endif

Loaded ReadAndParse(const std::string& path)
{
    Loaded loaded;
    FileIdentity identity;
    std::optional<std::string> bytes = ReadBytes(path, identity, loaded.status);
    if (!bytes) {
        return loaded;
    }
    loaded.status = LoadStatus::Loaded;
    loaded.file = std::make_shared<const IniFile>(std::move(*bytes));
    Remember(path, identity, loaded.file);
    return loaded;
}

// The file for reading: parsed once and taken from the cache while it is unchanged.
Loaded LoadForReading(const std::string& path)
{
    Loaded loaded;
    const std::optional<FileIdentity> identity = IdentityOf(path, loaded.status);
    if (!identity) {
        return loaded;
    }
    if (std::shared_ptr<const IniFile> file = Cached(path, *identity)) {
        return {LoadStatus::Loaded, std::move(file)};
    }
    return ReadAndParse(path);
}

std::string CutToBuffer(std::string text, std::size_t bufferSize)
{
    if (bufferSize == 0) {
        return {};
    }
    text.resize(Cp932PrefixLength(text, bufferSize - 1));
    return text;
}

// The stored form of a value: values that trimming or quote removal would change on
// reading are enclosed in double quotes, which reading removes again.
std::string StoredValue(std::string_view value)
{
    bool needsQuotes = !value.empty() &&
                       (TrimBlanks(value).size() != value.size() || IsQuoted(value));
    return needsQuotes ? "\"" + std::string(value) + "\"" : std::string(value);
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

bool CanStore(const IniEntry& entry)
{
    std::string_view section = TrimBlanks(entry.section);
    std::string_view key = TrimBlanks(entry.key);
    return !section.empty() && section.find(']') == std::string_view::npos &&
           !HasLineBreak(entry.section) && !key.empty() &&
           key.find('=') == std::string_view::npos && !key.starts_with(';') &&
           !key.starts_with('[') && !HasLineBreak(entry.key) && !HasLineBreak(entry.value);
}

// The value of a key of a parsed file (none: the file is missing), cut to the buffer.
std::string ReadValue(const IniFile* file, std::string_view section, std::string_view key,
                      std::string_view defaultValue, std::size_t bufferSize)
{
    if (file != nullptr) {
        if (const std::optional<std::size_t> line = file->FindKey(EntryKey(NameKey(section), NameKey(key)))) {
            return CutToBuffer(file->Value(*line), bufferSize);
        }
    }
    return CutToBuffer(std::string(defaultValue), bufferSize);
}

void SetEntry(IniEdit& changes, const IniEntry& entry)
{
    std::string key = Cp932ToUtf8(TrimBlanks(entry.key));
    std::string line = key + "=" + StoredValue(Cp932ToUtf8(entry.value));
    changes.Set(Cp932ToUtf8(TrimBlanks(entry.section)), key, std::move(line));
}

// Reads the file afresh under the writers' lock, applies edit and replaces the file when
// anything changed. A missing file counts as empty when createMissing, else as nothing to do.
// edit returns false to give up without writing anything.
template <typename Edit>
bool Rewrite(const std::string& path, bool createMissing, Edit edit)
{
    WriterLock lock(path);
    const Loaded loaded = ReadAndParse(path);
    if (loaded.status == LoadStatus::Unreadable) {
        return false;  // never replace a file whose content could not be kept
    }
    if (loaded.status == LoadStatus::Missing && !createMissing) {
        return true;
    }
    const IniFile empty{std::string()};
    const IniFile& current = loaded.file ? *loaded.file : empty;
    IniEdit changes(current);
    if (!edit(current, changes)) {
        return false;
    }
    if (!changes.Changed()) {
        return true;
    }
    const std::string bytes = changes.Bytes();
    if (loaded.file && bytes == loaded.file->Bytes()) {
        return true;
    }
    const bool written = static_cast<bool>(ReplaceFileAtomically(path, bytes));
    Forget(path);
    return written;
}

}  // namespace

std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize)
{
    const Loaded loaded = path.empty() ? Loaded{} : LoadForReading(path);
    return ReadValue(loaded.file.get(), section, key, defaultValue, bufferSize);
}

bool WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value)
{
    IniEntry entry{section, key, value};
    return WriteIniStrings(path, std::span<const IniEntry>(&entry, 1));
}

bool WriteIniStrings(const std::string& path, std::span<const IniEntry> entries)
{
    if (path.empty()) {
        return false;
    }
    for (const IniEntry& entry : entries) {
        if (!CanStore(entry)) {
            return false;
        }
    }
    return Rewrite(path, true, [&](const IniFile&, IniEdit& changes) {
        for (const IniEntry& entry : entries) {
            SetEntry(changes, entry);
        }
        return true;
    });
}

bool WriteChangedIniStrings(const std::string& path, std::span<const IniEntry> entries,
                            std::span<const IniEntry> before)
{
    if (path.empty() || entries.size() != before.size()) {
        return false;
    }
    std::vector<IniEntry> changed;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].value != before[i].value) {
            changed.push_back(entries[i]);
        }
    }
    return changed.empty() || WriteIniStrings(path, changed);
}

namespace {

class LockedTransaction final : public IniTransaction {
public:
    LockedTransaction(const IniFile& file, IniEdit& changes) : file_(file), changes_(changes) {}

    std::string Read(std::string_view section, std::string_view key, std::string_view defaultValue,
                     std::size_t bufferSize) const override
    {
        return ReadValue(&file_, section, key, defaultValue, bufferSize);
    }

    void Write(std::string_view section, std::string_view key, std::string_view value) override
    {
        const IniEntry entry{section, key, value};
        if (!CanStore(entry)) {
            valid_ = false;
            return;
        }
        SetEntry(changes_, entry);
    }

    bool valid() const { return valid_; }

private:
    const IniFile& file_;
    IniEdit& changes_;
    bool valid_ = true;
};

}  // namespace

bool UpdateIniFile(const std::string& path, const std::function<void(IniTransaction&)>& update)
{
    if (path.empty()) {
        return false;
    }
    return Rewrite(path, true, [&](const IniFile& current, IniEdit& changes) {
        LockedTransaction transaction(current, changes);
        update(transaction);
        return transaction.valid();
    });
}

bool DeleteIniKey(const std::string& path, std::string_view section, std::string_view key)
{
    if (path.empty()) {
        return false;
    }
    LoadStatus status = LoadStatus::Loaded;
    if (!IdentityOf(path, status) && status == LoadStatus::Missing) {
        return true;  // nothing to delete, and no lock file to leave behind
    }
    return Rewrite(path, false, [&](const IniFile&, IniEdit& changes) {
        changes.Remove(Cp932ToUtf8(TrimBlanks(section)), Cp932ToUtf8(TrimBlanks(key)));
        return true;
    });
}

}  // namespace kl
