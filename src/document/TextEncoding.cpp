#include "document/TextEncoding.h"

#include "document/TextScan.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

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

bool isValidUtf8Scalar(const char *bytes, std::size_t length, bool *multiByte)
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

namespace {

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define TARNWICK_UTF8_AVX2 1

// UTF-8 validation 32 bytes at a time, after Keiser and Lemire ("Validating UTF-8 in less
// than one instruction per byte"): three table look-ups classify each byte with the one before
// it, and a subtraction marks where the third and fourth bytes of a sequence must stand.
struct Utf8Blocks {
    __m256i previous;
    __m256i error;
    __m256i incomplete;
    bool multi = false;

    __attribute__((target("avx2"), always_inline)) inline void step(__m256i input)
    {
        constexpr char kTooShort = 1 << 0, kTooLong = 1 << 1, kOverlong3 = 1 << 2, kTooLarge = 1 << 3,
                       kSurrogate = 1 << 4, kOverlong2 = 1 << 5, kTooLarge1000 = 1 << 6, kOverlong4 = 1 << 6,
                       kTwoConts = char(1 << 7);
        constexpr char kCarry = kTooShort | kTooLong | kTwoConts;
        const __m256i firstHigh = _mm256_setr_epi8(
            kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
            kTwoConts, kTwoConts, kTwoConts, kTwoConts, kTooShort | kOverlong2, kTooShort,
            kTooShort | kOverlong3 | kSurrogate, kTooShort | kTooLarge | kTooLarge1000 | kOverlong4,
            kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
            kTwoConts, kTwoConts, kTwoConts, kTwoConts, kTooShort | kOverlong2, kTooShort,
            kTooShort | kOverlong3 | kSurrogate, kTooShort | kTooLarge | kTooLarge1000 | kOverlong4);
        const __m256i firstLow = _mm256_setr_epi8(
            kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry, kCarry,
            kCarry | kTooLarge, kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
            kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
            kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
            kCarry | kTooLarge | kTooLarge1000 | kSurrogate, kCarry | kTooLarge | kTooLarge1000,
            kCarry | kTooLarge | kTooLarge1000,
            kCarry | kOverlong3 | kOverlong2 | kOverlong4, kCarry | kOverlong2, kCarry, kCarry,
            kCarry | kTooLarge, kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
            kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
            kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000, kCarry | kTooLarge | kTooLarge1000,
            kCarry | kTooLarge | kTooLarge1000 | kSurrogate, kCarry | kTooLarge | kTooLarge1000,
            kCarry | kTooLarge | kTooLarge1000);
        constexpr char kCont1000 = kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge1000 | kOverlong4;
        constexpr char kCont1001 = kTooLong | kOverlong2 | kTwoConts | kOverlong3 | kTooLarge;
        constexpr char kCont101 = kTooLong | kOverlong2 | kTwoConts | kSurrogate | kTooLarge;
        const __m256i secondHigh = _mm256_setr_epi8(
            kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
            kCont1000, kCont1001, kCont101, kCont101, kTooShort, kTooShort, kTooShort, kTooShort,
            kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
            kCont1000, kCont1001, kCont101, kCont101, kTooShort, kTooShort, kTooShort, kTooShort);
        // A block that ends with a lead byte whose sequence needs more bytes than remain.
        const __m256i incompleteAbove = _mm256_setr_epi8(
            -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
            -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, char(0xEF), char(0xDF), char(0xBF));
        const __m256i nibble = _mm256_set1_epi8(0x0F);
        if (_mm256_movemask_epi8(input) == 0) {
            error = _mm256_or_si256(error, incomplete);
            incomplete = _mm256_setzero_si256();
        } else {
            multi = true;
            const __m256i carried = _mm256_permute2x128_si256(previous, input, 0x21);
            const __m256i prev1 = _mm256_alignr_epi8(input, carried, 15);
            const __m256i prev2 = _mm256_alignr_epi8(input, carried, 14);
            const __m256i prev3 = _mm256_alignr_epi8(input, carried, 13);
            const __m256i special = _mm256_and_si256(
                _mm256_and_si256(
                    _mm256_shuffle_epi8(firstHigh, _mm256_and_si256(_mm256_srli_epi16(prev1, 4), nibble)),
                    _mm256_shuffle_epi8(firstLow, _mm256_and_si256(prev1, nibble))),
                _mm256_shuffle_epi8(secondHigh, _mm256_and_si256(_mm256_srli_epi16(input, 4), nibble)));
            const __m256i third = _mm256_subs_epu8(prev2, _mm256_set1_epi8(char(0xE0 - 0x80)));
            const __m256i fourth = _mm256_subs_epu8(prev3, _mm256_set1_epi8(char(0xF0 - 0x80)));
            const __m256i mustContinue = _mm256_and_si256(_mm256_or_si256(third, fourth), _mm256_set1_epi8(char(0x80)));
            error = _mm256_or_si256(error, _mm256_xor_si256(mustContinue, special));
            incomplete = _mm256_subs_epu8(input, incompleteAbove);
        }
        previous = input;
    }
};

__attribute__((target("avx2"))) bool isValidUtf8Avx2(const char *bytes, std::size_t length, bool *multiByte)
{
    Utf8Blocks blocks;
    blocks.previous = blocks.error = blocks.incomplete = _mm256_setzero_si256();
    std::size_t i = 0;
    for (; length - i >= 32; i += 32) {
        blocks.step(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(bytes + i)));
        // Stop early on an error, but not at every block.
        if ((i & 4095) == 4064 && !_mm256_testz_si256(blocks.error, blocks.error))
            return false;
    }
    // The rest, padded with NUL bytes: they are ASCII, so a sequence cut at the end shows.
    alignas(32) char tail[32] = {};
    std::memcpy(tail, bytes + i, length - i);
    blocks.step(_mm256_load_si256(reinterpret_cast<const __m256i *>(tail)));
    const __m256i error = _mm256_or_si256(blocks.error, blocks.incomplete);
    if (!_mm256_testz_si256(error, error))
        return false;
    if (multiByte)
        *multiByte = blocks.multi;
    return true;
}
#endif

} // namespace

bool isValidUtf8(const char *bytes, std::size_t length, bool *multiByte)
{
#ifdef TARNWICK_UTF8_AVX2
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2)
        return isValidUtf8Avx2(bytes, length, multiByte);
#endif
    return isValidUtf8Scalar(bytes, length, multiByte);
}

bool hasC1Bytes(const char *bytes, std::size_t length)
{
    std::size_t i = 0;
#ifdef __SSE2__
    // Sixteen bytes at a time: a byte of 0x80..0x9F is one whose top three bits are 100.
    const __m128i top3 = _mm_set1_epi8(char(0xE0));
    const __m128i c1 = _mm_set1_epi8(char(0x80));
    for (; length - i >= 64; i += 64) {
        __m128i hit = _mm_setzero_si128();
        for (std::size_t k = 0; k < 64; k += 16) {
            const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i + k));
            hit = _mm_or_si128(hit, _mm_cmpeq_epi8(_mm_and_si128(x, top3), c1));
        }
        if (_mm_movemask_epi8(hit))
            return true;
    }
#endif
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
