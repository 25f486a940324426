// Printing of the channel view: File Print (57607) with the print dialog,
// 57608 straight to the default printer, Print Preview (57609). The report
// itself is ReportPrinter's; this file prepares it from the view's table and
// document. Every print goes to the printer Print Setup chose.

#include "view/KQ_517View.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <algorithm>

#include "settings/ui/AppMessage.h"
#include "settings/ui/SaveFileDialog.h"
#include "codeplug/KQ_517Doc.h"
#include "view/ReportPrinter.h"
#include "view/SharedPrinter.h"
#include "texts/TextTable.h"

namespace {

constexpr int kPrintFailedText = 62040;  // "Could not start print job."

// Where a PDF of the document is proposed when the user has no printer: next
// to the document's file when it has one, else in the home folder.
QString proposedPdfPath(const CKQ_517Doc* doc)
{
    QString base = doc ? QFileInfo(doc->GetPathName()).completeBaseName() : QString();
    if (base.isEmpty() && doc)
        base = doc->GetTitle();
    if (base.isEmpty())
        base = QStringLiteral("KQ_517");
    QString dir = doc ? QFileInfo(doc->GetPathName()).absolutePath() : QString();
    if (!doc || doc->GetPathName().isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::homePath();
    return QDir(dir).filePath(base + QStringLiteral(".pdf"));
}

bool hasPrinter() { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

// The printer of a job on doc: named after the document; without a printer on
// the system it writes a PDF file, proposed next to the document.
void setUpPrinter(QPrinter& printer, const CKQ_517Doc* doc)
{
    if (doc)
        printer.setDocName(doc->GetTitle());
    if (!hasPrinter()) {
        // Switching the format anew would drop the page set-up chosen for it.
        if (printer.outputFormat() != QPrinter::PdfFormat)
            printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(proposedPdfPath(doc));
    }
}

}  // namespace

int CKQ_517View::OnPreparePrinting()
{
    const ReportPagination pages = ReportPagination::paginate(channelTable());
    std::copy(std::begin(pages.bound), std::end(pages.bound), std::begin(m_nPageBound));
    m_nChannelCount = pages.channelCount;
    return pages.pageCount();
}

bool CKQ_517View::printDocument(QPrinter& printer, int pageCount, int fromPage, int toPage)
{
    CKQ_517Doc* doc = GetDocument();
    if (!doc)
        return false;
    const ReportPrinter report(channelTable(), doc->image(), ReportPrinter::textsFromSettings());
    // Each channel page paginates again from the table; keep the view's bounds
    // in step with what is printed.
    OnPreparePrinting();
    return report.print(printer, pageCount, fromPage, toPage);
}

void CKQ_517View::OnFilePrint()
{
    const int pageCount = OnPreparePrinting();
    QPrinter& printer = sharedPrinter();
    // Without a printer the dialog starts on its print-to-file (PDF) choice.
    setUpPrinter(printer, GetDocument());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pageCount);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int from = 0;
    int to = 0;
    if (printer.printRange() == QPrinter::PageRange) {
        from = printer.fromPage();
        to = printer.toPage();
    }
    if (!printDocument(printer, pageCount, from, to))
        showPrintFailure();
}

void CKQ_517View::OnFilePrintDirect()
{
    const int pageCount = OnPreparePrinting();
    QPrinter& printer = sharedPrinter();
    setUpPrinter(printer, GetDocument());
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        // No printer to print on: the report goes to a PDF file the user names.
        const QString path = savefiledialog::ask(this, QString(), printer.outputFileName(),
                                                 {QStringLiteral("PDF (*.pdf)")}, {QStringLiteral("pdf")});
        if (path.isEmpty())
            return;
        printer.setOutputFileName(path);
    }
    if (!printDocument(printer, pageCount))
        showPrintFailure();
}

void CKQ_517View::OnFilePrintPreview()
{
    const int pageCount = OnPreparePrinting();
    QPrinter& printer = sharedPrinter();
    // Without a printer the preview's Print button writes a PDF file.
    setUpPrinter(printer, GetDocument());
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this, pageCount](QPrinter* target) {
        if (!printDocument(*target, pageCount))
            showPrintFailure();
    });
    preview.exec();
}

void CKQ_517View::showPrintFailure()
{
    // A print job that could not start (no printer to reach, a file that
    // cannot be written) is said, never passed over as printed.
    appMessageBox(this, texts::text(kPrintFailedText));
}
