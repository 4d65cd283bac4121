#include "document/DocumentFile.h"

#include "core/Failure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace DocumentFile {

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

Failure notARegularFile(const QString &path)
{
    return Failure(QStringLiteral("„%1” nie jest zwykłym plikiem, lecz folderem, potokiem, urządzeniem lub gniazdem. "
                                  "Tarnwick otwiera i zapisuje tylko zwykłe pliki.")
                       .arg(native(path)));
}

// The operating system's reason for the last failure, where Qt's own text says nothing.
QString reason(const QFileDevice &file, int error)
{
    const QString said = file.errorString();
    if (error != 0 && (said.isEmpty() || said == QLatin1String("Unknown error")))
        return qt_error_string(error);
    return said;
}

// Opens a file for reading only if it is a regular file, without blocking on a pipe.
void openRegular(QFile &file, const QString &path)
{
    const auto cannotOpen = [&](const QString &why) {
        return Failure(QStringLiteral("Cannot open file \"%1\". %2").arg(native(path), why));
    };
#ifdef Q_OS_UNIX
    // Told apart before opening: opening a socket fails, and opening a pipe waits for a writer.
    struct stat before {};
    if (::stat(QFile::encodeName(path).constData(), &before) == 0 && !S_ISREG(before.st_mode) && !S_ISDIR(before.st_mode))
        throw notARegularFile(path);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == EISDIR)
            throw cannotOpen(QStringLiteral("Is a directory"));
        throw cannotOpen(qt_error_string(error));
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        if (S_ISDIR(st.st_mode))
            throw cannotOpen(QStringLiteral("Is a directory"));
        throw notARegularFile(path);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        throw cannotOpen(file.errorString());
    }
#else
    const QFileInfo info(path);
    if (info.isDir())
        throw cannotOpen(QStringLiteral("Is a directory"));
    if (info.exists() && !info.isFile())
        throw notARegularFile(path);
    if (!file.open(QIODevice::ReadOnly))
        throw cannotOpen(file.errorString());
#endif
}

using Producer = std::function<std::optional<QString>(const std::function<bool(const char *, std::size_t)> &)>;

Failure tooLarge(const QString &path, qint64 size)
{
    return Failure(QStringLiteral("Plik „%1” ma %2 MB; Tarnwick otwiera pliki do %3 MB.")
                       .arg(native(path), QString::number(size >> 20), QString::number(kMaxSize >> 20)));
}

// Where no temporary file can be made beside the target (a folder the user may not add
// files to), the file itself is rewritten: the whole text is made first, so that a refusal
// leaves the old file as it was.
void writeInPlace(const QString &path, const Producer &produce)
{
    QByteArray all;
    if (const std::optional<QString> refusal = produce([&](const char *bytes, std::size_t size) {
            all.append(bytes, qsizetype(size));
            return true;
        }))
        throw Failure(*refusal);
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)
        || file.write(all) != all.size() || !file.flush())
        throw Failure(QStringLiteral("Cannot create file \"%1\". %2").arg(native(path), reason(file, errno)));
    file.close();
}

} // namespace

Contents read(const QString &path)
{
    QFile file;
    openRegular(file, path);
    const auto readFailure = [&] {
        return Failure(QStringLiteral("Cannot read file \"%1\". %2").arg(native(path), file.errorString()));
    };
    Contents contents;
    qint64 size = file.size();
    if (!withinSizeLimit(size))
        throw tooLarge(path, size);
    if (size == 0) {
        // Kernel files tell no size: read what they give, within the same bound.
        const QByteArray all = file.read(kMaxSize + 1);
        if (file.error() != QFileDevice::NoError)
            throw readFailure();
        if (!withinSizeLimit(all.size()))
            throw tooLarge(path, all.size());
        contents.bytes = std::make_unique<LargeBuffer>(std::size_t(all.size()) + 8);
        std::memcpy(contents.bytes->data(), all.constData(), std::size_t(all.size()));
        contents.size = std::size_t(all.size());
        return contents;
    }
    // Only what the file held when opened is read; a file that grows meanwhile is cut there.
    contents.bytes = std::make_unique<LargeBuffer>(std::size_t(size) + 8);
    qint64 got = 0;
    while (got < size) {
        const qint64 n = file.read(contents.bytes->data() + got, qMin<qint64>(size - got, 1 << 20));
        if (n < 0)
            throw readFailure();
        if (n == 0)
            break;
        got += n;
    }
    contents.size = std::size_t(got);
    return contents;
}

void write(const QString &path, const Producer &produce)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        throw notARegularFile(path);
#ifdef Q_OS_UNIX
    struct stat old {};
    const bool replacing = ::stat(QFile::encodeName(path).constData(), &old) == 0 && S_ISREG(old.st_mode);
#endif
    const auto cannotCreate = [&](const QString &why) {
        return Failure(QStringLiteral("Cannot create file \"%1\". %2").arg(native(path), why));
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        if (!target.isFile())
            throw cannotCreate(reason(file, error));
        writeInPlace(path, produce);
        return;
    }
    QString writeError;
    const std::optional<QString> refusal = produce([&](const char *bytes, std::size_t size) {
        if (!writeError.isEmpty())
            return false;
        errno = 0;
        if (file.write(bytes, qint64(size)) == qint64(size))
            return true;
        writeError = reason(file, errno);
        return false;
    });
    if (refusal || !writeError.isEmpty()) {
        file.cancelWriting();
        if (refusal)
            throw Failure(*refusal);
        throw cannotCreate(writeError);
    }
    errno = 0;
    if (!file.commit())
        throw cannotCreate(reason(file, errno));
#ifdef Q_OS_UNIX
    // The new file is the process's; give it back to the old file's owner and mode. Only a
    // privileged process can change the owner; for others that step fails and is let be.
    if (replacing) {
        const QByteArray name = QFile::encodeName(path);
        if (::chown(name.constData(), old.st_uid, old.st_gid) != 0)
            (void)::chown(name.constData(), uid_t(-1), old.st_gid);
        ::chmod(name.constData(), old.st_mode & 07777);
    }
#endif
}

} // namespace DocumentFile
