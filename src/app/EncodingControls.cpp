#include "app/EncodingControls.h"

#include "app/CommandBars.h"
#include "document/SourceEditor.h"

#include <QAction>
#include <QLabel>
#include <QScopeGuard>
#include <QStatusBar>

namespace {

struct Entry {
    Commands::Id id;
    const char *control;
    TextEncoding::Encoding encoding;
};

constexpr Entry kEntries[] = {
    {Commands::Id::EncodingWindows1250, "Windows12501", TextEncoding::Encoding::Windows1250},
    {Commands::Id::EncodingIso88592, "ISO885921", TextEncoding::Encoding::Iso88592},
    {Commands::Id::EncodingUtf8, "UTF81", TextEncoding::Encoding::Utf8},
};

} // namespace

EncodingControls::EncodingControls(SourceEditor &editor, const CommandBars &bars, QStatusBar *status)
    : QObject(status), m_editor(editor), m_bars(bars), m_label(new QLabel(status))
{
    m_label->setObjectName(QStringLiteral("StatusEncoding"));
    m_label->setAccessibleDescription(QStringLiteral("Kodowanie dokumentu"));
    m_label->setContentsMargins(6, 0, 6, 0); // clear of the size grip
    status->addPermanentWidget(m_label);
    connect(&m_editor, &SourceEditor::encodingChanged, this, &EncodingControls::show);
    show();
}

void EncodingControls::convert(Commands::Id entry)
{
    // A checkable entry ticks itself when chosen; the tick is put back to the document's
    // encoding also when the conversion is refused.
    const auto retick = qScopeGuard([this] { show(); });
    for (const Entry &e : kEntries)
        if (e.id == entry)
            m_editor.convertTo(e.encoding);
}

void EncodingControls::show()
{
    const TextEncoding::Encoding encoding = m_editor.encoding();
    m_label->setText(TextEncoding::displayName(encoding)
                     + (m_editor.hasByteOrderMark() ? QStringLiteral("+BOM") : QString()));
    for (const Entry &e : kEntries)
        if (QAction *a = m_bars.action(QLatin1String(e.control)))
            a->setChecked(e.encoding == encoding);
}
