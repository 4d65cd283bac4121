#pragma once

#include "document/TextEncoding.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>

// Turns a document's bytes into the editor's UTF-8 text and back, in the document's encoding.
namespace DocumentCodec {

using TextEncoding::Encoding;

// A character the encoding cannot hold, and its line (counted from 1).
struct Unencodable {
    char32_t character = 0;
    int line = 0;
};

struct Encoded {
    QByteArray bytes;
    std::optional<Unencodable> error;
};

// Encodes the editor's UTF-8 text, writing `eol` for every line end found (CR LF, LF or CR).
Encoded encode(Encoding encoding, const char *utf8, std::size_t length, const QByteArray &eol);

// The same in blocks that end after a line end, handing each block's bytes to `write`; stops at
// the first character the encoding cannot hold and returns it. UTF-8 text passes as it is.
std::optional<Unencodable> encodeInBlocks(Encoding encoding, const char *utf8, std::size_t length,
                                          const QByteArray &eol,
                                          const std::function<void(const char *, std::size_t)> &write);

// The first character of the text that the encoding cannot hold, if any.
std::optional<Unencodable> firstUnencodable(Encoding encoding, const char *utf8, std::size_t length);

// Decodes a single-byte document to UTF-8 at `out` (room for three bytes per byte); returns the
// end of what was written. UTF-8 documents need no decoding.
char *toUtf8(Encoding encoding, const char *bytes, std::size_t length, char *out);

// The refusal shown when a character does not fit, naming it, its code and its line.
QString unencodableMessage(const Unencodable &u, Encoding encoding);

} // namespace DocumentCodec
