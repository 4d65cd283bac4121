#pragma once

class QMainWindow;

// The main window's size, place and maximised state, kept from one run to the next.
namespace WindowState {
// Shows the window as it was when the program last ended; maximised the first time.
void show(QMainWindow &window);
void save(const QMainWindow &window);
} // namespace WindowState
