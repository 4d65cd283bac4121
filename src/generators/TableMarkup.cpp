#include "generators/TableMarkup.h"

#include "core/Failure.h"

#include <QStringList>
#include <cmath>
#include <limits>

namespace TableMarkup {

int toInteger(const QString &text)
{
    const auto fail = [&] { return Failure(QStringLiteral("'%1' is not a valid integer value").arg(text)); };
    qsizetype i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        negative = text.at(i++) == QLatin1Char('-');
    int base = 10;
    if (i < text.size() && text.at(i) == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text.at(i) == QLatin1Char('0')
               && (text.at(i + 1) == QLatin1Char('x') || text.at(i + 1) == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        throw fail();
    long long value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        int digit;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = c.unicode() - '0';
        else if (base == 16 && c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            digit = c.unicode() - 'a' + 10;
        else if (base == 16 && c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            digit = c.unicode() - 'A' + 10;
        else
            throw fail();
        value = value * base + digit;
        if (value > (1LL << 32))
            throw fail();
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        throw fail();
    return int(value);
}

QByteArray generateUtf8(const Request &request)
{
    const long long rows = qMax(0, request.rows);
    const long long cells = qMax(0, request.cellsPerRow);
    const QByteArray open = (QStringLiteral("<TABLE ALIGN=") + request.align + QStringLiteral(" BORDER=")
                             + QString::number(request.border) + QStringLiteral(" CELLPADDING=")
                             + QString::number(request.cellPadding) + QStringLiteral(" CELLSPACING=")
                             + QString::number(request.cellSpacing) + QStringLiteral(" BORDERCOLOR=")
                             + request.borderColour + QStringLiteral(">"))
                                .toUtf8();
    const QByteArray cell = QStringLiteral("\n<TD>Tutaj wpisz zawartość komurki</TD>").toUtf8();
    const QByteArray rowStart = "\n<TR>", rowEnd = "\n</TR>", close = "\n</TABLE>\n</BODY></HTML>";

    // The size follows from the numbers; a row is built only when there is one. Both counts
    // are below 2^31, so the line count and a row's size fit in 64 bits. The whole size of the
    // largest requests (2^31 rows of 2^31 cells, some 10^20 bytes) does not: it is worked out
    // in double, exact up to 2^53 bytes, far beyond any table that is built.
    const long long rowBytes = rowStart.size() + cells * cell.size() + rowEnd.size();
    const long long lines = 3 + (rows ? rows * (cells + 2) : 0);
    const double size = double(open.size()) + double(rows) * double(rowBytes) + double(close.size());
    if (lines > kMaxLines || size > double(kMaxBytes))
        throw Failure(QStringLiteral("Tabela %1 × %2 miałaby %3 wierszy kodu (%4 MB), a kreator tworzy co najwyżej "
                                     "%5 wierszy i %6 MB. Zmniejsz liczbę wierszy lub kolumn.")
                          .arg(QString::number(rows), QString::number(cells), QString::number(lines),
                               QString::number(std::ceil(size / (1 << 20)), 'f', 0), QString::number(kMaxLines),
                               QString::number(kMaxBytes >> 20)));
    const qsizetype bytes = qsizetype(size);

    // Built in UTF-8, the form the panel holds it in: a million-line table is 40 MB, and a
    // second copy of it in UTF-16 would be 80 MB more.
    QByteArray text;
    text.reserve(bytes);
    text += open;
    if (rows > 0) {
        QByteArray row = rowStart;
        row.reserve(qsizetype(rowBytes));
        for (long long c = 0; c < cells; ++c)
            row += cell;
        row += rowEnd;
        for (long long r = 0; r < rows; ++r)
            text += row;
    }
    text += close;
    return text;
}

} // namespace TableMarkup
