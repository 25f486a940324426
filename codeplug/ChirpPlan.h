#pragma once
// One CHIRP CSV row to and from a channel: frequency, duplex and offset to
// receive and transmit frequencies, tone mode, cross mode and polarity to the
// receive and transmit tones.

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

#include "codeplug/ChannelPlan.h"
#include "codeplug/ChannelPlanFormat.h"

namespace chirpplan {

// Where each CHIRP column stands in a file, -1 when the header lacks it.
using ColumnMap = std::array<int, planformat::ChirpColumnCount>;

// True when header names at least Location and Frequency; map gets every
// known column's position.
bool readHeader(const QStringList& header, ColumnMap* map);

// A row to a plan row (channel, rx, tx, tones; busy left empty). Every bad
// cell adds an error; the row is only meaningful when none was added.
channelplan::PlanRow readRow(const QStringList& cells, int line, const ColumnMap& map,
                             const modelband::BandLimits& limits, bool chinese,
                             QList<channelplan::PlanError>* errors);

// The cells of channel row of table (English texts), in column order.
QStringList writeRow(const ChannelTable& table, int row);

}  // namespace chirpplan
