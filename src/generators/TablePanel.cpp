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
    Memo2 = new ScintillaView(this);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setAccessibleName(QStringLiteral("Memo2"));
    Memo2->setGeometry(8, 18, 201, 113);
    Memo2->setWrapMode(QsciScintilla::WrapNone);
    Memo2->setEolMode(QsciScintilla::EolUnix);
    Memo2->setMarginWidth(0, 0);
    Memo2->setMarginWidth(1, 0);
    Memo2->setMarginWidth(2, 0);
    Memo2->setFont(font());
    Memo2->setText(TableMarkup::initialPanelLines().join(QLatin1Char('\n')));

    const struct { QPushButton **button; const char *name, *caption; int y; } buttons[] = {
        {&BitBtn11, "BitBtn11", "Utwórz tabele", 18},
        {&BitBtn12, "BitBtn12", "Kopiuj", 52},
        {&BitBtn13, "BitBtn13", "Wyczyść", 86},
    };
    for (const auto &b : buttons) {
        *b.button = new QPushButton(QString::fromUtf8(b.caption), this);
        (*b.button)->setObjectName(QLatin1String(b.name));
        (*b.button)->setGeometry(216, b.y, 113, 28);
        (*b.button)->setAutoDefault(false);
    }

    connect(BitBtn11, &QPushButton::clicked, this, &TablePanel::wizardRequested);
    connect(BitBtn12, &QPushButton::clicked, this, [this] {
        Memo2->selectAll(true);
        QApplication::clipboard()->setText(Memo2->selectedText());
    });
    connect(BitBtn13, &QPushButton::clicked, this, [this] { Memo2->clear(); });

    // The editor component's own menu is English and shows Ctrl+Z and Ctrl+X, which save and
    // close in this window.
    Memo2->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Memo2, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { contextMenu()->popup(Memo2->mapToGlobal(pos)); });
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
                connect(a, &QAction::triggered, Memo2, item.command);
            else
                connect(a, &QAction::triggered, Memo2, [this] { Memo2->selectAll(true); });
        }
    }
    const QList<QAction *> actions = menu->actions();
    const bool selection = Memo2->hasSelectedText();
    actions.at(0)->setEnabled(Memo2->isUndoAvailable());
    actions.at(1)->setEnabled(Memo2->isRedoAvailable());
    actions.at(3)->setEnabled(selection && !Memo2->isReadOnly());
    actions.at(4)->setEnabled(selection);
    actions.at(5)->setEnabled(!Memo2->isReadOnly() && !QApplication::clipboard()->text().isEmpty());
    actions.at(6)->setEnabled(selection && !Memo2->isReadOnly());
    actions.at(8)->setEnabled(Memo2->length() > 0);
    return menu;
}

void TablePanel::appendLines(const QByteArray &utf8)
{
    if (Memo2->length() > 0)
        Memo2->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, uintptr_t(1), "\n");
    Memo2->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, uintptr_t(utf8.size()), utf8.constData());
}

QString TablePanel::text() const
{
    return Memo2->text();
}
