#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line.
namespace CommandLine {

enum class Action { Run, Help, Version, Error };

struct Request {
    Action action = Action::Run;
    QStringList files; // as given, in order
    QString error;     // for Action::Error, Polish
};

// The arguments after the program's name. "--help" and "--version" win over everything else;
// "--" ends the options, so a file may begin with a dash.
Request parse(const QStringList &arguments);

QString helpText();
QString versionText();

} // namespace CommandLine
