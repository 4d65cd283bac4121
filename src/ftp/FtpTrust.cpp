#include "ftp/FtpTrust.h"

#include "core/Failure.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
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


// The first certificate of a PEM text, decoded.
QByteArray derFromPem(const QByteArray &pem)
{
    static const QByteArray begin = "-----BEGIN CERTIFICATE-----", end = "-----END CERTIFICATE-----";
    const qsizetype from = pem.indexOf(begin);
    const qsizetype to = from < 0 ? -1 : pem.indexOf(end, from);
    if (to < 0)
        return {};
    QByteArray body = pem.mid(from + begin.size(), to - from - begin.size());
    body.removeIf([](char c) { return c == '\n' || c == '\r' || c == ' ' || c == '\t'; });
    const auto decoded = QByteArray::fromBase64Encoding(body, QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

// One DER element: where its contents start and end within the certificate.
struct Element {
    int tag = -1;
    qsizetype start = 0, contents = 0, end = 0;
};

Element element(const QByteArray &der, qsizetype at, qsizetype limit)
{
    Element e;
    if (at + 2 > limit)
        return e;
    const auto byte = [&](qsizetype i) { return uchar(der.at(i)); };
    qsizetype length = byte(at + 1);
    qsizetype contents = at + 2;
    if (length & 0x80) { // long form: the next 1 to 4 bytes hold the length
        const int count = int(length & 0x7F);
        if (count < 1 || count > 4 || contents + count > limit)
            return e;
        length = 0;
        for (int i = 0; i < count; ++i)
            length = (length << 8) | byte(contents + i);
        contents += count;
    }
    if (length > limit - contents)
        return e;
    return Element{byte(at), at, contents, contents + length};
}

// The certificate's SubjectPublicKeyInfo, whole: what curl hashes for a pinned public key.
// Certificate = SEQUENCE { tbsCertificate SEQUENCE { [0] version OPTIONAL, serialNumber,
// signature, issuer, validity, subject, subjectPublicKeyInfo, ... }, ... }
QByteArray subjectPublicKeyInfo(const QByteArray &der)
{
    constexpr int kSequence = 0x30, kVersion = 0xA0;
    const Element certificate = element(der, 0, der.size());
    if (certificate.tag != kSequence)
        return {};
    const Element tbs = element(der, certificate.contents, certificate.end);
    if (tbs.tag != kSequence)
        return {};
    Element e = element(der, tbs.contents, tbs.end);
    if (e.tag == kVersion)
        e = element(der, e.end, tbs.end);
    for (int skip = 0; skip < 5 && e.tag >= 0; ++skip) // serialNumber … subject
        e = element(der, e.end, tbs.end);
    if (e.tag != kSequence)
        return {};
    return der.mid(e.start, e.end - e.start);
}

} // namespace

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

std::optional<Certificate> certificateFromPem(const QByteArray &pem)
{
    const QByteArray der = derFromPem(pem);
    const QByteArray spki = subjectPublicKeyInfo(der);
    if (spki.isEmpty())
        return std::nullopt;
    return Certificate{QString::fromLatin1(QCryptographicHash::hash(der, QCryptographicHash::Sha256).toHex(':').toUpper()),
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
