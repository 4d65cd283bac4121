#include "document/LineEnds.h"

#include <cstring>

namespace LineEnds {

QByteArray detect(const char *bytes, qsizetype length)
{
    bool crlf = false, lf = false, cr = false;
    const char *p = bytes;
    const char *end = bytes + length;
    while (p < end) {
        const void *hit = std::memchr(p, '\n', size_t(end - p));
        const char *nl = hit ? static_cast<const char *>(hit) : end;
        // Lone CRs can only stand between two LFs (or before the first/after the last).
        if (!cr && std::memchr(p, '\r', size_t(nl - p))) {
            for (const char *q = p; q < nl; ++q)
                if (*q == '\r' && (q + 1 != nl || nl == end))
                    cr = true;
        }
        if (nl == end)
            break;
        if (nl > bytes && nl[-1] == '\r')
            crlf = true;
        else
            lf = true;
        p = nl + 1;
        if (int(crlf) + int(lf) + int(cr) > 1)
            return kCrLf;
    }
    const int kinds = int(crlf) + int(lf) + int(cr);
    if (kinds == 1 && lf)
        return QByteArrayLiteral("\n");
    if (kinds == 1 && cr)
        return QByteArrayLiteral("\r");
    return kCrLf;
}

} // namespace LineEnds
