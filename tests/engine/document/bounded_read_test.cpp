// Reading only what a regular file held when it was opened: other kinds of file are refused
// without waiting, a change during the read is noted, and messages name any path readably.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/document/document_ops.h"
#include "engine/document/file_reader.h"
#include "engine/platform/cp932.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

#if !defined(_WIN32)
// FIFOs, sockets and devices of a POSIX system.

// A socket file bound at path; the descriptor stays open while the object lives.
class BoundSocket {
public:
    explicit BoundSocket(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0))
    {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        bound_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    ~BoundSocket()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool bound() const { return bound_; }

private:
    int fd_;
    bool bound_ = false;
};

// Each of these would block the open, or be read until memory runs out, if it were read
// like a file: the reader refuses them at once.
TEST(BoundedRead, FilesThatAreNotRegularAreRefusedAtOnce)
{
    kltest::TempDir dir;
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string socketPath = dir.file("socket");
    const BoundSocket socket(socketPath);
    ASSERT_TRUE(socket.bound());

    struct Case {
        std::string path;
        std::string reason;
    };
    const Case cases[] = {
        {fifo, "通常のファイルではありません"},
        {socketPath, "通常のファイルではありません"},
        {"/dev/zero", "通常のファイルではありません"},
        {dir.path(), "フォルダーです"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const kl::FileReadResult result = kl::ReadWholeFile(c.path);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.reason, c.reason);
    }
    // /dev/null stands for an empty file (git difftool passes it for an added one).
    const kl::FileReadResult null = kl::ReadWholeFile("/dev/null");
    EXPECT_TRUE(null.ok) << null.reason;
    EXPECT_EQ(null.size, 0u);
}

#else

TEST(BoundedRead, NulStandsForAnEmptyFileAndAFolderIsRefused)
{
    for (const std::string null : {"NUL", "nul", "/dev/null"}) {
        const kl::FileReadResult read = kl::ReadWholeFile(null);
        EXPECT_TRUE(read.ok) << null << ": " << read.reason;
        EXPECT_EQ(read.size, 0u) << null;
    }
    kltest::TempDir dir;
    const kl::FileReadResult folder = kl::ReadWholeFile(dir.path());
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.reason, "フォルダーです");
}

#endif

// The rule behind the note, on a source holding "abcdef" that gives at most four bytes a
// read: as much as expected is read, and a shorter or a longer content is reported.
TEST(BoundedRead, ReadsTheExpectedSizeAndNoticesADifferentOne)
{
    struct Case {
        std::size_t expected;
        std::size_t size;
        bool sizeChanged;
    };
    const Case cases[] = {
        {6, 6, false},
        {4, 4, true},   // grew after it was opened: the rest is left
        {9, 6, true},   // shrank: what is there
        {0, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        std::string_view source = "abcdef";
        const auto readSome = [&source](char* buffer, std::size_t size) {
            const std::size_t got = std::min({size, source.size(), std::size_t{4}});
            source.copy(buffer, got);
            source.remove_prefix(got);
            return static_cast<long long>(got);
        };
        char buffer[16] = {};
        const kl::SizedRead read = kl::ReadExpectedBytes(readSome, buffer, c.expected);
        EXPECT_EQ(read.error, 0);
        EXPECT_EQ(read.size, c.size);
        EXPECT_EQ(read.sizeChanged, c.sizeChanged);
        EXPECT_EQ(std::string(buffer, read.size), std::string("abcdef").substr(0, c.size));
    }
}

#if !defined(_WIN32)
// A file of the system's information is a regular file of size 0 that has content: it
// stands for a file that grew after it was opened.
TEST(BoundedRead, AFileLongerThanItsSizeAtOpenIsReadToThatSizeAndNoted)
{
    const std::string path = "/proc/version";
    struct stat status{};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size != 0)
        GTEST_SKIP() << "no " << path << " of size 0";

    const kl::FileReadResult read = kl::ReadWholeFile(path);
    ASSERT_TRUE(read.ok) << read.reason;
    EXPECT_EQ(read.size, 0u);
    EXPECT_TRUE(read.changedWhileReading);

    kl::TextDocument doc;
    std::string error;
    std::string note = "stale";
    ASSERT_TRUE(kl::LoadIntoDocument(doc, path, false, error, kl::EncodingChoice::Auto, &note)) << error;
    EXPECT_EQ(note, "ファイル「/proc/version」は読み込み中に変更されました（再読み込みで今の内容を読み込めます）");

    kltest::TempDir dir;
    ASSERT_TRUE(kl::LoadIntoDocument(doc, dir.write("b.txt", "b\n"), false, error, kl::EncodingChoice::Auto, &note));
    EXPECT_EQ(note, "");
}

// File names that are no UTF-8 exist only where names are bytes.
TEST(BoundedRead, AnOpenMessageShowsBytesThatAreNoUtf8AsEscapes)
{
    kltest::TempDir dir;
    const std::string path = dir.file("\x83\x65\x83\x4C.txt");
    kl::TextDocument doc;
    std::string error;
    EXPECT_FALSE(kl::LoadIntoDocument(doc, path, false, error));
    EXPECT_TRUE(kl::IsValidUtf8(error)) << error;
    EXPECT_EQ(error, "ファイル「" + dir.path() + "/\\x83e\\x83L.txt」を開けません。\n(ファイルが見つかりません)");
}

#endif

}  // namespace
