#include "generators/TablePanel.h"

#include "generators/TableMarkup.h"

#include <QApplication>
#include <QClipboard>
#include "document/ScintillaView.h"

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
