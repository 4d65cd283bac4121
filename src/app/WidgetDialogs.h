#pragma once

#include "core/Dialogs.h"

class QWidget;

// The dialogs a user sees: file dialogs and message boxes over the main window.
class WidgetDialogs : public Dialogs
{
public:
    explicit WidgetDialogs(QWidget *parent) : m_parent(parent) {}
    std::optional<QString> openFileName() override;
    std::optional<SaveChoice> saveFileName(const SaveState &state) override;
    Answer askSaveChanges() override;
    void showError(const QString &message) override;
    void showMessage(const QString &message) override;
    Trust askTrust(const QString &question) override;
    PageAnswer askPage(const PageQuestion &question) override;

private:
    QWidget *m_parent;
};
