#pragma once

#include <QString>

class QObject;
class QTimer;

// What the folder and file lists share: following the disk, and entering a folder.
namespace DiskWatch {

// A single-shot timer that lets a burst of changes on disk pass before a list follows it.
QTimer *settleTimer(QObject *parent);

// Makes the folder the process's current one and returns it. A folder that has gone is
// replaced by the nearest folder above it that still exists; one that exists but cannot be
// entered is refused (Failure).
QString enterNearestFolder(const QString &path);

} // namespace DiskWatch
