#include "document/Highlighting.h"

#include "document/LineEnds.h"
#include "document/SourceEditor.h"

#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexerxml.h>

#include <QColor>
#include <QFont>

#include <array>

namespace Highlighting {
namespace {

const char *const kSchemeProperty = "tarnwickScheme";
const char *const kFontProperty = "tarnwickSchemeFont";
const char *const kPlainStylerName = "plainStyler";

// The style every other byte of an uncoloured text gets; it looks exactly like style 0.
constexpr int kTwinStyle = 128;

// Styles the text of an uncoloured document so that the editor measures it quickly. The editor
// measures a line in runs of one style and remembers the widths of short runs only: a long run
// is measured afresh by the toolkit's text layout, about a third of a microsecond per character,
// which for a line of megabytes takes seconds at every layout. Two styles that look the same,
// alternating byte by byte, make every run a single character whose width is already known.
//
// The editor must remember the widths of every character of the line's script: see
// SourceEditor's cache of widths.
//
// Text already there when colouring stops is styled as the editor first shows it: a long line
// further down the page, never styled, would be one long run, measured in seconds at every
// paint (5.5 s for 10 MB). Where styling stopped moves with the edits before it.
//
// After an edit the editor asks for styles again from the edit to the end of the view, but the
// bytes it moved keep the styles they had. Any change of style lays the whole line out again:
// restyling everything would do it for every typed key, and so would styling the typed text
// itself. Short runs of style 0 cost little to measure, even when a lot of typing in one place
// makes them a few thousand bytes long. A long insertion (a paste, a drop) is styled as it goes
// in: the editor lays the caret's line out to show the caret before anything is painted, and a
// pasted line of 10 MB as one run took 4.5 s there.
class PlainStyler : public QObject
{
public:
    explicit PlainStyler(SourceEditor &editor)
        : QObject(&editor), m_editor(editor)
    {
        setObjectName(QLatin1String(kPlainStylerName));
        editor.setReportsEdits(true);
        connect(&editor, &QsciScintillaBase::SCN_STYLENEEDED, this, &PlainStyler::styleTo);
        connect(&editor, &QsciScintillaBase::SCN_MODIFIED, this,
                [this](int position, int type, const char *, int length) { modified(position, type, length); });
    }

    // The next insertion fills the whole document (a file opened): it is styled as it is
    // shown, not all at once.
    void expectFill() { m_fillExpected = true; }
    long styledUpTo() const { return m_unstyled; }

private:
    static constexpr long kChunk = 1 << 16;
    static constexpr long kLeftUnstyled = 4096; // insertions shorter than this keep style 0

    void modified(long position, int type, long length)
    {
        if (type & QsciScintillaBase::SC_MOD_DELETETEXT) {
            if (m_unstyled > position)
                m_unstyled = qMax(position, m_unstyled - length);
            return;
        }
        if (!(type & QsciScintillaBase::SC_MOD_INSERTTEXT))
            return;
        if (m_fillExpected) {
            m_fillExpected = false;
            m_unstyled = position;
            return;
        }
        // Bytes typed where styling stopped (at the end of a line shown to its end) belong to
        // the styled text: styling them would lay their line out again.
        if (position < m_unstyled || (position == m_unstyled && m_unstyled > 0))
            m_unstyled += length;
        if (length < kLeftUnstyled)
            return;
        // Styling moves where the editor thinks styling stopped: that is put back, for the
        // editor to ask for the rest as it shows it. Inserted where nothing is styled yet, the
        // text is styled again with the rest when shown: moving where styling stopped past it
        // saved that once, but made each key typed after it lay the line out again at its
        // paint (0.4 s instead of 0.12 s for 10 MB).
        const long endStyled = m_editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
        styleFollowing(position, position + length);
        m_editor.SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, ulong(endStyled), 0L);
    }

    void styleTo(int position)
    {
        if (m_unstyled < position) {
            styleFollowing(m_unstyled, position);
            m_unstyled = position;
        }
        // Everything else up to `position` has kept its styles.
        m_editor.SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, ulong(position), 0L);
    }

