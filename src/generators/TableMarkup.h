#pragma once

#include <QString>
#include <QStringList>

// The table wizard's markup and the runtime's string-to-integer conversion it relies on.
namespace TableMarkup {

// Optional leading blanks, an optional sign and decimal digits, or a hexadecimal number
// written with "$" or "0x"; anything else, or a value outside 32 bits, throws Failure with
// "'text' is not a valid integer value".
int toInteger(const QString &text);

struct Request {
    int cellsPerRow = 0; // from the field labelled "Ilość wierszy:"
    int rows = 0;        // from the field labelled "Ilość kolumn:"
    QString align;
    int border = 0;
    int cellPadding = 0;
    int cellSpacing = 0;
    QString borderColour;
};

// The largest table the wizard builds, in lines and in bytes; a larger request is refused
// from its numbers alone, before anything is built.
inline constexpr long long kMaxLines = 1100000;
inline constexpr long long kMaxBytes = 64LL << 20;

// The table's lines in UTF-8, joined by LF, without a line end after the last one. Throws
// Failure for a table of more than kMaxLines lines or kMaxBytes bytes.
QByteArray generateUtf8(const Request &request);

inline const QStringList initialPanelLines()
{
    return {QStringLiteral("<!--Wygenerowane przez Tarnwick-->"), QStringLiteral("<HTML>"), QStringLiteral("<BODY>")};
}

} // namespace TableMarkup
