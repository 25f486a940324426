// Importing a channel plan (our CSV, CHIRP CSV, clipboard rows) onto a base
// image. Refused: no rows come out, so the base stays as it was. Accepted:
// channels the plan does not list and every byte outside the listed records
// stay as they were; in a listed record only bytes 0 to 11 and the busy-lock
// bit may change; typing the rows into the grid gives the same image.
//
// Input: a mode byte (format, band, language), a count n of base records,
// n x 16 record bytes, a first channel for a paste, then the text.

#include <QSet>

#include "codeplug/CellValidator.h"
#include "codeplug/Channel.h"
#include "codeplug/ChannelPlan.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/KQ_517Doc.h"
#include "tests/fuzz/FuzzSupport.h"
#include "texts/PlanReasons.h"

namespace {

namespace ch = layout::channel;

QSet<int> listedChannels(const QList<channelplan::PlanRow>& rows)
{
    QSet<int> listed;
    for (const auto& row : rows) {
        FUZZ_CHECK(row.channel >= 1 && row.channel <= layout::kChannelCount, "a row names channel 1 to 16",
                    QString::number(row.channel));
        FUZZ_CHECK(!listed.contains(row.channel), "a plan lists a channel once", QString::number(row.channel));
        listed.insert(row.channel);
    }
    return listed;
}

void checkImageApply(const QList<channelplan::PlanRow>& rows, const MemoryImage& base,
                     const modelband::BandLimits& limits)
{
    MemoryImage image = base;
    channelplan::applyToImage(rows, image, limits, fuzz::cellWords(false));
    const QSet<int> listed = listedChannels(rows);
    for (int offset = 0; offset < layout::kImageSize; ++offset) {
        const int row = offset / layout::kRowSize;
        const int inRecord = offset % layout::kRowSize;
        const bool listedRecord = row >= 1 && row <= layout::kChannelCount && listed.contains(row);
        if (!listedRecord || inRecord > ch::kFlags) {
            FUZZ_CHECK(image.at(offset) == base.at(offset), "applyToImage keeps bytes outside listed records",
                        fuzz::differingOffsets(base, image));
        } else if (inRecord == ch::kFlags) {
            FUZZ_CHECK((image.at(offset) & 0xFE) == (base.at(offset) & 0xFE),
                        "applyToImage keeps bits 1-7 of the flags byte", fuzz::differingOffsets(base, image));
        }
    }
}

// Typing each row into the channel grid, cell by cell (receive frequency
// first, an empty busy lock left alone), gives the image the import gives;
// the import of the same rows again changes nothing, and a document given
// the imported image holds those channels.
void checkTypingAgrees(const QList<channelplan::PlanRow>& rows, const MemoryImage& base,
                       const modelband::BandLimits& limits)
{
    MemoryImage direct = base;
    channelplan::applyToImage(rows, direct, limits, fuzz::cellWords(false));

    CKQ_517Doc typed;
    typed.setImage(base);
    const CellValidator validator(limits.low, limits.high, fuzz::cellWords(false));
    for (const auto& row : rows) {
        const QString cells[] = {row.rx, row.tx, row.decode, row.encode, row.busy};
        for (int col = ChannelTable::ColRx; col <= ChannelTable::ColBusy; ++col) {
            if (col == ChannelTable::ColBusy && row.busy.isEmpty())
                continue;
            if (col > ChannelTable::ColRx && row.rx.isEmpty())
                break;
            Channel channel = typed.channel(row.channel);
            FUZZ_CHECK(validator.store(channel, col, cells[col - 1]) == CellValidator::NoMessage,
                       "a row of an accepted plan can be typed",
                       QStringLiteral("channel %1 column %2: %3").arg(row.channel).arg(col).arg(cells[col - 1]));
            typed.setChannel(row.channel, channel);
        }
    }
    FUZZ_CHECK(typed.image() == direct, "typing the rows and importing them agree",
               fuzz::differingOffsets(direct, typed.image()));

    MemoryImage twice = direct;
    channelplan::applyToImage(rows, twice, limits, fuzz::cellWords(false));
    FUZZ_CHECK(twice == direct, "importing the same rows again changes nothing", fuzz::differingOffsets(direct, twice));

    CKQ_517Doc doc;
    doc.setImage(direct);
    for (int c = 1; c <= layout::kChannelCount; ++c)
        FUZZ_CHECK(doc.channel(c) == Channel::fromRecord(direct.channel(c)), "the document holds the imported channels");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::uint8_t mode = in.byte();
    const int format = mode % 3;  // 0, 1: a file (CSV or CHIRP by its header), 2: clipboard
    const modelband::BandLimits limits = fuzz::band(mode >> 2);
    const bool chinese = (mode & 0x10) != 0;
    const MemoryImage base = fuzz::imageWithRecords(in, in.pick(17));
    const int firstChannel = 1 + in.pick(16);
    const QByteArray text = in.rest();

    channelplan::ParseResult parsed = format == 2
                                          ? channelplan::parseTabSeparated(QString::fromUtf8(text), limits, fuzz::cellWords(chinese))
                                          : channelplan::parseFile(text, limits, fuzz::cellWords(chinese));
    if (!parsed.ok()) {
        FUZZ_CHECK(parsed.rows.isEmpty(), "a refused plan has no rows");
        for (const auto& error : parsed.errors)
            (void)texts::planErrorText(error, limits);
        return 0;
    }
    if (format == 2 && !channelplan::placeFrom(parsed.rows, firstChannel))
        return 0;
    checkImageApply(parsed.rows, base, limits);
    checkTypingAgrees(parsed.rows, base, limits);
    return 0;
}
