#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// Finding text in the document's UTF-8 buffer.
namespace Search {

// The byte offset of the first occurrence of `needle` in `haystack` at or after `from`.
// Without `matchCase` only the ASCII letters a-z and A-Z fold together; every other
// character, Polish letters included, compares exactly. Nothing is copied. An empty needle
// is never found.
std::optional<std::size_t> find(std::string_view haystack, std::string_view needle, std::size_t from,
                                bool matchCase);

} // namespace Search
