#include "texts/PlanReasons.h"

#include "codeplug/Codecs.h"
#include "codeplug/ImageLayout.h"
#include "texts/CellTexts.h"
#include "texts/TextTable.h"

namespace texts {

namespace {

using channelplan::Reason;

// The reason alone. Every value goes in in one pass, so a cell that holds
// "%1" is quoted as written.
QString reasonText(const channelplan::PlanError& error, const modelband::BandLimits& limits)
{
    const int id = planReasonId(error.reason);
    switch (error.reason) {
    case Reason::WrongCellCount:
        return text(id, error.value, QString::number(WordSet::kColumns));
    case Reason::BadChannel:
        return text(id, error.value, QString::number(layout::kChannelCount));
    case Reason::DuplicateChannel:
        return text(id, error.value, QString::number(error.earlierLine));
    case Reason::OutOfBand:
        return text(id, error.value, codec::formatFrequency(limits.low), codec::formatFrequency(limits.high));
    case Reason::OffsetOutOfBand:
        return text(id, error.column, error.value, error.duplex, error.transmit, codec::formatFrequency(limits.low),
                    codec::formatFrequency(limits.high));
    case Reason::OffsetOffStep:
        return text(id, error.column, error.value, error.duplex, error.transmit);
    case Reason::NotText:
    case Reason::Empty:
    case Reason::UnknownHeader:
    case Reason::NoRows:
    case Reason::Unparsable:
    case Reason::TransmitOff:
    case Reason::NoFrequency:
    case Reason::NoTransmit:
    case Reason::NoReceive:
        return text(id);
    case Reason::NotANumber:
    case Reason::OffStep:
    case Reason::TxWithoutRx:
    case Reason::BadTone:
    case Reason::BadBusyLock:
    case Reason::BadDuplex:
    case Reason::BadToneMode:
    case Reason::BadCrossMode:
    case Reason::BadPolarity:
    case Reason::MissingColumns:
    case Reason::ShortRow:
    case Reason::BadMode:
    case Reason::UnlistedTone:
        break;
    }
    return text(id, error.value);
}

}  // namespace

int planReasonId(Reason reason) { return IDS_PLAN_REASON_FIRST + int(reason); }

QString planErrorText(const channelplan::PlanError& error, const modelband::BandLimits& limits)
{
    // An offset message names its own cells (Offset, Duplex) in its sentence.
    const bool namesColumn = error.reason == Reason::OffsetOutOfBand || error.reason == Reason::OffsetOffStep;
    QString where;
    if (error.line > 0)
        where = error.column.isEmpty() || namesColumn ? text(IDS_PLAN_AT_LINE, QString::number(error.line))
                                                      : text(IDS_PLAN_AT_CELL, QString::number(error.line), error.column);
    return where + reasonText(error, limits);
}

QString leftOutText(const channelplan::LeftOut& leftOut)
{
    channelplan::PlanError reason;
    reason.reason = leftOut.reason;
    reason.value = leftOut.value;
    return text(IDS_PLAN_LEFT_OUT, QString::number(leftOut.channel), shownWords().header(leftOut.column),
                reasonText(reason, {}));
}

}  // namespace texts
