#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

// Word-at-a-time scans over large text buffers (eight bytes per step).
namespace TextScan {

inline std::uint64_t load(const char *p)
{
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    return x;
}

constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
constexpr std::uint64_t repeat(unsigned char c) { return 0x0101010101010101ULL * c; }

// One bit (the high bit) set in each byte of x that equals c.
inline std::uint64_t bytesEqual(std::uint64_t x, unsigned char c)
{
    const std::uint64_t y = x ^ repeat(c);
    return ~(((y & kLow7) + kLow7) | y | kLow7);
}

// Whether eight bytes are plain ASCII without CR or LF.
inline bool plainWord(std::uint64_t x)
{
    return ((x & kHigh) | bytesEqual(x, '\r') | bytesEqual(x, '\n')) == 0;
}

// Counts the words' marked bytes (high bit set in each marked byte) without a population
// count instruction: per-byte counters, added up every 255 words before they overflow.
template <typename Mark>
std::size_t countMarked(const char *p, std::size_t n, Mark mark)
{
    std::size_t total = 0, i = 0;
    while (n - i >= 8) {
        std::uint64_t lanes = 0;
        const std::size_t words = (n - i) / 8 < 255 ? (n - i) / 8 : 255;
        for (std::size_t w = 0; w < words; ++w, i += 8)
            lanes += mark(load(p + i)) >> 7;
        // Eight byte lanes of up to 255 each: add them pairwise into 16-bit lanes first, so
        // that the sum (up to 2040) cannot overflow.
        const std::uint64_t pairs = (lanes & 0x00FF00FF00FF00FFULL) + ((lanes >> 8) & 0x00FF00FF00FF00FFULL);
        total += std::size_t((pairs * 0x0001000100010001ULL) >> 48);
    }
    return total;
}

// The number of UTF-8 characters (bytes that are no continuation byte) in [p, p + n).
inline std::size_t countCharacters(const char *p, std::size_t n)
{
    std::size_t continuation = countMarked(p, n, [](std::uint64_t x) { return x & ~(x << 1) & kHigh; });
    for (std::size_t i = n - n % 8; i < n; ++i)
        continuation += (static_cast<unsigned char>(p[i]) & 0xC0) == 0x80;
    return n - continuation;
}

// How many bytes in [p, p + n) equal c.
inline std::size_t countByte(const char *p, std::size_t n, char c)
{
    const auto byte = static_cast<unsigned char>(c);
    std::size_t count = countMarked(p, n, [byte](std::uint64_t x) { return bytesEqual(x, byte); });
    for (std::size_t i = n - n % 8; i < n; ++i)
        count += p[i] == c;
    return count;
}

} // namespace TextScan
