#include "markup/QuickInsertPanel.h"

#include "controls/EntryField.h"
#include "markup/MarkupTable.h"
#include "markup/QuickInsert.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QPushButton>

namespace {

QGroupBox *group(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    return box;
}

QLineEdit *edit(QWidget *parent, const char *name, QRect geometry, const QString &text)
{
    auto *e = new EntryField(text, parent);
    e->setObjectName(QLatin1String(name));
    e->setAccessibleName(QLatin1String(name));
    e->setGeometry(geometry);
    return e;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, QRect geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

QuickInsertPanel::QuickInsertPanel(std::function<void(const QString &)> append, QWidget *parent)
    : QWidget(parent), m_append(std::move(append))
{
    auto *g1 = group(this, "GroupBox1", QStringLiteral("Przechodzący tekst:"), {0, 0, 169, 57});
    m_marqueeText = edit(g1, "Edit1", {8, 24, 121, 21}, QStringLiteral("Witaj na mojej stronie."));
    m_marqueeButton = button(g1, "BitBtn2", QStringLiteral("OK"), {136, 24, 25, 25});

    auto *g2 = group(this, "GroupBox2", QStringLiteral("Obrazek:"), {0, 64, 169, 57});
    m_imageAddress = edit(g2, "Edit2", {8, 24, 121, 21}, Markup::kExampleImage);
    m_imageButton = button(g2, "BitBtn3", QStringLiteral("OK"), {136, 24, 27, 25});

    auto *g3 = group(this, "GroupBox3", QStringLiteral("Film wideo:"), {176, 0, 169, 57});
    m_videoAddress = edit(g3, "Edit3", {8, 24, 121, 21}, Markup::kExampleQuickVideo);
    m_videoButton = button(g3, "BitBtn4", QStringLiteral("OK"), {136, 24, 27, 25});

    auto *g4 = group(this, "GroupBox4", QStringLiteral("Link:"), {176, 64, 169, 57});
    m_linkAddress = edit(g4, "Edit4", {8, 24, 73, 21}, Markup::kExampleSite);
    m_linkText = edit(g4, "Edit5", {88, 24, 41, 21}, QStringLiteral("Tekst"));
    m_linkButton = button(g4, "BitBtn5", QStringLiteral("OK"), {136, 24, 27, 25});

    auto *g5 = group(this, "GroupBox5", QStringLiteral("Komentarz"), {352, 0, 193, 121});
    m_comment = new QPlainTextEdit(QStringLiteral("Komentarz w jednej linii!"), g5);
    m_comment->setObjectName(QStringLiteral("Memo1"));
    m_comment->setAccessibleName(QStringLiteral("Memo1"));
    m_comment->setGeometry(8, 24, 177, 65);
    m_comment->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_comment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_comment->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_comment->setTabChangesFocus(true);
    m_commentButton = button(g5, "BitBtn6", QStringLiteral("Wstaw"), {56, 96, 75, 17});

    connect(m_marqueeButton, &QPushButton::clicked, this, [this] { m_append(QuickInsert::marquee(m_marqueeText->text())); });
    connect(m_imageButton, &QPushButton::clicked, this, [this] { m_append(QuickInsert::image(m_imageAddress->text())); });
    connect(m_videoButton, &QPushButton::clicked, this, [this] { m_append(QuickInsert::video(m_videoAddress->text())); });
    connect(m_linkButton, &QPushButton::clicked, this,
            [this] { m_append(QuickInsert::link(m_linkAddress->text(), m_linkText->text())); });
    connect(m_commentButton, &QPushButton::clicked, this, [this] { m_append(QuickInsert::comment(commentText())); });
}

QString QuickInsertPanel::commentText() const
{
    // The raw text keeps every character (toPlainText() turns a no-break space into a plain
    // one); its paragraphs are separated by U+2029, the line's text uses CR LF.
    QString text = m_comment->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}
