#pragma once
// Japanese descriptions of file errors for the messages the program shows.
#include <string>
#include <system_error>

namespace kl {

// The Japanese text (UTF-8) for a system error number (errno), for example
// "ファイルが見つかりません". A number without a text of its own gives a general text that
// names the number.
std::string FileErrorText(int errorNumber);

// The same for an error code of the file system library; a code that has no errno
// equivalent gives the general text with its own number.
std::string FileErrorText(const std::error_code& error);

}  // namespace kl
