// KQ_517: the desktop programming tool for KQ-517 radios.

#include <QApplication>

#include "shell/KQ_517App.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CKQ_517App theApp;
    int status = theApp.InitInstance(app.arguments().mid(1));
    if (status == CKQ_517App::kRunMessageLoop)
        status = app.exec();
    theApp.ExitInstance();
    return status;
}
