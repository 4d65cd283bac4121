#pragma once

#include <QString>
#include <QStringList>
#include <vector>

// Every fixed-markup command: the controls that run it, and the lines it adds and where.
namespace Markup {

enum class Placement {
    Append,   // the lines become the new last lines
    Head,     // the one line is inserted before line index 4
};

struct Command {
    QStringList controls; // object names of the menu items and buttons that run it
    Placement placement;
    QStringList lines;
};

inline constexpr int kHeadIndex = 4;

const std::vector<Command> &commands();
// The command a control runs, or nullptr for a control without markup.
const Command *forControl(const QString &objectName);

// Example values the link, image, video and e-mail commands write.
inline const QString kExampleSite = QStringLiteral("http://www.example.com/");
inline const QString kExampleImage = QStringLiteral("http://www.example.com/obrazek.gif");
inline const QString kExampleVideo = QStringLiteral("http://www.example.com/video.avi");
inline const QString kExampleQuickVideo = QStringLiteral("http://www.example.com/film.avi");
inline const QString kExampleEmail = QStringLiteral("autor@example.com");

} // namespace Markup
