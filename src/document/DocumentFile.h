#pragma once

#include "document/LargeBuffer.h"

#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

// Reading and writing a document's file as a whole, safely: only regular files are read or
// replaced, a write replaces the old file only once the new one is complete, and a failure
// says what the operating system said.
namespace DocumentFile {

// The largest file the editor opens.
inline constexpr qint64 kMaxSize = qint64(1) << 30;
inline constexpr bool withinSizeLimit(qint64 size) { return size <= kMaxSize; }

struct Contents {
    std::unique_ptr<LargeBuffer> bytes; // with 8 spare bytes after `size`
    std::size_t size = 0;
};

// The bytes of a regular file (links followed), read up to the size it had when opened.
// Throws Failure for a missing or unreadable file, a folder, a pipe, a device or a socket,
// and a file over kMaxSize; nothing blocks on a pipe.
Contents read(const QString &path);

// Hands `produce` a function that appends bytes to the new file (false once a write failed);
// `produce` returns a message to give up with, or nothing when all was written. The file is
// replaced only when everything was written; a target that exists and is not a regular
// file is refused. Where no temporary file can be made beside the target, the target is
// written in place. The old file's owner and mode are kept where the process may keep them.
// Throws Failure.
void write(const QString &path,
           const std::function<std::optional<QString>(const std::function<bool(const char *, std::size_t)> &append)> &produce);

} // namespace DocumentFile
