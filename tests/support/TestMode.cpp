#include <QStandardPaths>

// Linked into every test program: Qt's standard folders (cache, configuration, data) point at
// test-only locations, so no test reads or writes the user's own.
namespace {
const bool kTestMode = [] {
    QStandardPaths::setTestModeEnabled(true);
    return true;
}();
} // namespace
