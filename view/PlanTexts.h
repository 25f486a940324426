#pragma once
// The texts of the channel-plan commands (import, export, compare, clipboard
// and row commands) in English and Chinese: dialog titles and filters,
// messages, undo step names and the reasons a plan is refused.

#include <QList>
#include <QString>

#include "codeplug/ChannelPlan.h"
#include "codeplug/ModelBand.h"

namespace plantext {

// One refused row or file, as "line 4, Rx Frequency: ..." (English: the same
// text as the command line's).
QString errorText(const channelplan::PlanError& error, const modelband::BandLimits& limits, bool chinese);
// Every error, one a line; past the first twenty, how many more.
QString errorList(const QList<channelplan::PlanError>& errors, const modelband::BandLimits& limits,
                  bool chinese);

// Channels an export left out, one a line.
QString leftOutList(const QList<channelplan::LeftOut>& leftOut, bool chinese);

QString importTitle(bool chinese);
QString exportTitle(bool chinese);
QString compareTitle(bool chinese);
// Filters: our CSV first, CHIRP CSV second (the order the export's format follows).
QString csvFilter(bool chinese);
QString chirpFilter(bool chinese);
QString datFilter(bool chinese);

QString importRefused(const QString& path, const QString& errors, bool chinese);
// An import that skipped rows (warnings, one a line) but took the others.
QString importSkipped(const QString& path, const QString& warnings, bool chinese);
// An export that left channels out (leftOut, one a line).
QString exportIncomplete(const QString& path, const QString& leftOut, bool chinese);
QString readFailed(const QString& path, const QString& reason, bool chinese);
QString tooLarge(const QString& path, bool chinese);
QString noBand(bool chinese);
QString exportFailed(const QString& path, const QString& reason, bool chinese);
QString pasteRefused(const QString& errors, bool chinese);
QString clipboardEmpty(bool chinese);
QString pastePastEnd(int rowCount, int firstChannel, bool chinese);
QString insertRefused(bool chinese);
QString compareAgree(const QString& path, bool chinese);
QString compareHeading(const QString& path, int count, bool chinese);

// Undo step names.
QString importStep(bool chinese);
QString pasteStep(bool chinese);
QString cutStep(bool chinese);
QString deleteStep(bool chinese);
QString insertRowStep(bool chinese);
QString deleteRowStep(bool chinese);
QString moveUpStep(bool chinese);
QString moveDownStep(bool chinese);

}  // namespace plantext
