#pragma once

#include <QByteArray>

// The line end a document is saved with, found when a file is read.
namespace LineEnds {

// LF when the bytes hold only LF line ends, CR when only CR, otherwise (mixed, CR LF, or
// none at all) CR LF.
QByteArray detect(const char *bytes, qsizetype length);
inline QByteArray detect(const QByteArray &bytes) { return detect(bytes.constData(), bytes.size()); }

inline const QByteArray kCrLf = QByteArrayLiteral("\r\n");

// The line end to save with, and whether every line end found already is that one.
struct Analysis {
    QByteArray eol;
    bool uniform = true;
};
Analysis analyse(const char *bytes, qsizetype length);

// Whether a line between `eol` bytes (or the text's ends) is `limit` bytes long or longer.
// Reads a few bytes per `limit / 2` of a text whose lines are short.
bool hasLineOfAtLeast(const char *bytes, qsizetype length, char eol, qsizetype limit);

} // namespace LineEnds
