// Japanese file error texts: the error codes of the file system library reach the same
// texts as errno values, and an unknown number is still named.
#include <gtest/gtest.h>

#include <cerrno>
#include <future>
#include <string>
#include <system_error>
#include <vector>

#include "engine/platform/file_error_text.h"

namespace {

TEST(FileErrorText, ErrorCodesOfEitherCategoryGiveTheErrnoText)
{
    EXPECT_EQ(kl::FileErrorText(std::error_code(ENOENT, std::system_category())), "ファイルが見つかりません");
    EXPECT_EQ(kl::FileErrorText(std::make_error_code(std::errc::permission_denied)), "アクセスが拒否されました");
    EXPECT_EQ(kl::FileErrorText(std::make_error_code(std::errc::no_space_on_device)),
              "ディスクの空き領域が不足しています");
}

// The errors that reading, writing and opening plausibly meet have texts of their own.
TEST(FileErrorText, CommonFileErrorsHaveTheirOwnText)
{
    const std::string general = kl::FileErrorText(98765);
    const std::string generalStart = general.substr(0, general.find("98765"));
    std::vector<int> numbers = {ENOENT, ENOTDIR, EACCES, EPERM, ENOSPC, EFBIG, EISDIR, EROFS, ENAMETOOLONG, EMFILE,
                                ENFILE, ENOMEM, ELOOP, EIO, ENXIO, ENODEV, EAGAIN, EPIPE, EBADF, EXDEV, ETIMEDOUT};
#if defined(EDQUOT) && defined(ESTALE)
    numbers.insert(numbers.end(), {EDQUOT, ESTALE});
#endif
    for (const int number : numbers) {
        SCOPED_TRACE(number);
        EXPECT_EQ(kl::FileErrorText(number).find(generalStart), std::string::npos);
    }
}

TEST(FileErrorText, AnUnknownNumberIsNamedInTheGeneralText)
{
    const std::string text = kl::FileErrorText(98765);
    EXPECT_NE(text.find("98765"), std::string::npos) << text;
    EXPECT_NE(text.find("エラー"), std::string::npos) << text;
}

TEST(FileErrorText, ACodeWithoutErrnoMeaningIsNotTakenForAnErrno)
{
    // Value 2 of another category must not read as ENOENT.
    const std::error_code code(2, std::future_category());
    ASSERT_EQ(code.value(), ENOENT);
    const std::string text = kl::FileErrorText(code);
    EXPECT_NE(text, kl::FileErrorText(ENOENT));
    EXPECT_NE(text.find('2'), std::string::npos) << text;
}

}  // namespace
