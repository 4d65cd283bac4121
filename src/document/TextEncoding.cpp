#include "document/TextEncoding.h"

#include "document/TextScan.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace TextEncoding {

namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lower(x) == lower(y); });
}

// The first place at or after `from` where `word` (lower case) stands, in any case.
std::size_t findIgnoringCase(std::string_view text, std::string_view word, std::size_t from)
{
    if (word.empty() || text.size() < word.size())
        return std::string_view::npos;
    const char first = word.front();
    const char upperFirst = char(first - 'a' + 'A');
    for (std::size_t i = from; i + word.size() <= text.size(); ++i) {
        const char c = text[i];
        if ((c == first || c == upperFirst) && equalsIgnoringCase(text.substr(i, word.size()), word))
            return i;
    }
    return std::string_view::npos;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

bool isNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_'
        || c == '.' || c == ':';
}

// The value of `attribute=` inside a tag's text, quoted or not, or nothing.
std::optional<Declaration> valueAfter(std::string_view tag, std::size_t tagOffset, std::string_view attribute)
{
    for (std::size_t at = findIgnoringCase(tag, attribute, 0); at != std::string_view::npos;
         at = findIgnoringCase(tag, attribute, at + 1)) {
        std::size_t i = at + attribute.size();
        while (i < tag.size() && isSpace(tag[i]))
            ++i;
        if (i >= tag.size() || tag[i] != '=')
            continue;
        ++i;
        while (i < tag.size() && isSpace(tag[i]))
            ++i;
        if (i < tag.size() && (tag[i] == '"' || tag[i] == '\''))
            ++i;
        std::size_t end = i;
        while (end < tag.size() && isNameChar(tag[end]))
            ++end;
        if (end > i)
            return Declaration{tagOffset + i, end - i, tag.substr(i, end - i)};
    }
    return std::nullopt;
}

// A tag may run on past the 64 KB window, but not without end.
constexpr std::size_t kLongestTag = 4096;

} // namespace

QString displayName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Windows1250: return QStringLiteral("Windows-1250");
    case Encoding::Iso88592: return QStringLiteral("ISO-8859-2");
    case Encoding::Utf8: return QStringLiteral("UTF-8");
    }
    return QString();
}

std::optional<Encoding> fromName(std::string_view name)
{
    static const std::array<std::pair<std::string_view, Encoding>, 8> aliases = {{
        {"utf-8", Encoding::Utf8},
        {"utf8", Encoding::Utf8},
        {"iso-8859-2", Encoding::Iso88592},
        {"iso8859-2", Encoding::Iso88592},
        {"latin2", Encoding::Iso88592},
        {"windows-1250", Encoding::Windows1250},
        {"cp1250", Encoding::Windows1250},
        {"x-cp1250", Encoding::Windows1250},
    }};
    for (const auto &[alias, encoding] : aliases)
        if (equalsIgnoringCase(name, alias))
            return encoding;
    return std::nullopt;
}

std::vector<Declaration> declarations(const char *text, std::size_t length)
{
    const std::string_view all(text, length);
    const std::size_t window = std::min(length, kDeclarationWindow);
    std::vector<Declaration> found;
    for (std::size_t at = all.find('<'); at != std::string_view::npos && at < window; at = all.find('<', at + 1)) {
        const std::string_view rest = all.substr(at, kLongestTag);
        std::string_view attribute;
        std::string_view close = ">";
        if (rest.size() > 5 && equalsIgnoringCase(rest.substr(0, 5), "<meta")
            && (isSpace(rest[5]) || rest[5] == '/' || rest[5] == '>')) {
            attribute = "charset";
        } else if (rest.size() > 5 && equalsIgnoringCase(rest.substr(0, 5), "<?xml") && isSpace(rest[5])) {
            attribute = "encoding";
            close = "?>";
        } else {
            continue;
        }
        const std::size_t end = rest.find(close);
        if (end == std::string_view::npos)
            continue;
        if (const auto d = valueAfter(rest.substr(0, end), at, attribute))
            found.push_back(*d);
    }
    return found;
}

