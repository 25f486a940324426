#include "shell/StartupTrace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

QElapsedTimer g_clock;
bool g_enabled = false;
bool g_quitWhenMapped = false;  // KQ517_STARTUP_TRACE=quit: ends once mapped (perf stat)

// Watches the window's native window for its first exposure. The line is
// printed from the event queue, after the exposure's first paint.
class MappedWatcher : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = qobject_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed()) {
            window->removeEventFilter(this);
            QMetaObject::invokeMethod(
                this,
                [this] {
                    StartupTrace::phase("mapped");
                    std::fputs("mapped\n", stdout);
                    std::fflush(stdout);
                    deleteLater();
                    if (g_quitWhenMapped)
                        QCoreApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

}  // namespace

namespace StartupTrace {

void begin()
{
    g_enabled = qEnvironmentVariableIsSet("KQ517_STARTUP_TRACE");
    g_quitWhenMapped = qgetenv("KQ517_STARTUP_TRACE") == "quit";
    if (g_enabled)
        g_clock.start();
}

void phase(const char* name)
{
    if (!g_enabled)
        return;
    std::fprintf(stderr, "startup: %7.1f ms  %s\n", g_clock.nsecsElapsed() / 1e6, name);
}

void watchMapped(QWidget* window)
{
    if (!g_enabled || !window)
        return;
    window->winId();  // makes the native window, so there is one to watch
    if (QWindow* native = window->windowHandle())
        native->installEventFilter(new MappedWatcher(native));
}

}  // namespace StartupTrace
