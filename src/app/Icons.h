#pragma once

#include <QIcon>

// Toolbar and menu pictures: the program's own 16-pixel pictures from the resources
// (":/icons/16/<name>.rgba" and its 32-pixel twin, drawn from resources/icons/toolbar at build time).
namespace Icons {
QIcon get(const char *name);
}
