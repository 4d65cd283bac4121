#include "document/Cp1250.h"

#include "core/Failure.h"
#include "document/TextScan.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

// 0x80..0xFF; the unassigned bytes (0x81 0x83 0x88 0x90 0x98) keep their own number.
constexpr std::array<char16_t, 128> kHigh = {
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

// Each byte's UTF-8 form, and the reverse map over the Basic Multilingual Plane.
struct Tables {
    std::array<std::array<char, 4>, 256> utf8{}; // [0] holds the length
    std::vector<short> reverse = std::vector<short>(0x10000, -1);

    Tables()
    {
        for (int b = 0; b < 256; ++b) {
            const char16_t u = b < 0x80 ? char16_t(b) : kHigh[b - 0x80];
            reverse[u] = short(b);
            auto &o = utf8[b];
            if (u < 0x80) {
                o = {1, char(u), 0, 0};
            } else if (u < 0x800) {
                o = {2, char(0xC0 | (u >> 6)), char(0x80 | (u & 0x3F)), 0};
            } else {
                o = {3, char(0xE0 | (u >> 12)), char(0x80 | ((u >> 6) & 0x3F)), char(0x80 | (u & 0x3F))};
            }
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

// Reads one UTF-8 sequence at p (p < end); malformed input reads as U+FFFD, one byte at a time.
char32_t nextCodePoint(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char c = *p++;
    if (c < 0x80)
        return c;
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
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

namespace Cp1250 {

char32_t toUnicode(unsigned char byte)
{
    return byte < 0x80 ? char32_t(byte) : char32_t(kHigh[byte - 0x80]);
}

std::optional<unsigned char> fromUnicode(char32_t ch)
{
    if (ch >= 0x10000)
        return std::nullopt;
    const short b = tables().reverse[ch];
    if (b < 0)
        return std::nullopt;
    return static_cast<unsigned char>(b);
}

QString decode(const QByteArray &bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (const char c : bytes)
        *d++ = QChar(char16_t(toUnicode(static_cast<unsigned char>(c))));
    return out;
}

namespace {

// Encodes [p, end) to `out`; returns the end of what was written, or nullptr with `error`
// set (its line counted from 1 within the range).
char *encodeRange(const unsigned char *p, const unsigned char *end, const QByteArray &eol, char *out,
                  Unencodable &error)
{
    const auto &rev = tables().reverse;
    const char *eolData = eol.constData();
    const qsizetype eolSize = eol.size();
    int line = 1;
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
        if (c < 0x80 && c != '\r' && c != '\n') {
            *out++ = char(c);
            ++p;
            continue;
        }
        if (c == '\r' || c == '\n') {
            if (c == '\r' && p + 1 < end && p[1] == '\n')
                ++p;
            ++p;
            for (qsizetype k = 0; k < eolSize; ++k)
                *out++ = eolData[k];
            ++line;
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
        const short b = cp < 0x10000 ? rev[cp] : short(-1);
        if (b < 0) {
            error = Unencodable{cp, line};
            return nullptr;
        }
        *out++ = char(b);
    }
    return out;
}

// Line ends as the encoder counts them: CR LF, a lone CR and a lone LF each count once.
int lineEndsIn(const char *p, std::size_t n)
{
    std::size_t pairs = 0;
    for (const char *q = p; const void *hit = std::memchr(q, '\r', std::size_t(p + n - q));) {
        const char *cr = static_cast<const char *>(hit);
        pairs += cr + 1 < p + n && cr[1] == '\n';
        q = cr + 1;
    }
    return int(TextScan::countByte(p, n, '\n') + TextScan::countByte(p, n, '\r') - pairs);
}

} // namespace

Encoded encodeUtf8(const char *utf8, std::size_t length, const QByteArray &eol)
{
    Encoded result;
    // Room for the worst case (LF or CR may become CR LF), left uninitialised.
    result.bytes = QByteArray(qsizetype(length * (eol.size() > 1 ? 2 : 1)) + 1, Qt::Uninitialized);
    Unencodable error;
    const auto p = reinterpret_cast<const unsigned char *>(utf8);
    char *end = encodeRange(p, p + length, eol, result.bytes.data(), error);
    if (!end) {
        result.bytes.clear();
        result.error = error;
        return result;
    }
    result.bytes.truncate(end - result.bytes.constData());
    return result;
}

std::optional<Unencodable> encodeInBlocks(const char *utf8, std::size_t length, const QByteArray &eol,
                                          const std::function<void(const char *, std::size_t)> &write)
{
    constexpr std::size_t kBlock = 1 << 20;
    const std::size_t growth = eol.size() > 1 ? 2 : 1;
    QByteArray buffer(qsizetype(kBlock * growth + 4096 * growth), Qt::Uninitialized);
    auto p = reinterpret_cast<const unsigned char *>(utf8);
    const auto end = p + length;
    while (p < end) {
        // A block ends after a line end (or, on a line longer than the block, after a whole
        // character), so that no line end or character is cut in two.
        const unsigned char *stop = end;
        if (std::size_t(end - p) > kBlock) {
            stop = p + kBlock;
            const void *lf = std::memchr(stop, '\n', std::min<std::size_t>(4096, std::size_t(end - stop)));
            if (lf) {
                stop = static_cast<const unsigned char *>(lf) + 1;
            } else {
                while (stop < end && ((*stop & 0xC0) == 0x80 || stop[-1] == '\r'))
                    ++stop;
            }
        }
        Unencodable error;
        if (buffer.size() < qsizetype(std::size_t(stop - p) * growth))
            buffer.resize(qsizetype(std::size_t(stop - p) * growth));
        char *written = encodeRange(p, stop, eol, buffer.data(), error);
        if (!written) {
            error.line += lineEndsIn(utf8, std::size_t(p - reinterpret_cast<const unsigned char *>(utf8)));
            return error;
        }
        write(buffer.constData(), std::size_t(written - buffer.constData()));
        p = stop;
    }
    return std::nullopt;
}

char *toUtf8(const char *bytes, std::size_t length, char *out)
{
    const auto &t = tables().utf8;
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
        const auto &seq = t[*p++];
        for (int k = 1; k <= seq[0]; ++k)
            *out++ = seq[k];
    }
    return out;
}

QByteArray toUtf8(const QByteArray &bytes)
{
    QByteArray out(bytes.size() * 3, Qt::Uninitialized);
    out.truncate(toUtf8(bytes.constData(), std::size_t(bytes.size()), out.data()) - out.constData());
    return out;
}

QByteArray encode(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    Encoded e = encodeUtf8(utf8.constData(), std::size_t(utf8.size()), QByteArrayLiteral("\r\n"));
    if (e.error)
        throw Failure(unencodableMessage(*e.error));
    return e.bytes;
}

QString unencodableMessage(const Unencodable &u)
{
    const QString ch = QString::fromUcs4(&u.character, 1);
    const QString code = QString::number(uint(u.character), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QStringLiteral("Nie można zapisać dokumentu: znaku „%1” (U+%2) w wierszu %3 "
                          "nie da się zapisać w kodowaniu Windows-1250. Usuń go lub zastąp "
                          "innym i zapisz ponownie.")
        .arg(ch, code)
        .arg(u.line);
}

} // namespace Cp1250
