#pragma once

#include "support/Controls.h"

#include "ftp/FtpPanel.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

// Helpers shared by the FTP tests: files, and a panel driven like a user drives it.
namespace FtpFixture {

inline QByteArray everyByte(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char((i * 7 + i / 256) & 0xFF);
    return data;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Waits for the running operation's end; false when none ended within the bound.
inline bool waitForPanel(FtpPanel &panel)
{
    QSignalSpy spy(&panel, &FtpPanel::operationFinished);
    return spy.wait(60000) && !panel.busy();
}

// Clicks one of the panel's buttons and waits for the operation it starts.
inline bool press(FtpPanel &panel, const char *button)
{
    QTest::mouseClick(control<QPushButton>(&panel, button), Qt::LeftButton);
    return waitForPanel(panel);
}

// Which of "Połącz", "Kopiuj", "Usuń" and "Przerwij" can be pressed, in that order.
inline QList<bool> pressable(const FtpPanel &panel)
{
    QList<bool> states;
    for (const char *name : {"bConnect", "Button6", "Button7", "bAbort"})
        states << control<QPushButton>(&panel, name)->isEnabled();
    return states;
}

inline QString statusLine(const FtpPanel &panel)
{
    return control<QLabel>(&panel, "sBar")->text();
}

inline QListWidget *remoteList(const FtpPanel &panel)
{
    return control<QListWidget>(&panel, "rList");
}

// Fills in the connection fields and clicks "Połącz".
inline bool connectPanel(FtpPanel &panel, ScriptedDialogs &dialogs, const QString &address,
                         const QString &user = QStringLiteral("tester"), const QString &password = QStringLiteral("sekret"))
{
    panel.setDialogs([&dialogs]() -> Dialogs & { return dialogs; });
    control<QLineEdit>(&panel, "eHost")->setText(address);
    control<QLineEdit>(&panel, "eLogin")->setText(user);
    control<QLineEdit>(&panel, "eHaslo")->setText(password);
    return press(panel, "bConnect");
}

} // namespace FtpFixture
