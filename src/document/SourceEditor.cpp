#include "document/SourceEditor.h"

#include "core/Failure.h"
#include "document/DocumentCodec.h"
#include "document/DocumentFile.h"
#include "document/Highlighting.h"
#include "document/LargeBuffer.h"
#include "document/LineEnds.h"
#include "document/Search.h"
#include "document/TextScan.h"

#include <Qsci/qscilexer.h>

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <memory>

namespace {

// Normalises every line end of a text to `eol`.
QByteArray withLineEnds(const QByteArray &utf8, const QByteArray &eol)
{
    if (!utf8.contains('\r') && !utf8.contains('\n'))
        return utf8;
    QByteArray out;
    out.reserve(utf8.size() + 16);
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8.at(i);
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < utf8.size() && utf8.at(i + 1) == '\n')
                ++i;
            out.append(eol);
        } else {
            out.append(c);
        }
    }
    return out;
}

} // namespace

SourceEditor::SourceEditor(QWidget *parent)
    : ScintillaView(parent)
{
    setObjectName(QStringLiteral("s"));
    setAccessibleName(QStringLiteral("Kod źródłowy"));
    setUtf8(true);
    setEolMode(EolWindows);
    setEolVisibility(false);
    setWrapMode(WrapNone);
    setMarginLineNumbers(0, true);
    setMarginWidth(0, QStringLiteral("00000"));
    setMarginWidth(1, 0);
    setFolding(NoFoldStyle);
    setTabWidth(8);
    setBraceMatching(NoBraceMatch);
    setAutoIndent(false);
    // A paste or a drop keeps the document's single kind of line end.
    sci(SCI_SETPASTECONVERTENDINGS, 1);
    // The editor remembers the widths of short runs of text it has measured, 1024 of them by
    // default: fewer than the different characters of a page in Chinese, and than the tags and
    // words of a long minified line. Each run it has forgotten is measured afresh at every
    // layout: a 10 MB line in Chinese took 9 s to open and 10 s for each typed key, a key
    // typed into a coloured line of 1 MB took 400 ms. With room for 65,536 runs (a few MB)
    // they take 0.5 s, 0.3 s and 105 ms.
    sci(SCI_SETPOSITIONCACHE, 65536);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char *, int, int, int, int, int, int token, int) {
                if (type & SC_MOD_CONTAINER)
                    onContainerAction(type, token);
            });
}

void SourceEditor::setEditorFont(const QFont &font)
{
    setFont(font);
    QFont gutter = font;
    gutter.setPointSizeF(8.25);
    setMarginsFont(gutter);
}

int SourceEditor::lineCount() const
{
    if (length() > 0)
        m_singleEmptyLine = false;
    else if (!m_singleEmptyLine)
        return 0;
    return int(sci(SCI_GETLINECOUNT));
}

QString SourceEditor::line(int index) const
{
    QString text = QsciScintilla::text(index);
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
        text.chop(1);
    return text;
}

QStringList SourceEditor::lines() const
{
    QStringList out;
    const int n = lineCount();
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out.append(line(i));
    return out;
}

QByteArray SourceEditor::toEditorText(const QString &text) const
{
    return withLineEnds(text.toUtf8(), m_eol);
}

void SourceEditor::insertUnrecorded(qsizetype bytePosition, const QByteArray &utf8)
{
    const bool collecting = sci(SCI_GETUNDOCOLLECTION) != 0;
    sci(SCI_SETUNDOCOLLECTION, 0);
    if (bytePosition >= length())
        SendScintilla(SCI_APPENDTEXT, uintptr_t(utf8.size()), utf8.constData());
    else {
        sci(SCI_SETTARGETRANGE, ulong(bytePosition), long(bytePosition));
        SendScintilla(SCI_REPLACETARGET, uintptr_t(utf8.size()), utf8.constData());
    }
    sci(SCI_SETUNDOCOLLECTION, collecting ? 1 : 0);
}

void SourceEditor::appendLine(const QString &text)
{
    const long caret = sci(SCI_GETCURRENTPOS);
    QByteArray payload = toEditorText(text);
    if (lineCount() > 0)
        payload.prepend(m_eol);
    else if (payload.isEmpty())
        m_singleEmptyLine = true;
    insertUnrecorded(length(), payload);
    m_changedByCommands = true;
    // The caret stays, the selection goes, the view does not follow the new line.
    sci(SCI_SETEMPTYSELECTION, ulong(caret));
}

