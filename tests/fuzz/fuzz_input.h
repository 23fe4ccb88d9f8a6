// Cuts a fuzzer's bytes into a few texts and numbers, so one input drives an
// operation with several arguments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(reinterpret_cast<const char*>(data)), size_(size) {}

    // The bytes up to the next 0xFF separator (or the end); may hold zero bytes.
    std::string NextText() {
        size_t end = pos_;
        while (end < size_ && static_cast<unsigned char>(data_[end]) != 0xFF)
            ++end;
        std::string text(data_ + pos_, end - pos_);
        pos_ = end < size_ ? end + 1 : end;
        return text;
    }

    long NextNumber() {
        long value = 0;
        for (int i = 0; i < 2 && pos_ < size_; ++i)
            value = value * 256 + static_cast<unsigned char>(data_[pos_++]);
        return value - 32768;
    }

private:
    const char* data_;
    size_t size_;
    size_t pos_ = 0;
};

// The text as wide characters when every byte is ASCII other than zero, where CP932 and
// UTF-16 agree character by character; false otherwise.
inline bool AsciiToWide(const std::string& text, std::wstring& wide) {
    wide.clear();
    for (char c : text) {
        if (c <= 0)
            return false;
        wide += static_cast<wchar_t>(c);
    }
    return true;
}

// A broken property is a finding: the fuzzer keeps the input that broke it.
inline void Check(bool condition) {
    if (!condition)
        std::abort();
}
