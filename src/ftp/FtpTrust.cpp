#include "ftp/FtpTrust.h"

#include "core/Failure.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSslCertificate>
#include <QSslKey>
#include <QStandardPaths>
#include <QtEndian>

namespace FtpTrust {

namespace {

QString certificatesFile()
{
    return QDir(folder()).filePath(QStringLiteral("certificates"));
}

QList<QByteArray> readLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> out;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (!line.trimmed().isEmpty() && !line.startsWith('#'))
            out.append(line.trimmed());
    return out;
}

void appendLine(const QString &path, const QByteArray &line)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append) || f.write(line + '\n') != line.size() + 1)
        throw Failure(QStringLiteral("Nie można zapisać pliku „%1”: %2").arg(path, f.errorString()));
}

} // namespace

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

std::optional<Certificate> certificateFromPem(const QByteArray &pem)
{
    const QList<QSslCertificate> certs = QSslCertificate::fromData(pem, QSsl::Pem);
    if (certs.isEmpty() || certs.first().isNull())
        return std::nullopt;
    const QSslCertificate &c = certs.first();
    const QByteArray spki = c.publicKey().toDer();
    if (spki.isEmpty())
        return std::nullopt;
    return Certificate{QString::fromLatin1(c.digest(QCryptographicHash::Sha256).toHex(':').toUpper()),
                       QCryptographicHash::hash(spki, QCryptographicHash::Sha256).toBase64()};
}

QByteArray rememberedPin(const QString &host, int port)
{
    const QByteArray key = hostPattern(host, port);
    QByteArray pin;
    for (const QByteArray &line : readLines(certificatesFile())) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() >= 2 && fields.at(0) == key)
            pin = fields.at(1); // the latest line wins: a renewed certificate is appended
    }
    return pin;
}

void rememberPin(const QString &host, int port, const QByteArray &pin)
{
    appendLine(certificatesFile(), hostPattern(host, port) + ' ' + pin);
}

QString knownHostsFile()
{
    return QDir(folder()).filePath(QStringLiteral("known_hosts"));
}

QByteArray hostPattern(const QString &host, int port)
{
    return port == 22 ? host.toUtf8() : '[' + host.toUtf8() + "]:" + QByteArray::number(port);
}

KeyMatch lookupKey(const QString &host, int port, const QByteArray &blob)
{
    const QByteArray pattern = hostPattern(host, port);
    const QByteArray type = keyType(blob);
    KeyMatch match = KeyMatch::Missing;
    for (const QByteArray &line : readLines(knownHostsFile())) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() < 3 || !f.at(0).split(',').contains(pattern) || f.at(1) != type)
            continue;
        if (QByteArray::fromBase64(f.at(2)) == blob)
            return KeyMatch::Known;
        match = KeyMatch::Changed;
    }
    return match;
}

void rememberKey(const QString &host, int port, const QByteArray &blob)
{
    appendLine(knownHostsFile(), hostPattern(host, port) + ' ' + keyType(blob) + ' ' + blob.toBase64());
}

QString keyFingerprint(const QByteArray &blob)
{
    QByteArray hash = QCryptographicHash::hash(blob, QCryptographicHash::Sha256).toBase64();
    while (hash.endsWith('='))
        hash.chop(1);
    return QStringLiteral("SHA256:") + QString::fromLatin1(hash);
}

QByteArray keyType(const QByteArray &blob)
{
    // An SSH public key starts with its type as a length-prefixed string.
    if (blob.size() < 4)
        return {};
    const quint32 length = qFromBigEndian<quint32>(blob.constData());
    return length <= quint32(blob.size() - 4) ? blob.mid(4, length) : QByteArray();
}

} // namespace FtpTrust
