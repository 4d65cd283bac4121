#include "document/LineEnds.h"

#include "document/TextScan.h"

#include <cstring>

namespace LineEnds {

QByteArray detect(const char *bytes, qsizetype length)
{
    const std::size_t n = std::size_t(length);
    const std::size_t lfs = TextScan::countByte(bytes, n, '\n');
    const std::size_t crs = TextScan::countByte(bytes, n, '\r');
    if (lfs == 0 && crs == 0)
        return kCrLf;
    if (crs == 0)
        return QByteArrayLiteral("\n");
    if (lfs == 0)
        return QByteArrayLiteral("\r");
    // Both kinds of byte: only CR LF pairs throughout make a CR LF file; anything else is
    // mixed, and mixed files are written back with CR LF too.
    return kCrLf;
}

} // namespace LineEnds
