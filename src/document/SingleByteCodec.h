#pragma once

#include <QByteArray>
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

// An 8-bit character set as a bijection on all 256 byte values, so that any file survives a
// load and a save byte for byte. Windows-1250 leaves five bytes unassigned; they map to the
// C1 control characters of the same number, as ISO-8859-2's 0x80..0x9F do.
class SingleByteCodec
{
public:
    static const SingleByteCodec &windows1250();
    static const SingleByteCodec &iso88592();

    // The Unicode character that stands for one byte.
    char32_t toUnicode(unsigned char byte) const { return m_unicode[byte]; }
    // The byte for a character, or nothing when the set cannot hold it.
    std::optional<unsigned char> fromUnicode(char32_t ch) const;

    // Decodes bytes as they stand (line ends included) to UTF-8 at `out`, which has room for
    // three bytes per byte; returns the end of what was written.
    char *toUtf8(const char *bytes, std::size_t length, char *out) const;
    QByteArray toUtf8(const QByteArray &bytes) const;

    // Encodes UTF-8 text from `p` up to `end`, writing `eol` for every line end found (CR LF,
    // LF or CR). Returns the end of what was written to `out` (room for twice the input),
    // or nullptr with `bad` set to the first character the set cannot hold and `line` to
    // its line, counted from 1 within the range.
    char *fromUtf8(const unsigned char *p, const unsigned char *end, const QByteArray &eol, char *out,
                   char32_t &bad, int &line) const;

private:
    explicit SingleByteCodec(const std::array<char16_t, 128> &high);

    std::array<char32_t, 256> m_unicode{};
    std::array<std::array<char, 4>, 256> m_utf8{}; // [0] holds the length
    std::vector<short> m_reverse = std::vector<short>(0x10000, -1);
};
