#pragma once

#include "app/MainWindow.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QTest>
#include <memory>

// A main window whose modal questions are answered by `dialogs`, shown on the screen.
inline std::unique_ptr<MainWindow> openMainWindow(ScriptedDialogs &dialogs)
{
    dialogs = ScriptedDialogs();
    auto form = std::make_unique<MainWindow>();
    form->setDialogs(&dialogs);
    form->show();
    return form;
}

// Makes a folder the process's current one for a scope, and restores the previous one on the
// way out, also when a failed check leaves the test early.
class CurrentFolder
{
public:
    explicit CurrentFolder(const QString &path) : m_previous(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentFolder() { QDir::setCurrent(m_previous); }
    CurrentFolder(const CurrentFolder &) = delete;
    CurrentFolder &operator=(const CurrentFolder &) = delete;

private:
    QString m_previous;
};
