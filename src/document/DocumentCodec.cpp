#include "document/DocumentCodec.h"

#include "document/SingleByteCodec.h"
#include "document/TextScan.h"

#include <algorithm>
#include <cstring>

namespace DocumentCodec {

namespace {

const SingleByteCodec &codecFor(Encoding encoding)
{
    return encoding == Encoding::Iso88592 ? SingleByteCodec::iso88592() : SingleByteCodec::windows1250();
}

// Copies UTF-8 text with every line end written as `eol`; the characters pass as they are.
char *copyWithLineEnds(const unsigned char *p, const unsigned char *end, const QByteArray &eol, char *out)
{
    while (p < end) {
        // Eight bytes without a line end at a time: by far the most common.
        while (end - p >= 8) {
            const std::uint64_t word = TextScan::load(reinterpret_cast<const char *>(p));
            if (TextScan::bytesEqual(word, '\r') | TextScan::bytesEqual(word, '\n'))
                break;
            std::memcpy(out, p, 8);
            out += 8;
            p += 8;
        }
        if (p >= end)
            break;
        const unsigned char c = *p++;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && p < end && *p == '\n')
                ++p;
            std::memcpy(out, eol.constData(), std::size_t(eol.size()));
            out += eol.size();
        } else {
            *out++ = char(c);
        }
    }
    return out;
}

// Encodes [p, end) to `out`; nullptr with `error` set (its line counted within the range).
char *encodeRange(Encoding encoding, const unsigned char *p, const unsigned char *end, const QByteArray &eol,
                  char *out, Unencodable &error)
{
    if (encoding == Encoding::Utf8)
        return copyWithLineEnds(p, end, eol, out);
    char32_t bad = 0;
    int line = 1;
    char *written = codecFor(encoding).fromUtf8(p, end, eol, out, bad, line);
    if (!written)
        error = Unencodable{bad, line};
    return written;
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

Encoded encode(Encoding encoding, const char *utf8, std::size_t length, const QByteArray &eol)
{
    Encoded result;
    // Room for the worst case (LF or CR may become CR LF), left uninitialised.
    result.bytes = QByteArray(qsizetype(length * (eol.size() > 1 ? 2 : 1)) + 1, Qt::Uninitialized);
    Unencodable error;
    const auto p = reinterpret_cast<const unsigned char *>(utf8);
    char *end = encodeRange(encoding, p, p + length, eol, result.bytes.data(), error);
    if (!end) {
        result.bytes.clear();
        result.error = error;
        return result;
    }
    result.bytes.truncate(end - result.bytes.constData());
    return result;
}

std::optional<Unencodable> encodeInBlocks(Encoding encoding, const char *utf8, std::size_t length,
                                          const QByteArray &eol,
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
        char *written = encodeRange(encoding, p, stop, eol, buffer.data(), error);
        if (!written) {
            error.line += lineEndsIn(utf8, std::size_t(p - reinterpret_cast<const unsigned char *>(utf8)));
            return error;
        }
        write(buffer.constData(), std::size_t(written - buffer.constData()));
        p = stop;
    }
    return std::nullopt;
}

std::optional<Unencodable> firstUnencodable(Encoding encoding, const char *utf8, std::size_t length)
{
    if (encoding == Encoding::Utf8)
        return std::nullopt;
    return encodeInBlocks(encoding, utf8, length, QByteArrayLiteral("\n"), [](const char *, std::size_t) {});
}

char *toUtf8(Encoding encoding, const char *bytes, std::size_t length, char *out)
{
    if (encoding == Encoding::Utf8) {
        std::memcpy(out, bytes, length);
        return out + length;
    }
    return codecFor(encoding).toUtf8(bytes, length, out);
}

QString unencodableMessage(const Unencodable &u, Encoding encoding)
{
    const QString ch = QString::fromUcs4(&u.character, 1);
    const QString code = QString::number(uint(u.character), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QStringLiteral("Nie można zapisać dokumentu: znaku „%1” (U+%2) w wierszu %3 "
                          "nie da się zapisać w kodowaniu %4. Usuń go lub zastąp "
                          "innym i zapisz ponownie.")
        .arg(ch, code, QString::number(u.line), TextEncoding::displayName(encoding));
}

} // namespace DocumentCodec
