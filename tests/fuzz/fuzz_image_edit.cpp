// Decode, edit, encode of any image the way the channel grid does it: a
// document holds the image, each edit takes a channel from it, stores a text
// through the cell validator and puts the channel back. A refused text
// changes nothing; an accepted one changes only the fields it names (and,
// for a receive frequency, the fields that follow from it); nothing outside
// bytes 0 to 11 and bit 0 of byte 12 of a record ever changes; a text the
// editor itself offers reads back as it was given; our CSV of the result
// imports back onto it unchanged.
//
// Input: a mode byte (band, language, image form), either the 1024 image
// bytes (0xFF past the end of the input) or a count n and n x 16 record
// bytes for channels 1 to n, then edits: row, column, kind of value, value.

#include <array>

#include "codeplug/CellValidator.h"
#include "codeplug/Channel.h"
#include "codeplug/ChannelPlan.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/Codecs.h"
#include "codeplug/KQ_517Doc.h"
#include "codeplug/ToneTable.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

namespace ch = layout::channel;

QString editText(fuzz::Input& in, int col, const modelband::BandLimits& limits, const ToneTable& tones,
                 bool chinese)
{
    const int kind = in.pick(4);
    if (kind == 0)
        return in.shortText();  // anything a person may type
    if (kind == 1)
        return QString();
    switch (col) {
    case ChannelTable::ColRx:
    case ChannelTable::ColTx: {
        // A frequency in the band on one of the two steps.
        const std::int64_t span = std::int64_t(limits.high) - limits.low;
        const std::int64_t step = kind == 2 ? codec::kStep5k : codec::kStep6k25;
        const std::int64_t offset = span > 0 ? ((in.byte() << 8 | in.byte()) * step) % (span + 1) : 0;
        return codec::formatFrequency((limits.low + offset) / step * step);
    }
    case ChannelTable::ColDecode:
    case ChannelTable::ColEncode:
        return tones.at((in.byte() << 8 | in.byte()) % tones.size());
    default:
        return fuzz::cellWords(chinese).shown().busyLock(kind == 2);
    }
}

// A text the editor itself stores in this column.
bool editorText(const QString& text, int col, const CellValidator& validator, const ToneTable& tones,
                bool chinese)
{
    switch (col) {
    case ChannelTable::ColRx:
    case ChannelTable::ColTx: {
        std::int64_t units = 0;
        return validator.checkFrequency(text, &units) == CellValidator::FrequencyCheck::Valid
               && text == codec::formatFrequency(units);
    }
    case ChannelTable::ColDecode:
    case ChannelTable::ColEncode:
        return tones.texts().contains(text);
    default:
        return text == fuzz::cellWords(chinese).shown().busyLock(true) || text == fuzz::cellWords(chinese).shown().busyLock(false);
    }
}

// Which bytes of a record (bit 0 only for byte 12) a store into col may
// change, given the channel before it.
std::array<bool, layout::kRowSize> mayChange(int col, bool emptied, const Channel& before)
{
    std::array<bool, layout::kRowSize> may{};
    auto allow = [&may](int first, int last) {
        for (int i = first; i <= last; ++i)
            may[std::size_t(i)] = true;
    };
    switch (col) {
    case ChannelTable::ColRx:
        allow(ch::kRxFrequency, ch::kRxFrequency + 3);
        if (emptied || !before.inUse())
            allow(ch::kTxFrequency, ch::kEncodeToneHigh);  // emptied, or a new channel
        if (!emptied && !before.inUse())
            allow(ch::kFlags, ch::kFlags);
        break;
    case ChannelTable::ColTx: allow(ch::kTxFrequency, ch::kTxFrequency + 3); break;
    case ChannelTable::ColDecode: allow(ch::kDecodeToneLow, ch::kDecodeToneHigh); break;
    case ChannelTable::ColEncode: allow(ch::kEncodeToneLow, ch::kEncodeToneHigh); break;
    default: allow(ch::kFlags, ch::kFlags); break;
    }
    return may;
}

QString recordText(const Channel& channel)
{
    QString out;
    for (std::uint8_t b : channel.bytes())
        out += QStringLiteral("%1 ").arg(b, 2, 16, QLatin1Char('0'));
    return out;
}

void checkStore(const Channel& before, const Channel& after, int message, int col, const QString& text,
                const CellValidator& validator)
{
    const QString detail = QStringLiteral("column %1, text \"%2\"\n%3\n%4")
                               .arg(col)
                               .arg(text, recordText(before), recordText(after));
    if (message != CellValidator::NoMessage) {
        FUZZ_CHECK(after == before, "a refused text changes nothing", detail);
        return;
    }
    const bool emptied = validator.checkFrequency(text) == CellValidator::FrequencyCheck::Empty;
    const auto may = mayChange(col, emptied, before);
    for (int i = 0; i < layout::kRowSize; ++i) {
        const std::uint8_t was = before.bytes()[std::size_t(i)];
        const std::uint8_t is = after.bytes()[std::size_t(i)];
        if (i == ch::kFlags)
            FUZZ_CHECK((was & 0xFE) == (is & 0xFE) && (may[std::size_t(i)] || was == is),
                        "an edit keeps the record's other fields' bytes", detail);
        else
            FUZZ_CHECK(may[std::size_t(i)] || was == is, "an edit keeps the record's other fields' bytes", detail);
    }
}

