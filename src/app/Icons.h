#pragma once

#include <QIcon>

// Toolbar and menu pictures: the desktop theme's icon where it has one, else our own drawing.
namespace Icons {
QIcon get(const char *name);
}
