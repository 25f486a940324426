// KQ_517: the desktop programming tool for KQ-517 radios.

#include <QApplication>

#include <cstdio>
#include <cstring>

#include "shell/FontConfigWarmUp.h"
#include "shell/KQ_517App.h"
#include "shell/StartupTrace.h"
#include "view/PrintSwitches.h"

namespace {

const char kHelp[] =
    "usage: KQ_517 [FILE.dat]\n"
    "       KQ_517 /p FILE.dat\n"
    "       KQ_517 /pt FILE.dat PRINTER\n"
    "       KQ_517 --help | --version\n"
    "\n"
    "Programs the channels of KQ-517 hand-held radios. Without FILE.dat the\n"
    "window opens a new document; with it, that file.\n"
    "\n"
    "  /p FILE.dat          print the file on the default printer, then end\n"
    "  /pt FILE.dat PRINTER print the file on PRINTER, then end; a PRINTER ending\n"
    "                       in .pdf writes a PDF file of that name (also without\n"
    "                       a display)\n"
    "  --help               this help (also -h)\n"
    "  --version            the program's version\n"
    "\n"
    "The command kq517 reads, writes, shows and exports without a window.\n";

// The switches answered before any window exists, so that they work without
// a display. An unknown long option ("--word") is a mistake to report; words
// with one '-' or a '/' stay as before: the print switches, paths, and Qt's
// own options (-style, -platform ...).
enum class EarlySwitch { None, Help, Version, Unknown };

EarlySwitch earlySwitch(int argc, char** argv, const char** unknown)
{
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0)
            return EarlySwitch::Help;
        if (std::strcmp(arg, "--version") == 0)
            return EarlySwitch::Version;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0) {
            *unknown = argv[i];
            return EarlySwitch::Unknown;
        }
    }
    return EarlySwitch::None;
}

}  // namespace

int main(int argc, char* argv[])
{
    StartupTrace::begin();
    const char* unknown = nullptr;
    switch (earlySwitch(argc, argv, &unknown)) {
    case EarlySwitch::Help:
        std::fputs(kHelp, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case EarlySwitch::Version:
        std::printf("KQ_517 %s\n", KQ517_VERSION);
        return std::fflush(stdout) == 0 ? 0 : 1;
    case EarlySwitch::Unknown:
        std::fprintf(stderr, "KQ_517: unknown option '%s' (see 'KQ_517 --help')\n", unknown);
        return 2;
    case EarlySwitch::None:
        break;
    }

    // The print switches run without a person or, on a server, without a
    // display: Qt's off-screen platform then stands in for the missing one.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (printsWithoutDisplay(args))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    // The font configuration loads beside the connection to the display; the
    // main window's first text needs it.
    FontConfigWarmUp fonts;
    QApplication app(argc, argv);
    StartupTrace::phase("application");
    fonts.wait();
    StartupTrace::phase("font configuration");
    QGuiApplication::setDesktopFileName(QStringLiteral(KQ517_APP_ID));  // the menu entry, for Wayland
    CKQ_517App theApp;
    int status = theApp.InitInstance(app.arguments().mid(1));
    if (status == CKQ_517App::kRunMessageLoop)
        status = app.exec();
    theApp.ExitInstance();
    return status;
}
