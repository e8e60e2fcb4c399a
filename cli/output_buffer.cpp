#include "cli/output_buffer.h"

#include <charconv>

namespace kl::cli {

OutputBuffer::OutputBuffer(std::FILE* stream) : stream_(stream), data_(new char[kCapacity])
{
}

OutputBuffer::~OutputBuffer()
{
    Flush();
}

void OutputBuffer::PutInt(std::int64_t value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    Put(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void OutputBuffer::WriteDirect(std::string_view text)
{
    if (!failed_ && std::fwrite(text.data(), 1, text.size(), stream_) != text.size())
        failed_ = true;
}

bool OutputBuffer::Flush()
{
    if (used_ > 0 && !failed_) {
        if (std::fwrite(data_.get(), 1, used_, stream_) != used_)
            failed_ = true;
    }
    used_ = 0;
    if (!failed_ && std::fflush(stream_) != 0)
        failed_ = true;
    return !failed_;
}

}  // namespace kl::cli
