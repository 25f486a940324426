// Importing a channel plan (our CSV, CHIRP CSV, clipboard rows) onto a base
// image. Refused: no rows come out, so the base stays as it was. Accepted:
// channels the plan does not list and every byte outside the listed records
// stay as they were, in the image and in the table; in a listed record only
// bytes 0 to 11 and the busy-lock bit may change.
//
// Input: a mode byte (format, band, language), a count n of base records,
// n x 16 record bytes, a first channel for a paste, then the text.

#include <QSet>

#include "codeplug/ChannelPlan.h"
#include "codeplug/ChannelTable.h"
#include "tests/fuzz/FuzzSupport.h"

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
    channelplan::applyToImage(rows, image, limits);
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

void checkTableApply(const QList<channelplan::PlanRow>& rows, const MemoryImage& base,
                     const modelband::BandLimits& limits, bool chinese)
{
    ChannelTable before(chinese);
    before.decode(base, chinese);
    ChannelTable table = before;
    channelplan::applyToTable(rows, table, limits, chinese);
    const QSet<int> listed = listedChannels(rows);
    for (int row = 0; row < ChannelTable::kRows; ++row) {
        for (int col = 0; col < ChannelTable::kCols; ++col) {
            if (row == 0 || col == 0 || !listed.contains(row))
                FUZZ_CHECK(table.cell(row, col) == before.cell(row, col), "applyToTable keeps unlisted cells",
                            QStringLiteral("row %1 col %2").arg(row).arg(col));
        }
    }
    // The table encoded over the base: unlisted channels keep their records.
    MemoryImage encoded = base;
    table.encode(encoded);
    for (int c = 1; c <= layout::kChannelCount; ++c) {
        if (listed.contains(c))
            continue;
        for (int i = 0; i < layout::kRowSize; ++i)
            FUZZ_CHECK(encoded.channel(c)[i] == base.channel(c)[i], "an unlisted channel keeps its record",
                        fuzz::differingOffsets(base, encoded));
    }
    // Known finding (busy lock decided two ways, listed channels re-encoded):
    // the program's path and the command line's give the same image.
    if (fuzz::strict()) {
        MemoryImage direct = base;
        channelplan::applyToImage(rows, direct, limits);
        FUZZ_CHECK(encoded == direct, "table and image paths agree", fuzz::differingOffsets(direct, encoded));
    }
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
                                          ? channelplan::parseTabSeparated(QString::fromUtf8(text), limits, chinese)
                                          : channelplan::parseFile(text, limits, chinese);
    if (!parsed.ok()) {
        FUZZ_CHECK(parsed.rows.isEmpty(), "a refused plan has no rows");
        for (const auto& error : parsed.errors)
            (void)error.text(limits);
        return 0;
    }
    if (format == 2 && !channelplan::placeFrom(parsed.rows, firstChannel))
        return 0;
    checkImageApply(parsed.rows, base, limits);
    checkTableApply(parsed.rows, base, limits, chinese);
    return 0;
}
