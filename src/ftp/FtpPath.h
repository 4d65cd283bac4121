#pragma once

#include <QString>

// Path rules of the FTP panel.
namespace FtpPath {

// The server path of a file in a directory: exactly one "/" between them, nothing trimmed.
inline QString join(const QString &directory, const QString &name) { return directory + QLatin1Char('/') + name; }

// A name from the server may become a local file only when it names a file inside the
// current folder: no separator, not "." or "..", not empty, no NUL.
bool isSafeLocalName(const QString &name);

// The URL curl is given for a server path, sent to the server exactly as built.
QByteArray url(const QString &host, int port, const QString &path);

} // namespace FtpPath
