// Printing of the channel view: File Print (57607) with the print dialog,
// 57608 straight to the default printer, Print Preview (57609). The report
// itself is ReportPrinter's; this file prepares it from the view's table and
// document and chooses the printer.

#include "view/KQ_517View.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <algorithm>

#include "settings/Globals.h"
#include "shell/KQ_517Doc.h"
#include "view/ReportPrinter.h"

namespace {

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

void nameJob(QPrinter& printer, const CKQ_517Doc* doc)
{
    if (doc)
        printer.setDocName(doc->GetTitle());
}

}  // namespace

int CKQ_517View::OnPreparePrinting()
{
    const ReportPagination pages = ReportPagination::paginate(tableFromGrid());
    std::copy(std::begin(pages.bound), std::end(pages.bound), std::begin(m_nPageBound));
    m_nChannelCount = pages.channelCount;
    return pages.pageCount();
}

bool CKQ_517View::printDocument(QPrinter& printer, int pageCount, int fromPage, int toPage)
{
    CKQ_517Doc* doc = GetDocument();
    if (!doc)
        return false;
    const ReportPrinter report(tableFromGrid(), doc->image(), ReportPrinter::textsFromSettings());
    // Each channel page paginates again from the table; keep the view's bounds
    // in step with what is printed.
    OnPreparePrinting();
    return report.print(printer, pageCount, fromPage, toPage);
}

void CKQ_517View::OnFilePrint()
{
    const int pageCount = OnPreparePrinting();
    QPrinter printer(QPrinter::HighResolution);
    nameJob(printer, GetDocument());
    // Without a printer the dialog starts on its print-to-file (PDF) choice.
    if (!hasPrinter()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(proposedPdfPath(GetDocument()));
    }
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
    printDocument(printer, pageCount, from, to);
}

void CKQ_517View::OnFilePrintDirect()
{
    const int pageCount = OnPreparePrinting();
    QPrinter printer(QPrinter::HighResolution);
    nameJob(printer, GetDocument());
    if (!hasPrinter()) {
        // No printer to print on: offer the report as a PDF file instead.
        const QString path = QFileDialog::getSaveFileName(
            this, QString(), proposedPdfPath(GetDocument()), QStringLiteral("PDF (*.pdf)"));
        if (path.isEmpty())
            return;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
    }
    printDocument(printer, pageCount);
}

void CKQ_517View::OnFilePrintPreview()
{
    const int pageCount = OnPreparePrinting();
    QPrinter printer(QPrinter::HighResolution);
    nameJob(printer, GetDocument());
    if (!hasPrinter()) {
        // The preview's Print button then writes a PDF file.
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(proposedPdfPath(GetDocument()));
    }
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this, pageCount](QPrinter* target) { printDocument(*target, pageCount); });
    preview.exec();
}
