#include "app/PageDialogBox.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

PageDialogBox::PageDialogBox(const Dialogs::PageQuestion &question, QWidget *parent) : QDialog(parent)
{
    using Kind = Dialogs::PageQuestion::Kind;
    setObjectName(QStringLiteral("PageDialog"));
    setWindowTitle(QStringLiteral("Podgląd"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto *layout = new QVBoxLayout(this);

    // The page's text is data: never read as markup.
    auto *message = new QLabel(question.message, this);
    message->setObjectName(QStringLiteral("PageDialogMessage"));
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(message);

    if (question.kind == Kind::Prompt) {
        m_text = new QLineEdit(question.defaultText, this);
        m_text->setObjectName(QStringLiteral("PageDialogText"));
        m_text->setMaxLength(std::numeric_limits<int>::max());
        layout->addWidget(m_text);
    }
    if (question.offerSilence) {
        m_silence = new QCheckBox(QStringLiteral("Nie pokazuj więcej okien z tej strony"), this);
        m_silence->setObjectName(QStringLiteral("PageDialogSilence"));
        layout->addWidget(m_silence);
    }

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    if (question.kind != Kind::Alert)
        buttons->addButton(QStringLiteral("Anuluj"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

Dialogs::PageAnswer PageDialogBox::ask(const Dialogs::PageQuestion &question, QWidget *parent)
{
    QPointer<PageDialogBox> box = new PageDialogBox(question, parent);
    QEventLoop wait;
    connect(box, &QDialog::finished, &wait, &QEventLoop::quit);
    if (question.scope)
        connect(question.scope, &QObject::destroyed, box, &QDialog::reject);
    box->setWindowModality(Qt::NonModal);
    box->show();
    box->raise();
    box->activateWindow();
    // Ends early when the program quits: quitting ends every running event loop.
    wait.exec();
    Dialogs::PageAnswer answer;
    if (box) {
        answer.accepted = box->result() == QDialog::Accepted;
        if (answer.accepted && box->m_text)
            answer.text = box->m_text->text();
        // The choice holds whichever way the box was closed, as in browsers.
        answer.silence = box->m_silence && box->m_silence->isChecked();
        delete box;
    }
    return answer;
}
