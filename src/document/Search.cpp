#include "document/Search.h"

#include <algorithm>
#include <functional>

namespace Search {
namespace {

constexpr unsigned char fold(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }

struct FoldedEqual {
    bool operator()(char a, char b) const { return fold(static_cast<unsigned char>(a)) == fold(static_cast<unsigned char>(b)); }
};
struct FoldedHash {
    std::size_t operator()(char c) const { return fold(static_cast<unsigned char>(c)); }
};

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
        hit = std::search(first, last,
                          std::boyer_moore_horspool_searcher(needle.begin(), needle.end(), FoldedHash(), FoldedEqual()));
    }
    if (hit == last)
        return std::nullopt;
    return std::size_t(hit - haystack.data());
}

} // namespace Search
