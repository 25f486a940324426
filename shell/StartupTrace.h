#pragma once
// Start-up timing for scripts/bench-start. With KQ517_STARTUP_TRACE set in the
// environment, each phase of start-up prints its time since main() began on
// standard error, and the line "mapped" goes to standard output once the main
// window is on screen and painted; set to "quit", the program then ends (for
// `perf stat`, which counts a whole process). Without the variable it does nothing.

class QWidget;

namespace StartupTrace {

// Starts the clock; the first call in main().
void begin();
// "startup: <ms> <name>" on standard error.
void phase(const char* name);
// Prints "mapped" after the window's first exposure has been painted.
void watchMapped(QWidget* window);

}  // namespace StartupTrace
