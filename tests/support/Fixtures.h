#pragma once

#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "document/SourceEditor.h"
#include "support/Controls.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QTest>
#include <memory>

// The editor's text at start-up and after New.
inline const QStringList kDefaultDocument = {
    "<HTML>",
    "",
    "<HEAD>",
    QString::fromUtf8(" <TITLE>Tytuł strony</TITLE>"),
    " <META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"TEXT/HTML; CHARSET=ISO-8859-2\">",
    " <META NAME=\"GENERATOR\" CONTENT=\"Tarnwick\">",
    QString::fromUtf8(" <META NAME=\"AUTHOR\" CONTENT=\"Imię i nazwisko autora\">"),
    "</HEAD>",
    "",
    "<BODY BGCOLOR=\"#FFFFFF\">",
    QString::fromUtf8(" <!--Tutaj jest miejsce na wpisanie treści dokumentu-->"),
    "</BODY>",
    "",
    "</HTML>",
};

// The program's windows, their modal questions answered by `dialogs`, the main window shown.
inline std::unique_ptr<AppWindows> openProgram(ScriptedDialogs &dialogs)
{
    dialogs = ScriptedDialogs();
    auto windows = std::make_unique<AppWindows>();
    windows->setDialogs(&dialogs);
    windows->main().show();
    return windows;
}

// Clicks a control the way a user reaches it: a menu item or toolbar action, or a button.
// False when the window has no control of that name.
inline bool activate(MainWindow &form, const QString &name)
{
    if (QAction *a = form.action(name)) {
        a->trigger();
        return true;
    }
    if (auto *b = form.findChild<QAbstractButton *>(name)) {
        QTest::mouseClick(b, Qt::LeftButton);
        return true;
    }
    return false;
}

// Puts `lines` in the editor in place of its text.
inline void setDocument(SourceEditor &editor, const QStringList &lines)
{
    editor.clearAll();
    for (const QString &line : lines)
        editor.appendLine(line);
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
