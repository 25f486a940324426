#include "shell/KeyLockState.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

std::function<KeyLockState()>& source()
{
    static std::function<KeyLockState()> s;
    return s;
}

#ifdef Q_OS_WIN
KeyLockState systemState()
{
    // The low bit of the key state is the toggle.
    return {(GetKeyState(VK_CAPITAL) & 1) != 0, (GetKeyState(VK_NUMLOCK) & 1) != 0,
            (GetKeyState(VK_SCROLL) & 1) != 0};
}
#else
// A light is on when any keyboard's light of that name is.
KeyLockState systemState()
{
    KeyLockState state;
    const QDir leds(QStringLiteral("/sys/class/leds"));
    const QStringList names = leds.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        bool* light = nullptr;
        if (name.endsWith(QLatin1String("::capslock")))
            light = &state.caps;
        else if (name.endsWith(QLatin1String("::numlock")))
            light = &state.num;
        else if (name.endsWith(QLatin1String("::scrolllock")))
            light = &state.scroll;
        if (!light || *light)
            continue;
        QFile brightness(leds.filePath(name + QStringLiteral("/brightness")));
        if (brightness.open(QIODevice::ReadOnly))
            *light = brightness.readAll().trimmed().toInt() > 0;
    }
    return state;
}
#endif

}  // namespace

namespace keylocks {

KeyLockState current() { return source() ? source()() : systemState(); }

void setSource(std::function<KeyLockState()> s) { source() = std::move(s); }

}  // namespace keylocks
