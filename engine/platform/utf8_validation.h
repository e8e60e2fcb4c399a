#pragma once
// Telling whether bytes are well-formed UTF-8.
#include <cstddef>
#include <string_view>

namespace kl {

// Whether bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no character cut short at the end. Checks thirty-two or sixteen bytes at a
// time where the processor allows (AVX2, SSSE3), otherwise character by character; the
// answer is the same.
bool IsValidUtf8(std::string_view bytes);
// The same, character by character on every processor.
bool IsValidUtf8Bytewise(std::string_view bytes);

// The same check of a buffer that fills from its front, piece by piece as it is read:
// each piece is checked as it arrives, while it is still in the processor's cache.
class Utf8Checker {
public:
    // Fastest: as many bytes at a time as the processor allows (32 with AVX2, 16 with
    // SSSE3); Sixteen: at most sixteen.
    enum class Method { Fastest, Sixteen, Bytewise };
    explicit Utf8Checker(Method method = Method::Fastest);
    // The first arrived bytes of data are there; data is the same buffer at every call.
    void Arrived(const char* data, std::size_t arrived);
    // All size bytes are there: whether they are well-formed UTF-8.
    bool Finish(const char* data, std::size_t size);

private:
    std::size_t checked_ = 0;  // the bytes before it are well-formed; npos once one was not
    int width_ = 1;  // bytes checked at a time
};

}  // namespace kl
