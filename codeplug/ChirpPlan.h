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

// A file's CHIRP header: where each known column stands, and the header's
// own cells, so that a message names a column as the file writes it.
struct Header {
    ColumnMap at{};
    QStringList names;  // trimmed
    int width = 0;      // cells up to the last named one: what a row must have

    QString name(planformat::ChirpColumn c) const;
};

enum class HeaderKind {
    NotChirp,    // neither Location nor Frequency
    Incomplete,  // one of them only; *missing names the other
    Chirp,
};

// Reads a header line. As CHIRP does, a header with only one of rToneFreq
// and cToneFreq reads that column for both.
HeaderKind readHeader(const QStringList& cells, Header* header, QString* missing);

// A row to a plan row (channel, rx, tx, tones in words; busy left empty). Every bad
// cell adds an error; the row is only meaningful when none was added. False,
// with a warning, for a row CHIRP skips (no Frequency): it is no plan row.
bool readRow(const QStringList& cells, int line, const Header& header, const modelband::BandLimits& limits,
             const WordSet& words, channelplan::PlanRow* row, QList<channelplan::PlanError>* errors,
             QList<channelplan::PlanError>* warnings);

// Why channel row of table (English texts) cannot be written, one entry a
// cell; empty when it can. An empty channel (no frequency at all) is not
// written and needs no reason.
QList<channelplan::LeftOut> unwritable(const ChannelTable& table, int row);

// The cells of channel row of table (English texts), in column order; only
// for a channel that is not empty and not unwritable.
QStringList writeRow(const ChannelTable& table, int row);

}  // namespace chirpplan
