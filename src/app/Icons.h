#pragma once

#include <QIcon>

// Toolbar and menu pictures: the desktop theme's icon where it has one, else the program's
// own 16-pixel picture from the resources (":/icons/<name>.svg").
namespace Icons {
QIcon get(const char *name);
}
