#include "generators/TablePanel.h"

#include "generators/TableMarkup.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

TablePanel::TablePanel(QWidget *parent)
    : QGroupBox(QStringLiteral("Kreator Tabel:"), parent)
{
    setObjectName(QStringLiteral("GroupBox7"));
    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setAccessibleName(QStringLiteral("Memo2"));
    Memo2->setGeometry(8, 18, 201, 113);
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo2->setPlainText(TableMarkup::initialPanelLines().join(QLatin1Char('\n')));

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
        Memo2->selectAll();
        QApplication::clipboard()->setText(Memo2->textCursor().selection().toPlainText());
    });
    connect(BitBtn13, &QPushButton::clicked, Memo2, &QPlainTextEdit::clear);
}

void TablePanel::appendLines(const QString &text)
{
    if (Memo2->document()->isEmpty()) {
        Memo2->setPlainText(text);
        return;
    }
    QTextCursor cursor(Memo2->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QLatin1Char('\n') + text);
}

QString TablePanel::text() const
{
    return Memo2->toPlainText();
}
