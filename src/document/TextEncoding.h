#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

// The character sets a document can be in, how a file tells which one it is in, and the
// charset declarations inside a page.
namespace TextEncoding {

enum class Encoding { Windows1250, Iso88592, Utf8 };

// "Windows-1250", "ISO-8859-2", "UTF-8": the names the program shows.
QString displayName(Encoding encoding);

// The set a charset name stands for, in any case; nothing for names of other sets.
std::optional<Encoding> fromName(std::string_view name);

// How far into a text a charset declaration is looked for.
constexpr std::size_t kDeclarationWindow = 64 * 1024;

// Where a charset declaration names its set: the name's offset and length in the text.
struct Declaration {
    std::size_t offset = 0;
    std::size_t length = 0;
    std::string_view name;
};

// The charset declarations that begin in the first 64 KB of a text, in order:
// <meta charset=…>, <meta … content="…; charset=…"> and <?xml … encoding="…"?>.
std::vector<Declaration> declarations(const char *text, std::size_t length);

// What the first declaration says, when it names one of the three sets.
std::optional<Encoding> declaredIn(const char *text, std::size_t length);

// The text with every declaration rewritten to name `encoding`, keeping the case style of
// the name it replaces (an upper-case name gets an upper-case one).
QByteArray withDeclarationsNaming(const QByteArray &text, Encoding encoding);
QByteArray nameFor(Encoding encoding, std::string_view replaced);

// Whether bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF); `multiByte` tells whether any character took more than one byte.
bool isValidUtf8(const char *bytes, std::size_t length, bool *multiByte = nullptr);
// The same check a byte at a time, for processors without AVX2.
bool isValidUtf8Scalar(const char *bytes, std::size_t length, bool *multiByte = nullptr);

// Whether any byte lies in 0x80..0x9F, which ISO-8859-2 text never uses.
bool hasC1Bytes(const char *bytes, std::size_t length);

inline constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";

struct Detection {
    Encoding encoding = Encoding::Windows1250;
    bool bom = false;                 // a UTF-8 byte-order mark opens the file
    std::optional<Encoding> declared; // what the file's own declaration says
};

// The encoding a file's bytes are in: a UTF-8 byte-order mark; else a declaration in the first
// 64 KB (ISO-8859-2 with bytes 0x80..0x9F is Windows-1250; UTF-8 that is not valid UTF-8 is
// Windows-1250); else valid UTF-8 with a multi-byte character; else Windows-1250.
Detection detect(const char *bytes, std::size_t length);

} // namespace TextEncoding