std::optional<Encoding> declaredIn(const char *text, std::size_t length)
{
    const std::vector<Declaration> found = declarations(text, length);
    if (found.empty())
        return std::nullopt;
    return fromName(found.front().name);
}

QByteArray nameFor(Encoding encoding, std::string_view replaced)
{
    const bool upper = std::any_of(replaced.begin(), replaced.end(), [](char c) { return c >= 'A' && c <= 'Z'; })
        && std::none_of(replaced.begin(), replaced.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    const QByteArray name = displayName(encoding).toLatin1();
    return upper ? name.toUpper() : name.toLower();
}

QByteArray withDeclarationsNaming(const QByteArray &text, Encoding encoding)
{
    const std::vector<Declaration> found = declarations(text.constData(), std::size_t(text.size()));
    if (found.empty())
        return text;
    QByteArray out;
    out.reserve(text.size() + 16 * qsizetype(found.size()));
    std::size_t copied = 0;
    for (const Declaration &d : found) {
        out.append(text.constData() + copied, qsizetype(d.offset - copied));
        out.append(nameFor(encoding, d.name));
        copied = d.offset + d.length;
    }
    out.append(text.constData() + copied, text.size() - qsizetype(copied));
    return out;
}

bool isValidUtf8(const char *bytes, std::size_t length, bool *multiByte)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes);
    const auto *end = p + length;
    bool multi = false;
    while (p < end) {
        // Sixteen ASCII bytes at a time: most of any page.
        while (end - p >= 16
               && ((TextScan::load(reinterpret_cast<const char *>(p))
                    | TextScan::load(reinterpret_cast<const char *>(p + 8))) & TextScan::kHigh) == 0)
            p += 16;
        if (p >= end)
            break;
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        unsigned char low = 0x80, high = 0xBF; // the range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            if (c == 0xE0)
                low = 0xA0; // no overlong forms
            else if (c == 0xED)
                high = 0x9F; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F; // nothing past U+10FFFF
        } else {
            return false;
        }
        if (end - p <= extra || p[1] < low || p[1] > high)
            return false;
        for (int k = 2; k <= extra; ++k)
            if ((p[k] & 0xC0) != 0x80)
                return false;
        p += extra + 1;
        multi = true;
    }
    if (multiByte)
        *multiByte = multi;
    return true;
}

bool hasC1Bytes(const char *bytes, std::size_t length)
{
    std::size_t i = 0;
    // A byte of 0x80..0x9F has its top bit set and the next two clear.
    for (; length - i >= 8; i += 8) {
        const std::uint64_t x = TextScan::load(bytes + i);
        if (x & ~(x << 1) & ~(x << 2) & TextScan::kHigh)
            return true;
    }
    for (; i < length; ++i)
        if ((static_cast<unsigned char>(bytes[i]) & 0xE0) == 0x80)
            return true;
    return false;
}

Detection detect(const char *bytes, std::size_t length)
{
    Detection d;
    if (length >= 3 && std::memcmp(bytes, kUtf8Bom, 3) == 0) {
        d.encoding = Encoding::Utf8;
        d.bom = true;
        d.declared = declaredIn(bytes + 3, length - 3);
        return d;
    }
    const std::vector<Declaration> found = declarations(bytes, length);
    if (!found.empty()) {
        // A declaration of another set opens as Windows-1250, which holds any byte.
        d.declared = fromName(found.front().name);
        if (!d.declared)
            return d;
        switch (*d.declared) {
        case Encoding::Iso88592:
            d.encoding = hasC1Bytes(bytes, length) ? Encoding::Windows1250 : Encoding::Iso88592;
            break;
        case Encoding::Utf8:
            d.encoding = isValidUtf8(bytes, length) ? Encoding::Utf8 : Encoding::Windows1250;
            break;
        case Encoding::Windows1250:
            d.encoding = Encoding::Windows1250;
            break;
        }
        return d;
    }
    bool multiByte = false;
    d.encoding = isValidUtf8(bytes, length, &multiByte) && multiByte ? Encoding::Utf8 : Encoding::Windows1250;
    return d;
}

} // namespace TextEncoding