void SourceEditor::insertLine(int index, const QString &text)
{
    const int count = lineCount();
    if (index < 0 || index > count)
        throw Failure(QStringLiteral("Invalid stringlist index %1").arg(index));
    if (index == count) {
        appendLine(text);
        return;
    }
    const long caret = sci(SCI_GETCURRENTPOS);
    const long caretLine = sci(SCI_LINEFROMPOSITION, ulong(caret));
    const long caretColumn = caret - sci(SCI_POSITIONFROMLINE, ulong(caretLine));
    const long firstVisible = sci(SCI_GETFIRSTVISIBLELINE);

    insertUnrecorded(sci(SCI_POSITIONFROMLINE, ulong(index)), toEditorText(text) + m_eol);
    m_changedByCommands = true;

    // Scintilla records its history as positions in the text; an unrecorded insertion in the
    // middle would make a later Undo or Redo change the wrong characters. Empty the
    // histories instead, keeping the modified flag's value.
    if (sci(SCI_CANUNDO) || sci(SCI_CANREDO)) {
        const bool wasModified = isDocumentModified();
        sci(SCI_EMPTYUNDOBUFFER);
        if (wasModified)
            m_modifiedBeyondHistory = true;
    }
    // The caret keeps its line and column numbers; the text moves under it.
    const long lineStart = sci(SCI_POSITIONFROMLINE, ulong(caretLine));
    const long lineEnd = sci(SCI_GETLINEENDPOSITION, ulong(caretLine));
    sci(SCI_SETEMPTYSELECTION, ulong(qMin(lineStart + caretColumn, lineEnd)));
    sci(SCI_SETFIRSTVISIBLELINE, ulong(firstVisible));
}

QByteArray SourceEditor::fromMimeData(const QMimeData *source, bool &rectangular) const
{
    QByteArray text = ScintillaView::fromMimeData(source, rectangular);
    // A long line coloured by the lexer is measured in runs of a hundred bytes at every paint:
    // a pasted line of 10 MB took 6.5 s to show and 2.7 s for each key typed after it. The
    // colours change only how the text looks, so they may go while the editor is asked for it.
    // The text goes where it is dropped, or in place of the selection.
    const long from = m_dropAt >= 0 ? m_dropAt : sci(SCI_GETSELECTIONSTART);
    const long to = m_dropAt >= 0 ? m_dropAt : sci(SCI_GETSELECTIONEND);
    const long before = from - sci(SCI_POSITIONFROMLINE, ulong(sci(SCI_LINEFROMPOSITION, ulong(from))));
    const long after = sci(SCI_GETLINEENDPOSITION, ulong(sci(SCI_LINEFROMPOSITION, ulong(to)))) - to;
    Highlighting::fitToInsertion(const_cast<SourceEditor &>(*this), text.constData(), text.size(), before, after);
    return text;
}

void SourceEditor::dropEvent(QDropEvent *event)
{
    const QPoint at = event->position().toPoint();
    m_dropAt = sci(SCI_POSITIONFROMPOINT, ulong(at.x()), long(at.y()));
    ScintillaView::dropEvent(event);
    m_dropAt = -1;
}

void SourceEditor::clearAll()
{
    sci(SCI_SETUNDOCOLLECTION, 0);
    sci(SCI_CLEARALL);
    Highlighting::fitToLineLengths(*this, nullptr, 0, m_eol.back());
    sci(SCI_SETUNDOCOLLECTION, 1);
    sci(SCI_EMPTYUNDOBUFFER);
    sci(SCI_MARKERDELETEALL, ulong(-1));
    sci(SCI_SETSAVEPOINT);
    m_singleEmptyLine = false;
    m_modifiedBeyondHistory = false;
    m_changedByCommands = false;
    setEncodingState({});
}

void SourceEditor::replaceBuffer(const QByteArray &utf8)
{
    sci(SCI_SETUNDOCOLLECTION, 0);
    sci(SCI_CLEARALL);
    Highlighting::fitToLineLengths(*this, utf8.constData(), utf8.size(), m_eol.back());
    // Room for the text and for typing after it, made once: growing the buffers later moves
    // the whole document while the user types.
    sci(SCI_ALLOCATE, ulong(utf8.size() + utf8.size() / 16 + 4096));
    // Appended with an explicit length: the text may hold NUL bytes.
    SendScintilla(SCI_APPENDTEXT, uintptr_t(utf8.size()), utf8.constData());
    sci(SCI_SETUNDOCOLLECTION, 1);
}

void SourceEditor::loadFromFile(const QString &path)
{
    // The whole file is read first: its encoding may depend on any of its bytes.
    DocumentFile::Contents contents = DocumentFile::read(path);
    std::unique_ptr<LargeBuffer> &raw = contents.bytes;
    const qsizetype got = qsizetype(contents.size);

    const TextEncoding::Detection detected = TextEncoding::detect(raw->data(), std::size_t(got));
    QByteArray text;
    std::unique_ptr<LargeBuffer> decoded;
    if (detected.encoding == TextEncoding::Encoding::Utf8) {
        // UTF-8 is what the editor holds: the bytes go in as they are.
        const qsizetype skip = detected.bom ? 3 : 0;
        text = QByteArray::fromRawData(raw->data() + skip, got - skip);
    } else {
        decoded = std::make_unique<LargeBuffer>(std::size_t(got) * 3 + 8);
        char *end = DocumentCodec::toUtf8(detected.encoding, raw->data(), std::size_t(got), decoded->data());
        raw.reset();
        text = QByteArray::fromRawData(decoded->data(), end - decoded->data());
    }
    // Line ends pass through as they stand; only a file with mixed ones is rewritten.
    const LineEnds::Analysis ends = LineEnds::analyse(text.constData(), text.size());
    const QByteArray eol = ends.eol;
    if (!ends.uniform)
        text = withLineEnds(text, eol);

    const bool wasModified = isDocumentModified();
    m_eol = eol;
    setEolMode(eol == "\n" ? EolUnix : eol == "\r" ? EolMac : EolWindows);
    replaceBuffer(text);
    sci(SCI_EMPTYUNDOBUFFER);
    m_singleEmptyLine = false;
    // Emptying the history moved Scintilla's save point; the document's own flag keeps its value.
    m_modifiedBeyondHistory = wasModified;
    m_changedByCommands = false;
    showDocumentStart();
    setEncodingState({detected.encoding, detected.bom, detected.declared});
}

