#include "document/Search.h"

#include <algorithm>
#include <array>
#include <functional>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace Search {
namespace {

constexpr unsigned char fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }

// Horspool's search with ASCII letters folded: a table of 256 skips, so each step costs one
// look-up (the standard searcher keeps a hash map when given its own equality).
const char *findFolded(const char *first, const char *last, std::string_view needle)
{
    const std::size_t n = needle.size();
    std::array<unsigned char, 256> folded{};
    for (int c = 0; c < 256; ++c)
        folded[std::size_t(c)] = fold(static_cast<unsigned char>(c));
    std::array<std::size_t, 256> skip;
    skip.fill(n);
    for (std::size_t i = 0; i + 1 < n; ++i)
        skip[folded[static_cast<unsigned char>(needle[i])]] = n - 1 - i;
    const auto same = [&](char a, char b) {
        return folded[static_cast<unsigned char>(a)] == folded[static_cast<unsigned char>(b)];
    };
    const char *at = first;
#ifdef __SSE2__
    // Sixteen places at a time: only where both the needle's first and last letter stand (in
    // either case) is the whole needle compared (after Muła's "SIMD-friendly" substring search).
    if (n > 1) {
        const auto foldBlock = [](__m128i b) {
            const __m128i lower = _mm_and_si128(_mm_cmpgt_epi8(b, _mm_set1_epi8('a' - 1)),
                                                _mm_cmplt_epi8(b, _mm_set1_epi8('z' + 1)));
            return _mm_sub_epi8(b, _mm_and_si128(lower, _mm_set1_epi8(0x20)));
        };
        const __m128i head = _mm_set1_epi8(char(fold(static_cast<unsigned char>(needle.front()))));
        const __m128i tail = _mm_set1_epi8(char(fold(static_cast<unsigned char>(needle.back()))));
        for (; last - at >= std::ptrdiff_t(n + 15); at += 16) {
            const __m128i a = foldBlock(_mm_loadu_si128(reinterpret_cast<const __m128i *>(at)));
            const __m128i b = foldBlock(_mm_loadu_si128(reinterpret_cast<const __m128i *>(at + n - 1)));
            unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, head), _mm_cmpeq_epi8(b, tail))));
            while (mask) {
                const int bit = __builtin_ctz(mask);
                const char *candidate = at + bit;
                std::size_t i = 1;
                while (i + 1 < n && same(candidate[i], needle[i]))
                    ++i;
                if (i + 1 >= n)
                    return candidate;
                mask &= mask - 1;
            }
        }
    }
#endif
    while (last - at >= std::ptrdiff_t(n)) {
        std::size_t i = n;
        while (i > 0 && same(at[i - 1], needle[i - 1]))
            --i;
        if (i == 0)
            return at;
        at += skip[folded[static_cast<unsigned char>(at[n - 1])]];
    }
    return last;
}

} // namespace

std::optional<std::size_t> find(std::string_view haystack, std::string_view needle, std::size_t from, bool matchCase)
{
    if (needle.empty() || from > haystack.size() || needle.size() > haystack.size() - from)
        return std::nullopt;
    const char *first = haystack.data() + from;
    const char *last = haystack.data() + haystack.size();
    const char *hit;
    if (matchCase) {
        hit = std::search(first, last, std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
    } else {
        hit = findFolded(first, last, needle);
    }
    if (hit == last)
        return std::nullopt;
    return std::size_t(hit - haystack.data());
}

} // namespace Search
