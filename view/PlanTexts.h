#pragma once
// The texts of the channel-plan commands (import, export, compare, clipboard
// and row commands) in the interface language: dialog titles and filters,
// message frames and undo step names. The reasons inside the messages are
// the text layer's (texts/PlanReasons.h), shared with the command line.

#include <QList>
#include <QString>

#include "codeplug/ChannelPlan.h"
#include "codeplug/ModelBand.h"

namespace plantext {

enum StringId : int {
    IDS_IMPORT_TITLE = 61660,
    IDS_EXPORT_TITLE = 61661,
    IDS_COMPARE_TITLE = 61662,
    IDS_CSV_FILTER = 61663,
    IDS_CHIRP_FILTER = 61664,
    IDS_DAT_FILTER = 61665,
    IDS_IMPORT_REFUSED = 61666,     // path, errors
    IDS_READ_FAILED = 61667,        // path, reason
    IDS_TOO_LARGE = 61668,          // path
    IDS_NO_BAND = 61669,
    IDS_EXPORT_FAILED = 61670,      // path, reason
    IDS_IMPORT_SKIPPED = 61671,     // path, warnings
    IDS_EXPORT_INCOMPLETE = 61672,  // path, channels left out
    IDS_PASTE_REFUSED = 61673,      // errors
    IDS_CLIPBOARD_EMPTY = 61674,
    IDS_PASTE_PAST_END = 61675,     // rows, first channel, last channel
    IDS_INSERT_REFUSED = 61676,     // last channel
    IDS_COMPARE_AGREE = 61677,      // path
    IDS_COMPARE_HEADING = 61678,    // count, path
    IDS_STEP_IMPORT = 61680,
    IDS_STEP_PASTE = 61681,
    IDS_STEP_CUT = 61682,
    IDS_STEP_DELETE = 61683,
    IDS_STEP_INSERT_ROW = 61684,
    IDS_STEP_DELETE_ROW = 61685,
    IDS_STEP_MOVE_UP = 61686,
    IDS_STEP_MOVE_DOWN = 61687,
};

// Every error, one a line; past the first twenty, how many more.
QString errorList(const QList<channelplan::PlanError>& errors, const modelband::BandLimits& limits);
// Channels an export left out, one a line.
QString leftOutList(const QList<channelplan::LeftOut>& leftOut);

QString importTitle();
QString exportTitle();
QString compareTitle();
// Filters: our CSV first, CHIRP CSV second (the order the export's format follows).
QString csvFilter();
QString chirpFilter();
QString datFilter();

QString importRefused(const QString& path, const QString& errors);
// An import that skipped rows (warnings, one a line) but took the others.
QString importSkipped(const QString& path, const QString& warnings);
// An export that left channels out (leftOut, one a line).
QString exportIncomplete(const QString& path, const QString& leftOut);
QString readFailed(const QString& path, const QString& reason);
QString tooLarge(const QString& path);
QString noBand();
QString exportFailed(const QString& path, const QString& reason);
QString pasteRefused(const QString& errors);
QString clipboardEmpty();
QString pastePastEnd(int rowCount, int firstChannel);
QString insertRefused();
QString compareAgree(const QString& path);
QString compareHeading(const QString& path, int count);

// Undo step names.
QString importStep();
QString pasteStep();
QString cutStep();
QString deleteStep();
QString insertRowStep();
QString deleteRowStep();
QString moveUpStep();
QString moveDownStep();

}  // namespace plantext