    // Alternating styles over [from, to), the first byte unlike the one before it.
    void styleFollowing(long from, long to)
    {
        const long before = from > 0 ? m_editor.SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, ulong(from - 1)) : kTwinStyle;
        style(from, to, before == kTwinStyle ? 0 : 1);
    }

    // Alternating styles over [from, to), the first byte the twin style when `parity` is 1.
    void style(long from, long to, int parity)
    {
        static const std::array<char, kChunk + 1> pattern = [] {
            std::array<char, kChunk + 1> bytes{};
            for (std::size_t i = 1; i < bytes.size(); i += 2)
                bytes[i] = char(kTwinStyle);
            return bytes;
        }();
        m_editor.SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, ulong(from), 0L);
        for (long at = from; at < to; at += kChunk) {
            const long n = qMin<long>(kChunk, to - at);
            m_editor.SendScintilla(QsciScintillaBase::SCI_SETSTYLINGEX, ulong(n), pattern.data() + ((at - from + parity) & 1));
        }
    }

    SourceEditor &m_editor;
    long m_unstyled = 0; // the text from here on has not been styled yet
    bool m_fillExpected = false;
};

PlainStyler *plainStyler(const SourceEditor &editor)
{
    return static_cast<PlainStyler *>(editor.findChild<QObject *>(QLatin1String(kPlainStylerName), Qt::FindDirectChildrenOnly));
}


void copyStyle(SourceEditor &editor, int from, int to)
{
    using Base = QsciScintillaBase;
    char face[256] = {};
    editor.SendScintilla(Base::SCI_STYLEGETFONT, ulong(from), face);
    editor.SendScintilla(Base::SCI_STYLESETFONT, ulong(to), face);
    for (const auto &[get, set] : {std::pair{Base::SCI_STYLEGETSIZEFRACTIONAL, Base::SCI_STYLESETSIZEFRACTIONAL},
                                   {Base::SCI_STYLEGETWEIGHT, Base::SCI_STYLESETWEIGHT},
                                   {Base::SCI_STYLEGETITALIC, Base::SCI_STYLESETITALIC},
                                   {Base::SCI_STYLEGETUNDERLINE, Base::SCI_STYLESETUNDERLINE},
                                   {Base::SCI_STYLEGETFORE, Base::SCI_STYLESETFORE},
                                   {Base::SCI_STYLEGETBACK, Base::SCI_STYLESETBACK},
                                   {Base::SCI_STYLEGETEOLFILLED, Base::SCI_STYLESETEOLFILLED},
                                   {Base::SCI_STYLEGETCHARACTERSET, Base::SCI_STYLESETCHARACTERSET},
                                   {Base::SCI_STYLEGETCASE, Base::SCI_STYLESETCASE}})
        editor.SendScintilla(set, ulong(to), editor.SendScintilla(get, ulong(from)));
}

void suspend(SourceEditor &editor)
{
    // The scheme's lexer object stays attached, keeping the look of its default style.
    editor.SendScintilla(QsciScintillaBase::SCI_SETLEXER, ulong(QsciScintillaBase::SCLEX_CONTAINER));
    copyStyle(editor, 0, kTwinStyle);
    // Text coloured until now (before a long paste) loses its colours, and is styled anew as
    // it is shown.
    editor.SendScintilla(QsciScintillaBase::SCI_CLEARDOCUMENTSTYLE);
    editor.SendScintilla(QsciScintillaBase::SCI_STARTSTYLING, 0UL, 0L);
    new PlainStyler(editor);
}

