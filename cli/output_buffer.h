#pragma once
// A write buffer in front of a C stream: output is collected in memory and handed to the
// stream in large pieces, which keeps multi-megabyte results fast to print.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
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
        if (text.size() > kCapacity - used_) {
            Flush();
            if (text.size() > kCapacity) {
                WriteDirect(text);
                return;
            }
        }
        std::memcpy(data_.get() + used_, text.data(), text.size());
        used_ += text.size();
    }
    void Put(char c)
    {
        if (used_ == kCapacity)
            Flush();
        data_[used_++] = c;
    }
    void PutInt(std::int64_t value);

    // Writes out what is buffered; false once any write to the stream has failed.
    bool Flush();

private:
    void WriteDirect(std::string_view text);

    // A plain byte array rather than a growing string: most writes are a few bytes long,
    // and a bounds check plus memcpy is all they should cost.
    static constexpr std::size_t kCapacity = 1 << 20;
    std::FILE* stream_;
    std::unique_ptr<char[]> data_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

}  // namespace kl::cli
