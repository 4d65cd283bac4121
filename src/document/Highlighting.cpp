#include "document/Highlighting.h"

#include "document/SourceEditor.h"

#include <Qsci/qscilexercss.h>
#include <Qsci/qscilexerhtml.h>
#include <Qsci/qscilexerxml.h>

#include <QColor>
#include <QFont>

namespace Highlighting {
namespace {

const char *const kSchemeProperty = "tarnwickScheme";

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
    editor.setProperty(kSchemeProperty, int(scheme));
    editor.setEditorFont(font);
}

Scheme current(const SourceEditor &editor)
{
    return Scheme(editor.property(kSchemeProperty).toInt());
}

} // namespace Highlighting
