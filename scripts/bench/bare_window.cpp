// kq517-bench-barewindow: the yardstick of scripts/bench-start. An empty
// maximised QMainWindow with the program's six menus (File, Edit, Program,
// View, Setup, Help, 42 commands) built from QMenu and QAction as the program
// builds its own, and nothing else. Started with KQ517_STARTUP_TRACE set it
// prints "mapped" once on screen, as the program does.

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "shell/StartupTrace.h"

int main(int argc, char* argv[])
{
    StartupTrace::begin();
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("KQ_517"));
    // The program's restored size: where no window manager maximises them,
    // both windows keep it, so the two paint and hold the same area.
    window.resize(1000, 600);

    struct Menu {
        const char* title;
        int commands;
    };
    const Menu menus[] = {{"&File", 15}, {"&Edit", 16}, {"&Program", 3},
                          {"&View", 3},  {"&Setup", 4}, {"&Help", 1}};
    auto* bar = new QMenuBar(&window);
    for (const Menu& m : menus) {
        auto* menu = new QMenu(QString::fromLatin1(m.title), bar);
        for (int i = 0; i < m.commands; ++i) {
            QAction* action = menu->addAction(QStringLiteral("Command %1").arg(i + 1));
            action->setStatusTip(QStringLiteral("What command %1 does").arg(i + 1));
            QObject::connect(action, &QAction::triggered, &window, [] {});
        }
        bar->addMenu(menu);
    }
    window.setMenuBar(bar);

    window.showMaximized();
    StartupTrace::watchMapped(&window);
    return app.exec();
}