// Scintilla's pure-PHP lexer ("phpscript") has no QScintilla class: it is chosen by name and
// given its colours here. Style numbers are Scintilla's SCE_HPHP_* values.
void applyPhpScript(SourceEditor &editor, const QFont &font)
{
    editor.setLexer(nullptr);
    editor.SendScintilla(QsciScintillaBase::SCI_SETLEXERLANGUAGE, 0UL, "phpscript");
    editor.SendScintilla(QsciScintillaBase::SCI_STYLERESETDEFAULT);
    const QByteArray family = font.family().toUtf8();
    editor.SendScintilla(QsciScintillaBase::SCI_STYLESETFONT, QsciScintillaBase::STYLE_DEFAULT, family.constData());
    editor.SendScintilla(QsciScintillaBase::SCI_STYLESETSIZEFRACTIONAL, QsciScintillaBase::STYLE_DEFAULT,
                         long(font.pointSizeF() * 100));
    editor.SendScintilla(QsciScintillaBase::SCI_STYLECLEARALL);
    editor.SendScintilla(QsciScintillaBase::SCI_SETKEYWORDS, 4UL,
                         "and array as break case catch class clone const continue declare default do "
                         "echo else elseif empty endfor endforeach endif endswitch endwhile eval exit "
                         "extends final finally for foreach function global if implements include "
                         "include_once instanceof interface isset list namespace new or print private "
                         "protected public require require_once return static switch throw trait try "
                         "unset use var while xor yield true false null");
    const struct { int style; QRgb colour; bool bold; bool italic; } styles[] = {
        {118, 0x000033, false, false}, // default
        {119, 0x007F00, false, false}, // "string"
        {120, 0x009F00, false, false}, // 'string'
        {121, 0x00007F, true, false},  // keyword
        {122, 0xCC3300, false, false}, // number
        {123, 0x00007F, false, true},  // $variable
        {124, 0x999999, false, true},  // /* comment */
        {125, 0x666666, false, true},  // // comment
        {126, 0x00007F, false, true},  // variable in a string
        {127, 0x000000, false, false}, // operator
    };
    for (const auto &s : styles) {
        editor.SendScintilla(QsciScintillaBase::SCI_STYLESETFORE, ulong(s.style), QColor(s.colour));
        editor.SendScintilla(QsciScintillaBase::SCI_STYLESETBOLD, ulong(s.style), long(s.bold));
        editor.SendScintilla(QsciScintillaBase::SCI_STYLESETITALIC, ulong(s.style), long(s.italic));
    }
    editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL, -1L);
}

} // namespace

void apply(SourceEditor &editor, Scheme scheme, const QFont &font)
{
    editor.setProperty(kSchemeProperty, int(scheme));
    editor.setProperty(kFontProperty, font);
    if (isSuspended(editor))
        return;
    QsciLexer *old = editor.lexer();
    QsciLexer *lexer = nullptr;
    switch (scheme) {
    case Scheme::Html: lexer = new QsciLexerHTML(&editor); break;
    case Scheme::Css: lexer = new QsciLexerCSS(&editor); break;
    case Scheme::Xml: {
        auto *xml = new QsciLexerXML(&editor);
        xml->setScriptsStyled(false);
        lexer = xml;
        break;
    }
    case Scheme::Php: break;
    }
    if (lexer) {
        lexer->setDefaultFont(font);
        lexer->setFont(font, -1);
        editor.setLexer(lexer);
    } else {
        applyPhpScript(editor, font);
    }
    if (old && old != lexer)
        old->deleteLater();
    editor.setEditorFont(font);
}

Scheme current(const SourceEditor &editor)
{
    return Scheme(editor.property(kSchemeProperty).toInt());
}

bool isSuspended(const SourceEditor &editor)
{
    return plainStyler(editor) != nullptr;
}

qsizetype styledUpTo(const SourceEditor &editor)
{
    const PlainStyler *styler = plainStyler(editor);
    return styler ? styler->styledUpTo() : -1;
}

void fitToLineLengths(SourceEditor &editor, const char *text, qsizetype length, char eol)
{
    const bool longLines = LineEnds::hasLineOfAtLeast(text, length, eol, kLongLine);
    if (longLines) {
        if (!isSuspended(editor))
            suspend(editor);
        plainStyler(editor)->expectFill();
        return;
    }
    if (!isSuspended(editor))
        return;
    delete plainStyler(editor);
    editor.setReportsEdits(false);
    const QVariant font = editor.property(kFontProperty);
    if (font.isValid())
        apply(editor, current(editor), font.value<QFont>());
    else
        editor.SendScintilla(QsciScintillaBase::SCI_CLEARDOCUMENTSTYLE);
}

bool makesLongLine(const char *text, qsizetype length, qsizetype before, qsizetype after)
{
    // The text's line ends are any of CR and LF: the editor makes them the document's own.
    qsizetype run = before;
    for (const char *c = text, *end = text + length; c != end; ++c) {
        if (*c == '\n' || *c == '\r') {
            if (run >= kLongLine)
                return true;
            run = 0;
        } else {
            ++run;
        }
    }
    return run + after >= kLongLine;
}

void fitToInsertion(SourceEditor &editor, const char *text, qsizetype length, qsizetype before, qsizetype after)
{
    if (!isSuspended(editor) && makesLongLine(text, length, before, after))
        suspend(editor);
}

} // namespace Highlighting
