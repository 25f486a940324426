#pragma once
// Why a channel plan was refused, a row skipped or a channel left out of an
// export, worded from the active string table: the program's messages and
// the command line's (English) lines alike.

#include <QList>
#include <QString>

#include "codeplug/ChannelPlan.h"
#include "codeplug/ModelBand.h"

namespace texts {

enum PlanTextId : int {
    IDS_PLAN_REASON_FIRST = 61620,  // one text a channelplan::Reason, in its order
    IDS_PLAN_AT_LINE = 61650,       // "line %1: "
    IDS_PLAN_AT_CELL = 61651,       // "line %1, %2: "
    IDS_PLAN_LEFT_OUT = 61652,      // "channel %1, %2: %3; left out of the CHIRP file"
    IDS_PLAN_MORE = 61653,          // "... and %1 more"
};

// The string id of a reason's text.
int planReasonId(channelplan::Reason reason);
// "line 4, Rx Frequency: 520.00000 MHz is outside the band 130.00000 to 160.00000 MHz"
QString planErrorText(const channelplan::PlanError& error, const modelband::BandLimits& limits);
// "channel 5, QT/DQT Dec: "D1023N" is not a tone of the tone list; left out of the CHIRP file"
QString leftOutText(const channelplan::LeftOut& leftOut);

}  // namespace texts
