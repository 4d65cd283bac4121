#include "ftp/FtpPath.h"

#include "document/SingleByteCodec.h"
#include "core/Failure.h"

#include <QStringDecoder>
#include <QUrl>

namespace FtpPath {

namespace {
// Control characters shown as "?", so a message never breaks a line where the name does.
QString printable(QString text)
{
    for (QChar &c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char('?');
    return text;
}
} // namespace

QByteArray child(const QByteArray &directory, const QByteArray &name)
{
    return directory.endsWith('/') ? directory + name : directory + '/' + name;
}

QByteArray parent(const QByteArray &directory)
{
    QByteArray d = directory;
    while (d.size() > 1 && d.endsWith('/'))
        d.chop(1);
    const qsizetype slash = d.lastIndexOf('/');
    if (slash < 0)
        return d;
    return slash == 0 ? QByteArray("/") : d.left(slash);
}

std::optional<QString> nameProblem(const QByteArray &name)
{
    const QString shown = displayName(name);
    if (name.isEmpty() || name == "." || name == "..")
        return QStringLiteral("Nazwa „%1” nie wskazuje pliku w bieżącym folderze.").arg(shown);
    if (name.contains('/'))
        return QStringLiteral("Nazwa „%1” zawiera znak „/” i wskazywałaby poza bieżący folder.").arg(shown);
    for (const char c : name)
        if (uchar(c) < 0x20 || uchar(c) == 0x7F)
            return QStringLiteral("Nazwa „%1” zawiera znak sterujący (kod %2); nie wysłano żadnego polecenia.")
                .arg(printable(shown), QString::number(uchar(c)));
    return std::nullopt;
}

void refuseControlCharacters(const QByteArray &path)
{
    for (const char c : path)
        if (uchar(c) < 0x20 || uchar(c) == 0x7F)
            throw Failure(QStringLiteral("Ścieżka „%1” zawiera znak sterujący (kod %2); nie wysłano żadnego polecenia.")
                              .arg(printable(displayPath(path)), QString::number(uchar(c))));
}

QString displayName(const QByteArray &raw)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(raw);
    return utf8.hasError() ? QString::fromUtf8(SingleByteCodec::windows1250().toUtf8(raw)) : text;
}

QString displayPath(const QByteArray &path)
{
    QByteArray shown = path;
    while (shown.contains("//"))
        shown.replace("//", "/");
    return displayName(shown);
}

int defaultPort(Protocol protocol)
{
    return protocol == Protocol::Sftp ? 22 : 21;
}

Address parseAddress(const QString &typed, int defaultPort)
{
    Address a{typed, defaultPort};
    if (typed.startsWith(QLatin1Char('['))) {
        const qsizetype close = typed.indexOf(QLatin1Char(']'));
        if (close > 0) {
            a.host = typed.mid(1, close - 1);
            const QString rest = typed.mid(close + 1);
            bool ok = false;
            const int port = rest.startsWith(QLatin1Char(':')) ? rest.mid(1).toInt(&ok) : 0;
            if (ok && port > 0 && port < 65536)
                a.port = port;
        }
        return a;
    }
    // One colon separates a port; more than one make a bare IPv6 address.
    if (typed.count(QLatin1Char(':')) == 1) {
        const qsizetype colon = typed.indexOf(QLatin1Char(':'));
        bool ok = false;
        const int port = typed.mid(colon + 1).toInt(&ok);
        if (ok && port > 0 && port < 65536) {
            a.host = typed.left(colon);
            a.port = port;
        }
    }
    return a;
}

QByteArray url(Protocol protocol, const Address &address, const QByteArray &path)
{
    QByteArray out = protocol == Protocol::Sftp ? "sftp://" : "ftp://";
    if (address.host.contains(QLatin1Char(':')))
        out += '[' + address.host.toUtf8() + ']';
    else
        out += QUrl::toPercentEncoding(address.host, ".-_~");
    out += ':' + QByteArray::number(address.port);
    // An FTP URL's path starts after the slash that ends the authority; an SFTP URL's path
    // is the absolute path itself.
    if (protocol != Protocol::Sftp || !path.startsWith('/'))
        out += '/';
    out += path.toPercentEncoding("/");
    return out;
}

} // namespace FtpPath
