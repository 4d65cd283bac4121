#include "app/WidgetDialogs.h"

#include "app/PageDialogBox.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

const QString kTitle = QStringLiteral("Tarnwick");

// Search texts, file names and server replies are data: a box never reads its text as markup.
void showPlain(QMessageBox &box)
{
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace

std::optional<QString> WidgetDialogs::openFileName()
{
    QFileDialog dialog(m_parent, QString());
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setDirectory(QDir::currentPath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<Dialogs::SaveChoice> WidgetDialogs::saveFileName(const SaveState &state)
{
    QFileDialog dialog(m_parent, QString());
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The program itself decides about the extension and overwrites without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilters(state.filters);
    if (state.filterIndex >= 1 && state.filterIndex <= state.filters.size())
        dialog.selectNameFilter(state.filters.at(state.filterIndex - 1));
    if (state.fileName.isEmpty())
        dialog.setDirectory(QDir::currentPath());
    else
        dialog.selectFile(state.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    SaveChoice choice;
    choice.fileName = dialog.selectedFiles().constFirst();
    choice.filterIndex = int(state.filters.indexOf(dialog.selectedNameFilter())) + 1;
    return choice;
}

Dialogs::Answer WidgetDialogs::askSaveChanges()
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"),
                    QStringLiteral("Czy zapisać zmiany?"), QMessageBox::NoButton, m_parent);
    QPushButton *yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

void WidgetDialogs::showError(const QString &message)
{
    QMessageBox box(QMessageBox::Critical, kTitle, message, QMessageBox::Ok, m_parent);
    showPlain(box);
}

void WidgetDialogs::showMessage(const QString &message)
{
    QMessageBox box(QMessageBox::NoIcon, kTitle, message, QMessageBox::Ok, m_parent);
    showPlain(box);
}

Dialogs::Trust WidgetDialogs::askTrust(const QString &question)
{
    QMessageBox box(QMessageBox::Warning, kTitle, question, QMessageBox::NoButton, m_parent);
    QPushButton *once = box.addButton(QStringLiteral("Połącz tylko tym razem"), QMessageBox::AcceptRole);
    QPushButton *always = box.addButton(QStringLiteral("Zawsze ufaj"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    showPlain(box);
    if (box.clickedButton() == once)
        return Trust::Once;
    if (box.clickedButton() == always)
        return Trust::Always;
    return Trust::Cancel;
}

Dialogs::PageAnswer WidgetDialogs::askPage(const PageQuestion &question)
{
    return PageDialogBox::ask(question, m_parent);
}
