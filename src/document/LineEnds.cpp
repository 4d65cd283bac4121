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

QByteArray detect(const char *bytes, qsizetype length)
{
    return analyse(bytes, length).eol;
}

} // namespace LineEnds
