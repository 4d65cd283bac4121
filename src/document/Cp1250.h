#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// Windows-1250 as a bijection on all 256 byte values. The five bytes the code page leaves
// unassigned map to the C1 control characters of the same number, so any file survives a
// load and a save byte for byte.
namespace Cp1250 {

// The Unicode character that stands for one byte.
char32_t toUnicode(unsigned char byte);
// The byte for a character, or nothing when the code page cannot hold it.
std::optional<unsigned char> fromUnicode(char32_t ch);

QString decode(const QByteArray &bytes);

// What the save found that the code page cannot hold.
struct Unencodable {
    char32_t character = 0;
    int line = 0; // 1-based
};

struct Encoded {
    QByteArray bytes;
    std::optional<Unencodable> error;
};

// Encodes the editor's UTF-8 text, writing `eol` for every line end found (CR LF, LF or CR).
Encoded encodeUtf8(const char *utf8, std::size_t length, const QByteArray &eol);

// Encodes the UTF-8 text in blocks that end after a line end, handing each block's bytes to
// `write`; stops at the first character outside the code page and returns it.
std::optional<Unencodable> encodeInBlocks(const char *utf8, std::size_t length, const QByteArray &eol,
                                          const std::function<void(const char *, std::size_t)> &write);
// Decodes bytes as they stand (line ends included) to UTF-8 at `out`, which has room for
// three bytes per byte; returns the end of what was written.
char *toUtf8(const char *bytes, std::size_t length, char *out);
QByteArray toUtf8(const QByteArray &bytes);

QByteArray encode(const QString &text); // throws Failure for a character outside the code page
QString unencodableMessage(const Unencodable &u);

} // namespace Cp1250
