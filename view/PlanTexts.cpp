#include "view/PlanTexts.h"

#include <QStringList>

#include "codeplug/ImageLayout.h"
#include "texts/PlanReasons.h"
#include "texts/TextTable.h"

namespace plantext {

using texts::text;

QString leftOutList(const QList<channelplan::LeftOut>& leftOut)
{
    QStringList lines;
    for (const channelplan::LeftOut& channel : leftOut)
        lines << texts::leftOutText(channel);
    return lines.join(QLatin1Char('\n'));
}

QString errorList(const QList<channelplan::PlanError>& errors, const modelband::BandLimits& limits)
{
    // A message box shows the first ones; a file of thousands of bad rows
    // would otherwise give a box taller than any screen.
    constexpr qsizetype kShown = 20;
    QStringList lines;
    for (qsizetype i = 0; i < errors.size() && i < kShown; ++i)
        lines << texts::planErrorText(errors.at(i), limits);
    if (errors.size() > kShown)
        lines << text(texts::IDS_PLAN_MORE, QString::number(errors.size() - kShown));
    return lines.join(QLatin1Char('\n'));
}

QString importTitle() { return text(IDS_IMPORT_TITLE); }
QString exportTitle() { return text(IDS_EXPORT_TITLE); }
QString compareTitle() { return text(IDS_COMPARE_TITLE); }

QString csvFilter() { return text(IDS_CSV_FILTER); }
QString chirpFilter() { return text(IDS_CHIRP_FILTER); }
QString datFilter() { return text(IDS_DAT_FILTER); }

// Paths and reasons go in in one pass: a path holding "%2" stays as written.
QString importRefused(const QString& path, const QString& errors) { return text(IDS_IMPORT_REFUSED, path, errors); }
QString readFailed(const QString& path, const QString& reason) { return text(IDS_READ_FAILED, path, reason); }
QString tooLarge(const QString& path) { return text(IDS_TOO_LARGE, path); }
QString noBand() { return text(IDS_NO_BAND); }
QString exportFailed(const QString& path, const QString& reason) { return text(IDS_EXPORT_FAILED, path, reason); }
QString importSkipped(const QString& path, const QString& warnings)
{
    return text(IDS_IMPORT_SKIPPED, path, warnings);
}
QString exportIncomplete(const QString& path, const QString& leftOut)
{
    return text(IDS_EXPORT_INCOMPLETE, path, leftOut);
}
QString pasteRefused(const QString& errors) { return text(IDS_PASTE_REFUSED, errors); }
QString clipboardEmpty() { return text(IDS_CLIPBOARD_EMPTY); }
QString pastePastEnd(int rowCount, int firstChannel)
{
    return text(IDS_PASTE_PAST_END, QString::number(rowCount), QString::number(firstChannel),
                QString::number(layout::kChannelCount));
}
QString insertRefused() { return text(IDS_INSERT_REFUSED, QString::number(layout::kChannelCount)); }
QString compareAgree(const QString& path) { return text(IDS_COMPARE_AGREE, path); }
QString compareHeading(const QString& path, int count)
{
    return text(IDS_COMPARE_HEADING, QString::number(count), path);
}

QString importStep() { return text(IDS_STEP_IMPORT); }
QString pasteStep() { return text(IDS_STEP_PASTE); }
QString cutStep() { return text(IDS_STEP_CUT); }
QString deleteStep() { return text(IDS_STEP_DELETE); }
QString insertRowStep() { return text(IDS_STEP_INSERT_ROW); }
QString deleteRowStep() { return text(IDS_STEP_DELETE_ROW); }
QString moveUpStep() { return text(IDS_STEP_MOVE_UP); }
QString moveDownStep() { return text(IDS_STEP_MOVE_DOWN); }

}  // namespace plantext
