#pragma once

#include <functional>

class QWidget;

// Where start-up time goes: with TARNWICK_TRACE_STARTUP set, each stage prints the
// milliseconds since main() began to standard error; set to "quit", the program also ends right
// after the first paint (for counting the instructions start-up takes, e.g. under callgrind).
// Without it, nothing is measured.
namespace StartupTrace {

void mark(const char *stage);
// Marks the first paint of a window (once it is done).
void markFirstPaint(QWidget *window);
// Runs `then` once, from the event loop, right after `window` has painted for the first time.
void afterFirstPaint(QWidget *window, std::function<void()> then);

} // namespace StartupTrace
