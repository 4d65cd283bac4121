#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Certificates and host keys the user chose to trust, kept in the program's data folder.
// An FTPS certificate is remembered by its public key; an SSH host key in the program's own
// known_hosts file, in the format OpenSSH reads.
namespace FtpTrust {

QString folder();

struct Certificate {
    QString fingerprint; // SHA-256 of the certificate, "AB:CD:..."
    QByteArray pin;      // base64 SHA-256 of the public key, as curl pins it
};
std::optional<Certificate> certificateFromPem(const QByteArray &pem);
QByteArray rememberedPin(const QString &host, int port);
void rememberPin(const QString &host, int port, const QByteArray &pin);

enum class KeyMatch { Known, Changed, Missing };
QString knownHostsFile();
// The host's name as known_hosts writes it: "host", or "[host]:port" off port 22.
QByteArray hostPattern(const QString &host, int port);
KeyMatch lookupKey(const QString &host, int port, const QByteArray &blob);
void rememberKey(const QString &host, int port, const QByteArray &blob);
// "SHA256:…" as ssh shows it, and the key's type from its own wire format.
QString keyFingerprint(const QByteArray &blob);
QByteArray keyType(const QByteArray &blob);

} // namespace FtpTrust