// An accepted text the editor offers is what the channel holds afterwards.
void checkReadsBack(const Channel& after, int col, const QString& text, bool chinese)
{
    const QString detail = QStringLiteral("column %1, text \"%2\"\n%3").arg(col).arg(text, recordText(after));
    switch (col) {
    case ChannelTable::ColRx:
        FUZZ_CHECK(after.cellText(col, fuzz::cellWords(chinese).shown()) == text, "an edit reads back as given", detail);
        break;
    case ChannelTable::ColTx:
        if (after.hasRx())
            FUZZ_CHECK(after.cellText(col, fuzz::cellWords(chinese).shown()) == text, "an edit reads back as given", detail);
        break;
    case ChannelTable::ColDecode:
    case ChannelTable::ColEncode:
        if (after.hasRx() || after.hasTx())
            FUZZ_CHECK(after.toneText(col == ChannelTable::ColDecode ? Channel::Tone::Decode : Channel::Tone::Encode,
                                      fuzz::cellWords(chinese).shown())
                           == text,
                       "an edit reads back as given", detail);
        break;
    default:
        if (after.hasRx() || after.hasTx())
            FUZZ_CHECK(after.busyLock() == (text == fuzz::cellWords(chinese).shown().busyLock(true)), "an edit reads back as given",
                       detail);
        break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::uint8_t mode = in.byte();
    const modelband::BandLimits limits = fuzz::band(mode);
    const bool chinese = (mode & 0x10) != 0;
    // Mode bit 5: the whole image from the input; otherwise only the first
    // channel records over a new image, so that short inputs reach the edits.
    MemoryImage base;
    if (mode & 0x20) {
        const QByteArray imageBytes = in.bytes(layout::kImageSize);
        for (qsizetype i = 0; i < imageBytes.size(); ++i)
            base.set(int(i), std::uint8_t(imageBytes.at(i)));
    } else {
        base = fuzz::imageWithRecords(in, in.pick(17));
    }

    CKQ_517Doc doc;
    doc.setImage(base);
    FUZZ_CHECK(doc.image() == base, "the document holds the image it was given");
    const CellValidator validator(limits.low, limits.high, fuzz::cellWords(false));
    const ToneTable tones(fuzz::cellWords(chinese).shown().none);
    bool changed[layout::kChannelCount + 1] = {};
    for (int n = 0; n < 8 && !in.atEnd(); ++n) {
        const int row = 1 + in.pick(layout::kChannelCount);
        const int col = 1 + in.pick(5);
        const QString text = editText(in, col, limits, tones, chinese);
        const Channel before = doc.channel(row);
        FUZZ_CHECK(before == Channel::fromRecord(doc.image().channel(row)), "a channel is its record's bytes");
        Channel channel = before;
        const int message = validator.store(channel, col, text);
        checkStore(before, channel, message, col, text, validator);
        if (message != CellValidator::NoMessage)
            continue;
        if (editorText(text, col, validator, tones, chinese))
            checkReadsBack(channel, col, text, chinese);
        doc.setChannel(row, channel);
        changed[row] = changed[row] || !(channel == before);
    }

    const MemoryImage& image = doc.image();
    for (int offset = 0; offset < layout::kImageSize; ++offset) {
        const int row = offset / layout::kRowSize;
        const int inRecord = offset % layout::kRowSize;
        const bool channel = row >= 1 && row <= layout::kChannelCount;
        if (!channel || !changed[row] || inRecord > ch::kFlags)
            FUZZ_CHECK(image.at(offset) == base.at(offset),
                       "edits keep unedited channels and bytes outside bytes 0-12 of records",
                       fuzz::differingOffsets(base, image));
        else if (inRecord == ch::kFlags)
            FUZZ_CHECK((image.at(offset) & 0xFE) == (base.at(offset) & 0xFE), "edits keep bits 1-7 of byte 12",
                       fuzz::differingOffsets(base, image));
    }

    // The grid's cells are the document's channels.
    ChannelTable table(fuzz::cellWords(chinese));
    table.decode(image);
    for (int row = 1; row <= layout::kChannelCount; ++row) {
        const Channel channel = doc.channel(row);
        for (int col = ChannelTable::ColRx; col <= ChannelTable::ColBusy; ++col)
            FUZZ_CHECK(table.cell(row, col) == channel.cellText(col, fuzz::cellWords(chinese).shown()), "the table shows the channel",
                       QStringLiteral("channel %1 column %2: %3 | %4")
                           .arg(row)
                           .arg(col)
                           .arg(table.cell(row, col), channel.cellText(col, fuzz::cellWords(chinese).shown())));
    }

    // Our own export imported onto the image it came from changes no byte.
    // A channel with only one of its two frequencies is left out of the
    // check: a CSV row cannot say "no transmit frequency" (an empty one
    // follows the receive frequency), so such a channel comes back whole.
    const channelplan::ParseResult parsed = channelplan::parseFile(channelplan::writeCsv(image), limits);
    if (parsed.ok()) {
        MemoryImage again = image;
        channelplan::applyToImage(parsed.rows, again, limits, fuzz::cellWords(false));
        for (int offset = 0; offset < layout::kImageSize; ++offset) {
            const int row = offset / layout::kRowSize;
            if (row >= 1 && row <= layout::kChannelCount) {
                const Channel channel = doc.channel(row);
                if (channel.hasRx() != channel.hasTx())
                    continue;
            }
            FUZZ_CHECK(again.at(offset) == image.at(offset), "our CSV imports back onto its image unchanged",
                       fuzz::differingOffsets(image, again));
        }
    }
    return 0;
}
