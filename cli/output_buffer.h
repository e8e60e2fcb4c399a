#pragma once
// A write buffer in front of a C stream: output is collected in memory and handed to the
// stream in large pieces, which keeps multi-megabyte results fast to print.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace kl::cli {

class OutputBuffer {
public:
    explicit OutputBuffer(std::FILE* stream);
    ~OutputBuffer();
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    void Put(std::string_view text)
    {
        buffer_.append(text);
        if (buffer_.size() >= kFlushSize)
            Flush();
    }
    void Put(char c)
    {
        buffer_.push_back(c);
        if (buffer_.size() >= kFlushSize)
            Flush();
    }
    void PutInt(std::int64_t value);

    // Writes out what is buffered; false once any write to the stream has failed.
    bool Flush();

private:
    static constexpr std::size_t kFlushSize = 1 << 20;
    std::FILE* stream_;
    std::string buffer_;
    bool failed_ = false;
};

}  // namespace kl::cli
