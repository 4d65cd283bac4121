#pragma once

#include <QObject>

// Gives a control its design name (its objectName) where it is made: accessibility falls back
// to that name and tests find the control by it.
template <typename T>
T *named(T *object, const char *name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}
