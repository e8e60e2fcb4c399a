#include "cli/output_buffer.h"

#include <charconv>

namespace kl::cli {

OutputBuffer::OutputBuffer(std::FILE* stream) : stream_(stream)
{
    buffer_.reserve(kFlushSize + 4096);
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

bool OutputBuffer::Flush()
{
    if (!buffer_.empty() && !failed_) {
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size())
            failed_ = true;
    }
    buffer_.clear();
    if (!failed_ && std::fflush(stream_) != 0)
        failed_ = true;
    return !failed_;
}

}  // namespace kl::cli
