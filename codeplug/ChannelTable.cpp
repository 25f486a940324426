#include "codeplug/ChannelTable.h"

#include "codeplug/Codecs.h"

namespace {

namespace ch = layout::channel;

}  // namespace

ChannelTable::ChannelTable(bool chinese)
{
    for (int col = 0; col < kCols; ++col)
        m_cells[0][col] = header(col, chinese);
    for (int row = 1; row < kRows; ++row)
        m_cells[row][ColLabel] = rowLabel(row);
}

QString ChannelTable::header(int col, bool chinese)
{
    static const char16_t* const kEnglish[kCols] = {u"CH",         u"Rx Frequency", u"Tx Frequency",
                                                    u"QT/DQT Dec", u"QT/DQT Enc",   u"Busy Lock"};
    static const char16_t* const kChinese[kCols] = {u"信道",      u"接收频率",   u"发射频率",
                                                    u"QT/DQT解码", u"QT/DQT编码", u"繁忙锁定"};
    if (col < 0 || col >= kCols)
        return QString();
    return QString::fromUtf16(chinese ? kChinese[col] : kEnglish[col]);
}

QString ChannelTable::rowLabel(int row)
{
    // "%2d": right-aligned in two places (" 1" to "16").
    return QStringLiteral("%1").arg(row, 2);
}

void ChannelTable::decode(const MemoryImage& image, bool chinese)
{
    for (int row = 1; row <= layout::kChannelCount; ++row) {
        const std::uint8_t* r = image.channel(row);
        const bool inUse = codec::channelInUse(r);
        auto& cells = m_cells[row];
        // Each frequency shows on its own presence byte, whether or not the
        // channel as a whole is in use.
        cells[ColRx] = codec::decodeFrequency(r + ch::kRxFrequency);
        cells[ColTx] = codec::decodeFrequency(r + ch::kTxFrequency);
        cells[ColDecode] = codec::decodeTone(r[ch::kDecodeToneHigh], r[ch::kDecodeToneLow], inUse, chinese);
        cells[ColEncode] = codec::decodeTone(r[ch::kEncodeToneHigh], r[ch::kEncodeToneLow], inUse, chinese);
        cells[ColBusy] = codec::decodeBusyLock(r[ch::kFlags], inUse, chinese);
    }
}

void ChannelTable::encode(MemoryImage& image) const
{
    for (int row = 1; row <= layout::kChannelCount; ++row)
        encodeChannel(image, row);
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
    r[ch::kFlags] = codec::encodeBusyLock(cells[ColBusy], r[ch::kFlags]);
}
