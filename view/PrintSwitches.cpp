#include "view/PrintSwitches.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

#include "texts/TextTable.h"
#include "codeplug/KQ_517Doc.h"
#include "view/KQ_517View.h"

namespace {

// A switch is a mark ("/" or "-") and letters only, so that a path such as
// "/tmp/report.pdf" stays a parameter. The switch's name in lower case, or
// empty for a parameter.
QString switchName(const QString& arg)
{
    static const QRegularExpression kSwitch(QStringLiteral("^[-/]([A-Za-z]+)$"));
    const QRegularExpressionMatch match = kSwitch.match(arg);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

// The messages of a print run, in the string table.
enum TextId : int {
    kNoDocument = 62041,
    kPrinterNotFound = 62042,  // %1: the printer
    kNoDefaultPrinter = 62043,
    kCouldNotPrint = 62044,    // %1: the printer or file
};

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

}  // namespace

PrintRequest parsePrintSwitches(const QStringList& args)
{
    // The standard command line: the switches may stand anywhere; the first
    // parameter names the file and, with "/pt", the next one the printer (a
    // driver and port that may follow are not needed to reach a printer).
    PrintRequest request;
    bool printTo = false;
    QStringList parameters;
    for (const QString& arg : args) {
        const QString name = switchName(arg);
        if (name == QLatin1String("p") || name == QLatin1String("pt")) {
            request.present = true;
            printTo = name == QLatin1String("pt");
        } else if (name.isEmpty()) {
            parameters.append(arg);
        }
    }
    if (!request.present)
        return request;
    request.file = parameters.value(0);
    if (printTo)
        request.printer = parameters.value(1);
    return request;
}

bool printsWithoutDisplay(const QStringList& args)
{
    if (!parsePrintSwitches(args).present || qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return false;
#if defined(Q_OS_LINUX)
    return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return false;
#endif
}

bool runPrintRequest(CKQ_517View* view, const PrintRequest& request, QString* error)
{
    if (!view || !view->GetDocument() || request.file.isEmpty()) {
        setError(error, texts::text(kNoDocument));
        return false;
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(view->GetDocument()->GetTitle());
    if (request.printer.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(request.printer);
    } else if (!request.printer.isEmpty()) {
        if (QPrinterInfo::printerInfo(request.printer).isNull()) {
            setError(error, texts::text(kPrinterNotFound, request.printer));
            return false;
        }
        printer.setPrinterName(request.printer);
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        setError(error, texts::text(kNoDefaultPrinter));
        return false;
    }

    const int pageCount = view->OnPreparePrinting();
    if (!view->printDocument(printer, pageCount)) {
        const QString target = request.printer.isEmpty() ? printer.printerName() : request.printer;
        setError(error, texts::text(kCouldNotPrint, target));
        return false;
    }
    return true;
}
