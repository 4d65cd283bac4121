#pragma once

#include <QIcon>

// Toolbar and menu pictures: the program's own 16-pixel pictures from the resources
// (":/icons/<name>.svg").
namespace Icons {
QIcon get(const char *name);
}
