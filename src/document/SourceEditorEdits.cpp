// The source editor's edits that go into the undo history like typing.
#include "document/SourceEditor.h"

#include "core/Failure.h"

namespace {

// Brackets the changes of one edit so that Undo takes them back together. The bracket is
// closed on every way out: left open, it would swallow the next edit into this one, the undo
// entry of an encoding conversion included.
class UndoStep
{
public:
    explicit UndoStep(QsciScintillaBase &editor) : m_editor(editor) { m_editor.SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION); }
    ~UndoStep() { m_editor.SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION); }
    UndoStep(const UndoStep &) = delete;
    UndoStep &operator=(const UndoStep &) = delete;

private:
    QsciScintillaBase &m_editor;
};

struct Range {
    long start;
    long end;
};

// A rectangular or multiple selection counts as its main range only.
Range mainSelection(const QsciScintillaBase &editor)
{
    const unsigned long main = editor.SendScintilla(QsciScintillaBase::SCI_GETMAINSELECTION);
    return {editor.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONNSTART, main),
            editor.SendScintilla(QsciScintillaBase::SCI_GETSELECTIONNEND, main)};
}

void replaceRange(QsciScintillaBase &editor, Range range, const QByteArray &utf8)
{
    editor.SendScintilla(QsciScintillaBase::SCI_SETTARGETRANGE, ulong(range.start), long(range.end));
    editor.SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, uintptr_t(utf8.size()), utf8.constData());
}

// Selects `length` bytes from `start`, the caret at their end, and brings the caret into view
// with the least scrolling the caret policy allows.
void selectAndShow(QsciScintillaBase &editor, long start, long length)
{
    editor.SendScintilla(QsciScintillaBase::SCI_SETSEL, ulong(start), start + length);
    editor.SendScintilla(QsciScintillaBase::SCI_SCROLLCARET);
}

} // namespace

QString SourceEditor::mainSelectionText() const
{
    const Range r = mainSelection(*this);
    return r.end > r.start ? text(int(r.start), int(r.end)) : QString();
}

void SourceEditor::replaceSelection(const QString &before, const QString &middle, const QString &after)
{
    const QByteArray head = toEditorText(before);
    const QByteArray selected = toEditorText(middle);
    const Range r = mainSelection(*this);
    {
        const UndoStep step(*this);
        replaceRange(*this, r, head + selected + toEditorText(after));
    }
    selectAndShow(*this, r.start + long(head.size()), long(selected.size()));
}

void SourceEditor::insertBelowCaretLine(const QString &before, const QString &middle, const QString &after,
                                        bool takeSelection)
{
    QByteArray head = toEditorText(before);
    const QByteArray selected = toEditorText(middle);
    const UndoStep step(*this);
    long caret = sci(SCI_GETCURRENTPOS);
    if (takeSelection) {
        const Range r = mainSelection(*this);
        replaceRange(*this, r, QByteArray());
        caret = r.start;
    }
    const long at = sci(SCI_GETLINEENDPOSITION, ulong(sci(SCI_LINEFROMPOSITION, ulong(caret))));
    // In an empty document the first line is the block's own.
    if (lineCount() > 0)
        head.prepend(m_eol);
    replaceRange(*this, {at, at}, head + selected + toEditorText(after));
    selectAndShow(*this, at + long(head.size()), long(selected.size()));
}

void SourceEditor::insertLineAsEdit(int index, const QString &text)
{
    const int count = lineCount();
    if (index < 0 || index > count)
        throw Failure(QStringLiteral("Invalid stringlist index %1").arg(index));
    QByteArray payload = toEditorText(text);
    long at = 0;
    if (index < count) {
        at = sci(SCI_POSITIONFROMLINE, ulong(index));
        payload.append(m_eol);
    } else {
        at = long(length());
        if (count > 0)
            payload.prepend(m_eol);
    }
    // Scintilla leaves a caret that stands where the text goes in before it; here the caret
    // and the selection keep to the text they were on, which moves down unless the line is
    // appended.
    const bool atMoves = index < count;
    const auto shifted = [&](long position) {
        return position > at || (atMoves && position == at) ? position + long(payload.size()) : position;
    };
    const long anchor = shifted(sci(SCI_GETANCHOR));
    const long caret = shifted(sci(SCI_GETCURRENTPOS));
    {
        const UndoStep step(*this);
        replaceRange(*this, {at, at}, payload);
    }
    sci(SCI_SETSEL, ulong(anchor), caret);
    sci(SCI_SCROLLCARET);
}
