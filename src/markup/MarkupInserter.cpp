#include "markup/MarkupInserter.h"

#include "document/SourceEditor.h"

#include <QSettings>

namespace {

const QString kAtCaretKey = QStringLiteral("Markup/AtCaret");

QSettings settings()
{
    return QSettings(QStringLiteral("Tarnwick"), QStringLiteral("Tarnwick"));
}

} // namespace

MarkupInserter::MarkupInserter(SourceEditor &editor)
    : m_editor(editor), m_atCaret(settings().value(kAtCaretKey, false).toBool())
{
}

void MarkupInserter::setAtCaret(bool on)
{
    m_atCaret = on;
    settings().setValue(kAtCaretKey, on);
}

void MarkupInserter::insertCommand(const Markup::Command &command)
{
    if (m_atCaret) {
        insertAtCaret(CaretMarkup::ofCommand(command));
        return;
    }
    if (command.placement == Markup::Placement::Head) {
        m_editor.insertLine(Markup::kHeadIndex, command.lines.constFirst());
        return;
    }
    for (const QString &line : command.lines)
        m_editor.appendLine(line);
}

void MarkupInserter::insertBuiltLine(const QString &line)
{
    if (m_atCaret)
        insertAtCaret(CaretMarkup::ofBuiltText(line));
    else
        m_editor.appendLine(line);
}

void MarkupInserter::insertAtCaret(const CaretMarkup::Shape &shape)
{
    using CaretMarkup::Where;
    const CaretMarkup::Plan p = CaretMarkup::plan(shape, m_editor.mainSelectionText());
    switch (p.where) {
    case Where::Selection: m_editor.replaceSelection(p.before, p.middle, p.after); break;
    case Where::BelowCaretLine: m_editor.insertBelowCaretLine(p.before, p.middle, p.after, p.takesSelection); break;
    case Where::HeadLine: m_editor.insertLineAsEdit(Markup::kHeadIndex, p.text()); break;
    }
}
