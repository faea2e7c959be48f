// Reads a fuzzer's bytes as little-endian fields from the front, so that
// seed files can be written by hand (tests/fuzz/make_seeds.py); fields past
// the end read 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <string>
#include <string_view>

namespace zdfuzz {

class Input {
  public:
    Input(const uint8_t* data, size_t size) : p_(data), n_(size) {}

    template <typename T> T take() {
        uint64_t v = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            if (pos_ < n_)
                v |= uint64_t(p_[pos_++]) << (8 * i);
        return T(v);
    }

    // The next `count` bytes (fewer at the end).
    std::string_view bytes(size_t count) {
        size_t k = count < n_ - pos_ ? count : n_ - pos_;
        std::string_view s(reinterpret_cast<const char*>(p_ + pos_), k);
        pos_ += k;
        return s;
    }

    std::string_view restBytes() { return bytes(n_ - pos_); }

    // The remaining bytes as UTF-16 units (little-endian pairs).
    std::u16string rest16() {
        std::u16string s;
        while (n_ - pos_ >= 2) {
            s.push_back(char16_t(p_[pos_] | p_[pos_ + 1] << 8));
            pos_ += 2;
        }
        pos_ = n_;
        return s;
    }

  private:
    const uint8_t* p_;
    size_t n_;
    size_t pos_ = 0;
};

} // namespace zdfuzz

// An invariant that does not hold is a finding: report it and abort so that
// libFuzzer keeps the input.
#define ZD_FUZZ_CHECK(cond)                                                                        \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "ERROR: invariant failed: %s (%s:%d)\n", #cond, __FILE__,         \
                         __LINE__);                                                                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)
