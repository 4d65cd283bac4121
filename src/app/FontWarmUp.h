#pragma once

#include <thread>

// Reads the system's font configuration on another core while the application connects to the
// display: the first font the window asks for would otherwise wait for it on the main thread.
// Wait for it before the first font is used.
class FontWarmUp
{
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    void wait();

private:
    std::thread m_thread;
};
