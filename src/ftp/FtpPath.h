#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Path, name and address rules of the FTP panel. Server paths and names are raw bytes: a
// server that does not speak UTF-8 gets back exactly the bytes it sent.
namespace FtpPath {

enum class Protocol { Ftp, Ftps, Sftp };

// The server path of a file in a directory: exactly one "/" between them, nothing trimmed.
inline QByteArray join(const QByteArray &directory, const QByteArray &name) { return directory + '/' + name; }
// A folder inside a folder, without doubling the root's slash.
QByteArray child(const QByteArray &directory, const QByteArray &name);
// The folder above; the root stays the root.
QByteArray parent(const QByteArray &directory);

// Why a name from the server or a local file's name cannot be used for a command, or nothing
// when it can: "/" and the names "." and ".." could leave the folder, a control character
// (CR, LF and NUL among them) could end the command and start another.
std::optional<QString> nameProblem(const QByteArray &name);
// Throws Failure when a server path holds a control character; checked before any command.
void refuseControlCharacters(const QByteArray &path);

// A name as the user sees it: UTF-8 when the bytes are valid UTF-8, else Windows-1250, the
// usual encoding of Polish servers that predate UTF-8.
QString displayName(const QByteArray &raw);
// A server path as the user sees it: as displayName, with each run of slashes shown as one,
// since the path of a file in the root is sent as "//name" (see join) but reads "/name".
QString displayPath(const QByteArray &path);

// Host and port as typed: "serwer.pl", "serwer.pl:2121", "192.0.2.7:2121",
// "[2001:db8::1]:2121" or a bare IPv6 address.
struct Address {
    QString host; // without brackets
    int port = 0;
};
Address parseAddress(const QString &typed, int defaultPort);
int defaultPort(Protocol protocol);

// The URL curl is given for a server path; the path is sent to the server exactly as built.
QByteArray url(Protocol protocol, const Address &address, const QByteArray &path);

} // namespace FtpPath