void SourceEditor::showDocumentStart()
{
    // Not SCI_GOTOPOS: scrolling to the caret measures the caret's whole line at once, before
    // the colouring has reached it. Uncoloured text is measured in runs too long for the
    // editor's cache of measured words, which for a line of megabytes takes seconds, and the
    // first paint measures the line again once it is coloured.
    sci(SCI_SETEMPTYSELECTION, 0);
    sci(SCI_SETFIRSTVISIBLELINE, 0);
    sci(SCI_SETXOFFSET, 0);
}

const char *SourceEditor::buffer(qsizetype *length) const
{
    *length = sci(SCI_GETLENGTH);
    return static_cast<const char *>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
}

bool SourceEditor::isDocumentModified() const
{
    return m_modifiedBeyondHistory || sci(SCI_GETMODIFY) != 0;
}

void SourceEditor::setDocumentUnmodified()
{
    m_modifiedBeyondHistory = false;
    m_changedByCommands = false;
    sci(SCI_SETSAVEPOINT);
}

QString SourceEditor::documentText() const
{
    qsizetype n = 0;
    const char *p = buffer(&n);
    QString text = QString::fromUtf8(p, n);
    if (m_eol != "\r\n")
        text.replace(QChar(char16_t(m_eol.at(0))), QStringLiteral("\r\n"));
    return text;
}

qsizetype SourceEditor::crlfPositionOf(qsizetype bytePosition) const
{
    qsizetype n = 0;
    const char *p = buffer(&n);
    const std::size_t upTo = std::size_t(qBound<qsizetype>(0, bytePosition, n));
    qsizetype position = qsizetype(TextScan::countCharacters(p, upTo));
    // Each line end counts two characters, whatever the editor holds.
    if (m_eol.size() == 1)
        position += qsizetype(TextScan::countByte(p, upTo, m_eol.at(0)));
    return position;
}

qsizetype SourceEditor::bytePositionOf(qsizetype crlfPosition) const
{
    qsizetype n = 0;
    const char *p = buffer(&n);
    const bool oneByteEol = m_eol.size() == 1;
    const char eolChar = m_eol.at(0);
    // Whole blocks first, then character by character.
    constexpr qsizetype kBlock = 4096;
    qsizetype at = 0, counted = 0;
    while (n - at > kBlock) {
        qsizetype blockChars = qsizetype(TextScan::countCharacters(p + at, kBlock));
        if (oneByteEol)
            blockChars += qsizetype(TextScan::countByte(p + at, kBlock, eolChar));
        // A block must not end inside a character: stop before one that would.
        if (counted + blockChars > crlfPosition || (static_cast<unsigned char>(p[at + kBlock]) & 0xC0) == 0x80)
            break;
        counted += blockChars;
        at += kBlock;
    }
    while (at < n && counted < crlfPosition) {
        const unsigned char c = static_cast<unsigned char>(p[at]);
        counted += (oneByteEol && char(c) == eolChar) ? 2 : 1;
        ++at;
        while (at < n && (static_cast<unsigned char>(p[at]) & 0xC0) == 0x80)
            ++at;
    }
    return at;
}

void SourceEditor::selectRange(qsizetype start, qsizetype length)
{
    const qsizetype from = bytePositionOf(start);
    const qsizetype to = bytePositionOf(start + length);
    sci(SCI_SETSEL, ulong(from), long(to));
}

std::optional<qsizetype> SourceEditor::find(qsizetype crlfStart, const QString &needle, bool matchCase) const
{
    qsizetype n = 0;
    const char *p = buffer(&n);
    const qsizetype from = crlfStart <= 0 ? 0 : bytePositionOf(crlfStart);
    if (crlfStart > 0 && from >= n && crlfStart > crlfPositionOf(n))
        return std::nullopt;
    const QByteArray utf8 = needle.toUtf8();
    const auto hit = Search::find(std::string_view(p, size_t(n)), std::string_view(utf8.constData(), size_t(utf8.size())),
                                  size_t(from), matchCase);
    if (!hit)
        return std::nullopt;
    m_lastHit = {qsizetype(*hit), qsizetype(utf8.size())};
    return crlfPositionOf(qsizetype(*hit));
}

void SourceEditor::selectLastHit()
{
    sci(SCI_SETSEL, ulong(m_lastHit.first), long(m_lastHit.first + m_lastHit.second));
}
