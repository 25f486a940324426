#pragma once
// The print switches of the program's command line: "/p FILE" prints FILE on
// the default printer, "/pt FILE PRINTER [DRIVER PORT]" on the named printer
// (a PRINTER ending in ".pdf" writes a PDF file); then the program ends.

#include <QString>
#include <QStringList>

class CKQ_517View;

struct PrintRequest {
    bool present = false;  // a print switch was given
    QString file;          // the .dat file to print
    QString printer;       // empty: the default printer
};

// args: the command line without the program name.
PrintRequest parsePrintSwitches(const QStringList& args);

// True when a print switch is given and there is no display to show windows
// on (Linux: neither DISPLAY nor WAYLAND_DISPLAY set) and no platform chosen
// (QT_QPA_PLATFORM unset): the run then uses Qt's "offscreen" platform, which
// prints to PDF files without a display instead of aborting.
bool printsWithoutDisplay(const QStringList& args);

// Prints the document shown by view without a dialog as request says; true on
// success. A request that names no file has no document to print.
bool runPrintRequest(CKQ_517View* view, const PrintRequest& request, QString* error);
