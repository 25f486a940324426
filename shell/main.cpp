// KQ_517: the desktop programming tool for KQ-517 radios.

#include <QApplication>

#include "shell/KQ_517App.h"
#include "shell/StartupTrace.h"
#include "view/PrintSwitches.h"

int main(int argc, char* argv[])
{
    StartupTrace::begin();
    // The print switches run without a person or, on a server, without a
    // display: Qt's off-screen platform then stands in for the missing one.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (printsWithoutDisplay(args))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    StartupTrace::phase("application");
    QGuiApplication::setDesktopFileName(QStringLiteral(KQ517_APP_ID));  // the menu entry, for Wayland
    CKQ_517App theApp;
    int status = theApp.InitInstance(app.arguments().mid(1));
    if (status == CKQ_517App::kRunMessageLoop)
        status = app.exec();
    theApp.ExitInstance();
    return status;
}
