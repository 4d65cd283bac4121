#include "document/SingleByteCodec.h"

#include "document/TextScan.h"

#include <cstring>

namespace {

// 0x80..0xFF of Windows-1250; the unassigned bytes (0x81 0x83 0x88 0x90 0x98) keep their
// own number.
constexpr std::array<char16_t, 128> kWindows1250 = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// 0x80..0xFF of ISO-8859-2: the C1 controls, then the Latin-2 letters and signs.
constexpr std::array<char16_t, 128> kIso88592 = {
    0x0080, 0x0081, 0x0082, 0x0083, 0x0084, 0x0085, 0x0086, 0x0087,
    0x0088, 0x0089, 0x008A, 0x008B, 0x008C, 0x008D, 0x008E, 0x008F,
    0x0090, 0x0091, 0x0092, 0x0093, 0x0094, 0x0095, 0x0096, 0x0097,
    0x0098, 0x0099, 0x009A, 0x009B, 0x009C, 0x009D, 0x009E, 0x009F,
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7,
    0x00A8, 0x0160, 0x015E, 0x0164, 0x0179, 0x00AD, 0x017D, 0x017B,
    0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7,
    0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

// Reads one UTF-8 sequence at p (p < end); malformed input reads as U+FFFD, one byte at a time.
char32_t nextCodePoint(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char c = *p++;
    if (c < 0x80)
        return c;
    const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    if (extra < 0 || end - p < extra)
        return 0xFFFD;
    char32_t cp = c & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += extra;
    return cp;
}

} // namespace

SingleByteCodec::SingleByteCodec(const std::array<char16_t, 128> &high)
{
    for (int b = 0; b < 256; ++b) {
        const char16_t u = b < 0x80 ? char16_t(b) : high[std::size_t(b - 0x80)];
        m_unicode[std::size_t(b)] = u;
        m_reverse[u] = short(b);
        auto &o = m_utf8[std::size_t(b)];
        if (u < 0x80)
            o = {1, char(u), 0, 0};
        else if (u < 0x800)
            o = {2, char(0xC0 | (u >> 6)), char(0x80 | (u & 0x3F)), 0};
        else
            o = {3, char(0xE0 | (u >> 12)), char(0x80 | ((u >> 6) & 0x3F)), char(0x80 | (u & 0x3F))};
    }
}

const SingleByteCodec &SingleByteCodec::windows1250()
{
    static const SingleByteCodec codec(kWindows1250);
    return codec;
}

const SingleByteCodec &SingleByteCodec::iso88592()
{
    static const SingleByteCodec codec(kIso88592);
    return codec;
}

std::optional<unsigned char> SingleByteCodec::fromUnicode(char32_t ch) const
{
    if (ch >= 0x10000 || m_reverse[ch] < 0)
        return std::nullopt;
    return static_cast<unsigned char>(m_reverse[ch]);
}

char *SingleByteCodec::toUtf8(const char *bytes, std::size_t length, char *out) const
{
    auto p = reinterpret_cast<const unsigned char *>(bytes);
    const auto end = p + length;
    while (p < end) {
        // Eight plain ASCII bytes at a time: by far the most common.
        while (end - p >= 8) {
            const std::uint64_t word = TextScan::load(reinterpret_cast<const char *>(p));
            if (word & TextScan::kHigh)
                break;
            std::memcpy(out, &word, 8);
            out += 8;
            p += 8;
        }
        if (p >= end)
            break;
        const auto &seq = m_utf8[*p++];
        for (int k = 1; k <= seq[0]; ++k)
            *out++ = seq[std::size_t(k)];
    }
    return out;
}

QByteArray SingleByteCodec::toUtf8(const QByteArray &bytes) const
{
    QByteArray out(bytes.size() * 3, Qt::Uninitialized);
    out.truncate(toUtf8(bytes.constData(), std::size_t(bytes.size()), out.data()) - out.constData());
    return out;
}

char *SingleByteCodec::fromUtf8(const unsigned char *p, const unsigned char *end, const QByteArray &eol, char *out,
                                char32_t &bad, int &line) const
{
    const char *eolData = eol.constData();
    const qsizetype eolSize = eol.size();
    line = 1;
    while (p < end) {
        // Plain ASCII without line ends, eight bytes at a time: by far the most common.
        while (end - p >= 8 && TextScan::plainWord(TextScan::load(reinterpret_cast<const char *>(p)))) {
            std::memcpy(out, p, 8);
            out += 8;
            p += 8;
        }
        if (p >= end)
            break;
        const unsigned char c = *p;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && p + 1 < end && p[1] == '\n')
                ++p;
            ++p;
            for (qsizetype k = 0; k < eolSize; ++k)
                *out++ = eolData[k];
            ++line;
            continue;
        }
        if (c < 0x80) {
            *out++ = char(c);
            ++p;
            continue;
        }
        char32_t cp;
        // Two-byte sequences (the Polish letters among them) without the general decoder.
        if (c >= 0xC2 && c <= 0xDF && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            cp = (char32_t(c & 0x1F) << 6) | (p[1] & 0x3F);
            p += 2;
        } else {
            cp = nextCodePoint(p, end);
        }
        const short b = cp < 0x10000 ? m_reverse[cp] : short(-1);
        if (b < 0) {
            bad = cp;
            return nullptr;
        }
        *out++ = char(b);
    }
    return out;
}
