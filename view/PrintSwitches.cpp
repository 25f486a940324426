#include "view/PrintSwitches.h"

#include <QPrinter>
#include <QPrinterInfo>

#include "settings/Globals.h"
#include "shell/KQ_517Doc.h"
#include "view/KQ_517View.h"

namespace {

// "/p", "-p", "/pt", "-pt" in any letter case; the switch's name without its mark.
QString switchName(const QString& arg)
{
    if (arg.size() < 2 || (arg.at(0) != QLatin1Char('/') && arg.at(0) != QLatin1Char('-')))
        return {};
    return arg.mid(1).toLower();
}

QString twoVersion(const char* english, const char* chinese)
{
    return g_bChinese ? QString::fromUtf8(chinese) : QString::fromUtf8(english);
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

}  // namespace

PrintRequest parsePrintSwitches(const QStringList& args)
{
    PrintRequest request;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString name = switchName(args.at(i));
        if (name == QLatin1String("p")) {
            request.present = true;
            request.file = args.value(i + 1);
            request.printer.clear();
            return request;
        }
        if (name == QLatin1String("pt")) {
            // "/pt FILE PRINTER [DRIVER PORT]": driver and port name the same
            // printer on the original platform and are not needed here.
            request.present = true;
            request.file = args.value(i + 1);
            request.printer = args.value(i + 2);
            return request;
        }
    }
    return request;
}

bool runPrintRequest(CKQ_517View* view, const PrintRequest& request, QString* error)
{
    if (!view || !view->GetDocument()) {
        setError(error, twoVersion("No document to print.", "没有可打印的文档。"));
        return false;
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(view->GetDocument()->GetTitle());
    if (request.printer.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(request.printer);
    } else if (!request.printer.isEmpty()) {
        if (QPrinterInfo::printerInfo(request.printer).isNull()) {
            setError(error, twoVersion("Printer not found: ", "找不到打印机: ") + request.printer);
            return false;
        }
        printer.setPrinterName(request.printer);
    } else if (QPrinterInfo::defaultPrinter().isNull()) {
        setError(error, twoVersion("No default printer; name a PDF file as the printer to print to a file.",
                                   "没有默认打印机; 可指定一个 PDF 文件作为打印机。"));
        return false;
    }

    const int pageCount = view->OnPreparePrinting();
    if (!view->printDocument(printer, pageCount)) {
        const QString target = request.printer.isEmpty() ? printer.printerName() : request.printer;
        setError(error, twoVersion("Could not print to ", "无法打印到 ") + target);
        return false;
    }
    return true;
}
