#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

// Linked into every test program: Qt's standard folders (cache, configuration, data) point at
// test-only locations, so no test reads or writes the user's own. Settings go to a folder of
// this process's own: test programs run side by side, and one program's remembered window
// or FTP settings must not leak into another's.
namespace {
const bool kTestMode = [] {
    QStandardPaths::setTestModeEnabled(true);
    static QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
    return true;
}();
} // namespace
