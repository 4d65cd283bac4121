#include "generators/TablePanel.h"

#include "generators/TableMarkup.h"

#include "document/ScintillaView.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>

TablePanel::TablePanel(QWidget *parent)
    : QGroupBox(QStringLiteral("Kreator Tabel:"), parent)
{
    setObjectName(QStringLiteral("GroupBox7"));
    m_box = new ScintillaView(this);
    m_box->setObjectName(QStringLiteral("Memo2"));
    m_box->setAccessibleName(QStringLiteral("Memo2"));
    m_box->setGeometry(8, 18, 201, 113);
    m_box->setWrapMode(QsciScintilla::WrapNone);
    m_box->setEolMode(QsciScintilla::EolUnix);
    m_box->setMarginWidth(0, 0);
    m_box->setMarginWidth(1, 0);
    m_box->setMarginWidth(2, 0);
    // The desktop's own face: the editor component shapes its text, and the windows' bitmap face
    // would draw "HTML" as "H™L" (it maps "TM" to the trade-mark sign).
    m_box->setFont(ScintillaView::hintless(QApplication::font()));
    m_box->setText(TableMarkup::initialPanelLines().join(QLatin1Char('\n')));

    const struct { QPushButton **button; const char *name, *caption; int y; } buttons[] = {
        {&m_createButton, "BitBtn11", "Utwórz tabele", 18},
        {&m_copyButton, "BitBtn12", "Kopiuj", 52},
        {&m_clearButton, "BitBtn13", "Wyczyść", 86},
    };
    for (const auto &b : buttons) {
        *b.button = new QPushButton(QString::fromUtf8(b.caption), this);
        (*b.button)->setObjectName(QLatin1String(b.name));
        (*b.button)->setGeometry(216, b.y, 113, 28);
        (*b.button)->setAutoDefault(false);
    }

    connect(m_createButton, &QPushButton::clicked, this, &TablePanel::wizardRequested);
    connect(m_copyButton, &QPushButton::clicked, this, [this] {
        m_box->selectAll(true);
        QApplication::clipboard()->setText(m_box->selectedText());
    });
    connect(m_clearButton, &QPushButton::clicked, this, [this] { m_box->clear(); });

    // The editor component's own menu is English and shows Ctrl+Z and Ctrl+X, which save and
    // close in this window.
    m_box->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_box, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { contextMenu()->popup(m_box->mapToGlobal(pos)); });
}

QMenu *TablePanel::contextMenu()
{
    // Each item shows the key that does the same in the box: the component's second key for
    // the command wherever the window's menus take the first (Ctrl+Z, Ctrl+X, Ctrl+C, Ctrl+V
    // and Ctrl+A act on the source editor or the window), none where both are taken.
    auto *menu = findChild<QMenu *>(QStringLiteral("Memo2Menu"), Qt::FindDirectChildrenOnly);
    if (!menu) {
        menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("Memo2Menu"));
        const struct { const char *caption; QKeyCombination key; void (QsciScintilla::*command)(); } items[] = {
            {"Cofnij", Qt::ALT | Qt::Key_Backspace, &QsciScintilla::undo},
            {"Ponów", Qt::CTRL | Qt::Key_Y, &QsciScintilla::redo},
            {nullptr, {}, nullptr},
            {"Wytnij", Qt::SHIFT | Qt::Key_Delete, &QsciScintilla::cut},
            {"Kopiuj", Qt::CTRL | Qt::Key_Insert, &QsciScintilla::copy},
            {"Wklej", Qt::SHIFT | Qt::Key_Insert, &QsciScintilla::paste},
            {"Usuń", Qt::Key_Delete, &QsciScintilla::removeSelectedText},
            {nullptr, {}, nullptr},
            {"Zaznacz wszystko", {}, nullptr},
        };
        for (const auto &item : items) {
            if (!item.caption) {
                menu->addSeparator();
                continue;
            }
            QAction *a = menu->addAction(QString::fromUtf8(item.caption));
            if (item.key != QKeyCombination())
                a->setShortcut(QKeySequence(item.key));
            a->setShortcutContext(Qt::WidgetShortcut);
            if (item.command)
                connect(a, &QAction::triggered, m_box, item.command);
            else
                connect(a, &QAction::triggered, m_box, [this] { m_box->selectAll(true); });
        }
    }
    const QList<QAction *> actions = menu->actions();
    const bool selection = m_box->hasSelectedText();
    actions.at(0)->setEnabled(m_box->isUndoAvailable());
    actions.at(1)->setEnabled(m_box->isRedoAvailable());
    actions.at(3)->setEnabled(selection && !m_box->isReadOnly());
    actions.at(4)->setEnabled(selection);
    actions.at(5)->setEnabled(!m_box->isReadOnly() && !QApplication::clipboard()->text().isEmpty());
    actions.at(6)->setEnabled(selection && !m_box->isReadOnly());
    actions.at(8)->setEnabled(m_box->length() > 0);
    return menu;
}

void TablePanel::appendLines(const QByteArray &utf8)
{
    if (m_box->length() > 0)
        m_box->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, uintptr_t(1), "\n");
    m_box->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, uintptr_t(utf8.size()), utf8.constData());
}

QString TablePanel::text() const
{
    return m_box->text();
}
