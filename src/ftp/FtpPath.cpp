#include "ftp/FtpPath.h"

#include <QUrl>

namespace FtpPath {

bool isSafeLocalName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    for (const QChar c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QChar(0) || c == QLatin1Char(':'))
            return false;
    return true;
}

QByteArray url(const QString &host, int port, const QString &path)
{
    // The host goes in as typed (a port typed with it stays part of the name and fails to
    // resolve, as it should); the path is percent-encoded so that curl sends it unchanged.
    QByteArray out = "ftp://";
    const bool ipv6 = host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('['));
    out += ipv6 ? "[" + host.toUtf8() + "]" : QUrl::toPercentEncoding(host, ".-_~[]:");
    out += ':' + QByteArray::number(port) + '/';
    out += QUrl::toPercentEncoding(path, "/");
    return out;
}

} // namespace FtpPath
