#include "document/LineEnds.h"

#include "document/TextScan.h"

#include <cstring>

namespace LineEnds {

Analysis analyse(const char *bytes, qsizetype length)
{
    const std::size_t n = std::size_t(length);
    const std::size_t lfs = TextScan::countByte(bytes, n, '\n');
    const std::size_t crs = TextScan::countByte(bytes, n, '\r');
    if (crs == 0)
        return {lfs ? QByteArrayLiteral("\n") : kCrLf, true};
    if (lfs == 0)
        return {QByteArrayLiteral("\r"), true};
    if (lfs != crs)
        return {kCrLf, false};
    // As many CRs as LFs: uniform when each CR has its LF right behind it.
    const char *p = bytes;
    const char *end = bytes + n;
    while (const void *hit = std::memchr(p, '\r', std::size_t(end - p))) {
        const char *cr = static_cast<const char *>(hit);
        if (cr + 1 >= end || cr[1] != '\n')
            return {kCrLf, false};
        p = cr + 2;
    }
    return {kCrLf, true};
}

bool hasLineOfAtLeast(const char *bytes, qsizetype length, char eol, qsizetype limit)
{
    if (limit <= 0)
        return true;
    if (length < limit)
        return false;
    // A line of `limit` bytes covers a whole block of `limit / 2` bytes that starts at a
    // multiple of the block length: only such a block without a line end needs a closer look.
    const qsizetype block = qMax<qsizetype>(1, limit / 2);
    for (qsizetype at = 0; at < length; at += block) {
        const qsizetype size = qMin(block, length - at);
        if (size == block && std::memchr(bytes + at, eol, std::size_t(size)))
            continue;
        qsizetype start = at;
        while (start > 0 && bytes[start - 1] != eol)
            --start;
        const void *next = std::memchr(bytes + at, eol, std::size_t(length - at));
        const qsizetype end = next ? static_cast<const char *>(next) - bytes : length;
        if (end - start >= limit)
            return true;
        if (size < block)
            return false;
    }
    return false;
}

QByteArray detect(const char *bytes, qsizetype length)
{
    return analyse(bytes, length).eol;
}

} // namespace LineEnds
