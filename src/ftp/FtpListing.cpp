#include "ftp/FtpListing.h"

#include "ftp/FtpPath.h"

#include <QCollator>
#include <QHash>

namespace FtpListing {

namespace {

QList<QByteArray> lines(const QByteArray &text)
{
    QList<QByteArray> out;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            out.append(line);
    }
    return out;
}

bool usable(const QByteArray &name)
{
    return !name.isEmpty() && name != "." && name != "..";
}

Entry entry(const QByteArray &raw, bool folder)
{
    return Entry{raw, FtpPath::displayName(raw), folder};
}

} // namespace

bool Buffer::append(const char *data, qsizetype size)
{
    m_lines += std::count(data, data + size, '\n');
    if (m_bytes.size() + size > kMaxBytes || m_lines > kMaxEntries) {
        clear();
        return false;
    }
    m_bytes.append(data, size);
    return true;
}

void Buffer::clear()
{
    m_bytes = QByteArray();
    m_lines = 0;
}

QList<Entry> parseMlsd(const QByteArray &listing)
{
    QList<Entry> out;
    for (const QByteArray &line : lines(listing)) {
        // The facts end at the first space; the name is everything after it, spaces and all.
        const qsizetype space = line.indexOf(' ');
        if (space < 0)
            continue;
        const QByteArray name = line.mid(space + 1);
        if (!usable(name))
            continue;
        QByteArray type;
        for (const QByteArray &fact : line.left(space).split(';'))
            if (fact.toLower().startsWith("type="))
                type = fact.mid(5).toLower();
        if (type == "file")
            out.append(entry(name, false));
        else if (type == "dir")
            out.append(entry(name, true));
    }
    return out;
}

QList<Entry> parseNamesWithLong(const QByteArray &names, const QByteArray &longListing)
{
    QList<QByteArray> bare;
    QHash<QByteArray, bool> folder;
    for (QByteArray name : lines(names)) {
        const qsizetype slash = name.lastIndexOf('/'); // some servers answer with paths
        if (slash >= 0)
            name = name.mid(slash + 1);
        if (!usable(name) || folder.contains(name))
            continue;
        bare.append(name);
        folder.insert(name, false);
    }
    // The name closes its long line: "... name", or "... name -> target" for a link. The
    // longest tail after a space that is a known name is the line's name.
    for (const QByteArray &line : lines(longListing)) {
        const qsizetype arrow = line.indexOf(" -> ");
        const QByteArray head = arrow > 0 ? line.left(arrow) : line;
        for (qsizetype i = head.indexOf(' '); i >= 0; i = head.indexOf(' ', i + 1)) {
            const auto it = folder.find(head.mid(i + 1));
            if (it != folder.end()) {
                *it = line.startsWith('d') || line.contains("<DIR>");
                break;
            }
        }
    }
    QList<Entry> out;
    for (const QByteArray &name : std::as_const(bare))
        out.append(entry(name, folder.value(name)));
    return out;
}

void sort(QList<Entry> &entries)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
        if (a.folder != b.folder)
            return a.folder;
        const int order = collator.compare(a.name, b.name);
        return order != 0 ? order < 0 : a.raw < b.raw;
    });
}

} // namespace FtpListing
