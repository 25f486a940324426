// Round trips of valid images: channels typed from values the editor offers
// (frequencies in the band on a step, tones of the tone table, busy lock Yes
// or No) decode to those texts, keep their bytes when those texts are
// stored again, and come back unchanged through the .dat bytes, our CSV,
// CHIRP CSV and the clipboard rows.
//
// Input: a mode byte (band, language), then per channel: in use or not,
// two frequency choices, two tone choices, busy lock.

#include <QList>

#include "codeplug/CellValidator.h"
#include "texts/PlanReasons.h"
#include "codeplug/Channel.h"
#include "codeplug/ChannelPlan.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/Codecs.h"
#include "codeplug/ToneTable.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

QString frequency(fuzz::Input& in, const modelband::BandLimits& limits)
{
    const std::int64_t step = in.pick(2) ? codec::kStep5k : codec::kStep6k25;
    const std::int64_t low = (std::int64_t(limits.low) + step - 1) / step * step;
    const std::int64_t count = (std::int64_t(limits.high) - low) / step + 1;
    return codec::formatFrequency(low + ((in.byte() << 8 | in.byte()) % count) * step);
}

void importOnto(const QByteArray& file, const char* format, const MemoryImage& image,
                const modelband::BandLimits& limits)
{
    const channelplan::ParseResult parsed = channelplan::parseFile(file, limits);
    FUZZ_CHECK(parsed.ok(), format, parsed.ok() ? QString() : texts::planErrorText(parsed.errors.first(), limits) + '\n' + file);
    MemoryImage again = image;
    channelplan::applyToImage(parsed.rows, again, limits, fuzz::cellWords(false));
    FUZZ_CHECK(again == image, format, fuzz::differingOffsets(image, again));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::uint8_t mode = in.byte();
    const modelband::BandLimits limits = fuzz::band(mode % 3);  // bands the CSV formats can carry
    const bool chinese = (mode & 0x10) != 0;
    const ToneTable tones(fuzz::cellWords(chinese).shown().none);

    ChannelTable table(fuzz::cellWords(chinese));
    QList<int> inUse;
    for (int c = 1; c <= layout::kChannelCount && !in.atEnd(); ++c) {
        if (in.pick(4) == 0)
            continue;
        inUse.append(c);
        table.setCell(c, ChannelTable::ColRx, frequency(in, limits));
        table.setCell(c, ChannelTable::ColTx, frequency(in, limits));
        table.setCell(c, ChannelTable::ColDecode, tones.at((in.byte() << 8 | in.byte()) % tones.size()));
        table.setCell(c, ChannelTable::ColEncode, tones.at((in.byte() << 8 | in.byte()) % tones.size()));
        table.setCell(c, ChannelTable::ColBusy, fuzz::cellWords(chinese).shown().busyLock(in.pick(2)));
    }
    // Each channel typed in, column by column, the way the grid stores it.
    MemoryImage image = MemoryImage::newImage();
    const CellValidator validator(limits.low, limits.high, fuzz::cellWords(false));
    for (int c : inUse) {
        Channel channel = Channel::fromRecord(image.channel(c));
        for (int col = ChannelTable::ColRx; col <= ChannelTable::ColBusy; ++col)
            FUZZ_CHECK(validator.store(channel, col, table.cell(c, col)) == CellValidator::NoMessage,
                       "a value the editor offers is accepted",
                       QStringLiteral("channel %1 column %2: %3").arg(c).arg(col).arg(table.cell(c, col)));
        channel.writeRecord(image.channel(c));
    }

    // Decode shows what was stored; storing what is shown changes no byte.
    ChannelTable decoded(fuzz::cellWords(chinese));
    decoded.decode(image);
    for (int c : inUse) {
        for (int col = ChannelTable::ColRx; col <= ChannelTable::ColBusy; ++col)
            FUZZ_CHECK(decoded.cell(c, col) == table.cell(c, col), "a valid channel decodes to its texts",
                        QStringLiteral("channel %1 column %2: %3 | %4")
                            .arg(c)
                            .arg(col)
                            .arg(table.cell(c, col), decoded.cell(c, col)));
        const Channel stored = Channel::fromRecord(image.channel(c));
        Channel again = stored;
        for (int col = ChannelTable::ColRx; col <= ChannelTable::ColBusy; ++col)
            validator.store(again, col, decoded.cell(c, col));
        FUZZ_CHECK(again == stored, "storing a channel's own texts changes no byte", QString::number(c));
    }

    // The .dat bytes.
    MemoryImage loaded;
    FUZZ_CHECK(loaded.fromByteArray(image.toByteArray()) && loaded == image, "the .dat bytes round trip");

    // Our CSV and CHIRP CSV, imported onto the image they came from.
    importOnto(channelplan::writeCsv(image), "our CSV imports back onto its image unchanged", image, limits);
    // CHIRP CSV lists only the channels in use: without any it is no plan.
    if (!inUse.isEmpty())
        importOnto(channelplan::writeChirpCsv(image), "CHIRP CSV imports back onto its image unchanged", image,
                   limits);

    // Clipboard rows of the channels in use, pasted back at the first of them.
    if (!inUse.isEmpty()) {
        QList<int> run;
        for (int c = inUse.first(); c <= inUse.last(); ++c)
            run.append(c);
        const QString rows = channelplan::writeTabSeparated(decoded, run);
        channelplan::ParseResult parsed = channelplan::parseTabSeparated(rows, limits, fuzz::cellWords(chinese));
        FUZZ_CHECK(parsed.ok(), "clipboard rows parse back",
                    parsed.ok() ? QString() : texts::planErrorText(parsed.errors.first(), limits) + '\n' + rows);
        FUZZ_CHECK(channelplan::placeFrom(parsed.rows, inUse.first()), "clipboard rows fit where they came from");
        MemoryImage pasted = image;
        channelplan::applyToImage(parsed.rows, pasted, limits, fuzz::cellWords(false));
        FUZZ_CHECK(pasted == image, "clipboard rows paste back unchanged",
                   fuzz::differingOffsets(image, pasted) + rows);
    }
    return 0;
}
