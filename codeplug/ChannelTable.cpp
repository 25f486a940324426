#include "codeplug/ChannelTable.h"

#include "codeplug/Codecs.h"

namespace {

namespace ch = layout::channel;

using RowTexts = std::array<QString, ChannelTable::kCols>;

// The texts columns 1 to 5 show for one channel record.
RowTexts decodeRecord(const std::uint8_t* r, const WordSet& words)
{
    const bool inUse = codec::channelInUse(r);
    RowTexts cells;
    // Each frequency shows on its own presence byte, whether or not the
    // channel as a whole is in use.
    cells[ChannelTable::ColRx] = codec::decodeFrequency(r + ch::kRxFrequency);
    cells[ChannelTable::ColTx] = codec::decodeFrequency(r + ch::kTxFrequency);
    cells[ChannelTable::ColDecode] =
        codec::decodeTone(r[ch::kDecodeToneHigh], r[ch::kDecodeToneLow], inUse, words);
    cells[ChannelTable::ColEncode] =
        codec::decodeTone(r[ch::kEncodeToneHigh], r[ch::kEncodeToneLow], inUse, words);
    cells[ChannelTable::ColBusy] = codec::decodeBusyLock(r[ch::kFlags], inUse, words);
    return cells;
}

bool sameChannelCells(const RowTexts& a, const RowTexts& b)
{
    for (int c = ChannelTable::ColRx; c <= ChannelTable::ColBusy; ++c) {
        if (a[c] != b[c])
            return false;
    }
    return true;
}

}  // namespace

ChannelTable::ChannelTable(const CellWords& words) : m_words(words)
{
    for (int col = 0; col < kCols; ++col)
        m_cells[0][col] = words.shown().header(col);
    for (int row = 1; row < kRows; ++row)
        m_cells[row][ColLabel] = rowLabel(row);
}

QString ChannelTable::rowLabel(int row)
{
    // "%2d": right-aligned in two places (" 1" to "16").
    return QStringLiteral("%1").arg(row, 2);
}

void ChannelTable::decode(const MemoryImage& image)
{
    for (int row = 1; row <= layout::kChannelCount; ++row) {
        const RowTexts cells = decodeRecord(image.channel(row), m_words.shown());
        for (int c = ColRx; c <= ColBusy; ++c)
            m_cells[row][c] = cells[c];
    }
}

bool ChannelTable::showsRecord(int row, const MemoryImage& image) const
{
    if (row < 1 || row > layout::kChannelCount)
        return false;
    const std::uint8_t* r = image.channel(row);
    // Any of its languages: the cells may have been typed or pasted in another.
    for (const WordSet& words : m_words.sets()) {
        if (sameChannelCells(m_cells[row], decodeRecord(r, words)))
            return true;
    }
    return false;
}

void ChannelTable::encode(MemoryImage& image) const
{
    for (int row = 1; row <= layout::kChannelCount; ++row) {
        // A channel the user left as it was keeps its 16 bytes exactly: not
        // every record encodes back to its own bytes (digits with nibbles
        // above 9, tone bytes that decode to "None", an ambiguous pair), and
        // a save or write must not change a channel nobody edited.
        if (!showsRecord(row, image))
            encodeChannel(image, row);
    }
}

void ChannelTable::encodeChannel(MemoryImage& image, int row) const
{
    if (row < 1 || row > layout::kChannelCount)
        return;
    std::uint8_t* r = image.channel(row);
    const auto& cells = m_cells[row];
    codec::encodeFrequency(cells[ColRx], r + ch::kRxFrequency);
    codec::encodeFrequency(cells[ColTx], r + ch::kTxFrequency);
    codec::encodeTone(cells[ColDecode], &r[ch::kDecodeToneHigh], &r[ch::kDecodeToneLow]);
    codec::encodeTone(cells[ColEncode], &r[ch::kEncodeToneHigh], &r[ch::kEncodeToneLow]);
    r[ch::kFlags] = codec::encodeBusyLock(cells[ColBusy], r[ch::kFlags], m_words);
}
