// The document's encoding: which set a save writes, the save itself, and conversions that
// Undo can take back.
#include "document/SourceEditor.h"

#include "core/Failure.h"
#include "document/DocumentCodec.h"
#include "document/DocumentFile.h"

TextEncoding::Encoding SourceEditor::saveEncoding() const
{
    qsizetype n = 0;
    const char *p = buffer(&n);
    const std::optional<TextEncoding::Encoding> declared = TextEncoding::declaredIn(p, std::size_t(n));
    return declared && declared != m_declared ? *declared : m_encoding;
}

void SourceEditor::saveToFile(const QString &path) const
{
    // Encoded and written a block at a time: no second copy of a large document is made.
    qsizetype n = 0;
    const char *p = buffer(&n);
    const TextEncoding::Encoding encoding = saveEncoding();
    const bool bom = encoding == TextEncoding::Encoding::Utf8 && m_bom && m_encoding == encoding;
    DocumentFile::write(path, [&](const std::function<bool(const char *, std::size_t)> &append) -> std::optional<QString> {
        if (bom && !append(TextEncoding::kUtf8Bom, 3))
            return std::nullopt;
        const std::optional<DocumentCodec::Unencodable> error =
            DocumentCodec::encodeInBlocks(encoding, p, std::size_t(n), m_eol, [&](const char *bytes, std::size_t size) {
                append(bytes, size);
            });
        if (error)
            return DocumentCodec::unencodableMessage(*error, encoding);
        return std::nullopt;
    });
}

void SourceEditor::save(const QString &path)
{
    const TextEncoding::Encoding encoding = saveEncoding();
    saveToFile(path);
    setDocumentUnmodified();
    qsizetype n = 0;
    const char *p = buffer(&n);
    const bool bom = m_bom && encoding == m_encoding;
    setEncodingState({encoding, bom, TextEncoding::declaredIn(p, std::size_t(n))});
}

namespace {

// A conversion is recorded in the undo history as a container action whose token holds the
// states before and after it; undoing it puts the encoding back with the text.
constexpr int kConversionMark = 0x40000000;

int packDeclared(std::optional<TextEncoding::Encoding> e)
{
    return e ? int(*e) + 1 : 0;
}

std::optional<TextEncoding::Encoding> unpackDeclared(int bits)
{
    if (bits == 0)
        return std::nullopt;
    return TextEncoding::Encoding(bits - 1);
}

} // namespace

void SourceEditor::convertTo(TextEncoding::Encoding encoding)
{
    if (encoding == m_encoding)
        return;
    qsizetype n = 0;
    const char *p = buffer(&n);
    if (const auto bad = DocumentCodec::firstUnencodable(encoding, p, std::size_t(n)))
        throw Failure(DocumentCodec::unencodableMessage(*bad, encoding));

    // Only the declarations' names change, from the last one back, so that the earlier
    // offsets stay right.
    const std::vector<TextEncoding::Declaration> found = TextEncoding::declarations(p, std::size_t(n));
    std::vector<std::pair<TextEncoding::Declaration, QByteArray>> edits;
    for (const TextEncoding::Declaration &d : found)
        edits.emplace_back(d, TextEncoding::nameFor(encoding, d.name));
    const EncodingState before{m_encoding, m_bom, m_declared};
    const std::optional<TextEncoding::Encoding> declaredAfter = found.empty() ? m_declared : std::optional(encoding);

    sci(SCI_BEGINUNDOACTION);
    for (auto it = edits.rbegin(); it != edits.rend(); ++it) {
        sci(SCI_SETTARGETRANGE, ulong(it->first.offset), long(it->first.offset + it->first.length));
        SendScintilla(SCI_REPLACETARGET, uintptr_t(it->second.size()), it->second.constData());
    }
    const int token = kConversionMark | int(before.encoding) | (int(encoding) << 2)
        | (packDeclared(before.declared) << 4) | (packDeclared(declaredAfter) << 6) | (before.bom ? 1 << 8 : 0);
    sci(SCI_ADDUNDOACTION, ulong(token), 0);
    sci(SCI_ENDUNDOACTION);
    setEncodingState({encoding, false, declaredAfter});
}

void SourceEditor::onContainerAction(int modificationType, int token)
{
    if (!(token & kConversionMark))
        return;
    if (modificationType & SC_PERFORMED_UNDO)
        setEncodingState({TextEncoding::Encoding(token & 3), bool(token & (1 << 8)), unpackDeclared((token >> 4) & 3)});
    else if (modificationType & SC_PERFORMED_REDO)
        setEncodingState({TextEncoding::Encoding((token >> 2) & 3), false, unpackDeclared((token >> 6) & 3)});
}

void SourceEditor::setEncodingState(const EncodingState &state)
{
    const bool changed = state.encoding != m_encoding || state.bom != m_bom;
    m_encoding = state.encoding;
    m_bom = state.bom;
    m_declared = state.declared;
    if (changed)
        emit encodingChanged();
}
