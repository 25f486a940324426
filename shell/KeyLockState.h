#pragma once
// Caps Lock, Num Lock and Scroll Lock as the keyboard shows them, for the
// status bar's indicator panes. On Windows the system's key state; on Linux
// the keyboard lights the kernel exposes under /sys/class/leds (all off when
// none can be read).

#include <functional>

struct KeyLockState {
    bool caps = false;
    bool num = false;
    bool scroll = false;
    bool operator==(const KeyLockState&) const = default;
};

namespace keylocks {
KeyLockState current();
// Tests stand in for the keyboard; an empty function restores the system's.
void setSource(std::function<KeyLockState()> source);
}  // namespace keylocks
