#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What a server's folder listing holds, read from the formats servers send.
namespace FtpListing {

struct Entry {
    QByteArray raw; // the name's bytes as the server sent them, used in every command
    QString name;   // as the user sees it
    bool folder = false;
};

// A listing that never ends must not fill memory: past either bound it is given up.
constexpr qsizetype kMaxBytes = 64 * 1024 * 1024;
constexpr qsizetype kMaxEntries = 1000000;

// Gathers a listing as it arrives and tells when it has grown past the bounds.
class Buffer
{
public:
    bool append(const char *data, qsizetype size); // false: past a bound, nothing kept
    const QByteArray &bytes() const { return m_bytes; }
    void clear();

private:
    QByteArray m_bytes;
    qsizetype m_lines = 0;
};

// MLSD lines ("fact=value;...; name"): files and folders, without "." and "..", without
// lines that carry no name.
QList<Entry> parseMlsd(const QByteArray &listing);

// A server without MLSD: the exact names come from the bare name list, and whether each is a
// folder from the long listing line that ends with that name ("drwx..." or "<DIR>").
QList<Entry> parseNamesWithLong(const QByteArray &names, const QByteArray &longListing);

// Folders first, then files, each group in the order of the user's language, case ignored.
void sort(QList<Entry> &entries);

} // namespace FtpListing
