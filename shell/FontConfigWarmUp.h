#pragma once
// Reads the system's font configuration on a thread of its own while the
// application connects to the display. The window's first text would
// otherwise wait for it (parsing the configuration files and font caches is a
// large part of start-up); the toolkit then finds it loaded and uses it as it
// is. Where the font library is not in the process, nothing happens.

#include <thread>

class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();  // waits for the thread

    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

    // Waits until the configuration is read (at once when it already is, or
    // when nothing was started).
    void wait();
    // True when a thread was started.
    bool started() const { return m_started; }

private:
    std::thread m_thread;
    bool m_started = false;
};
