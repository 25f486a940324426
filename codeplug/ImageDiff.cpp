#include "codeplug/ImageDiff.h"

#include <QSet>

#include "codeplug/ChannelTable.h"
#include "codeplug/ImageLayout.h"

namespace imagediff {

namespace {

namespace ch = layout::channel;

// The bytes of a channel record each column is stored in.
struct ColumnBytes {
    int column;
    int first;
    int count;
};
constexpr ColumnBytes kColumnBytes[] = {
    {ChannelTable::ColRx, ch::kRxFrequency, 4},
    {ChannelTable::ColTx, ch::kTxFrequency, 4},
    {ChannelTable::ColDecode, ch::kDecodeToneLow, 2},
    {ChannelTable::ColEncode, ch::kEncodeToneLow, 2},
    {ChannelTable::ColBusy, ch::kFlags, 1},
};

QString hexByte(std::uint8_t byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

QList<OptionValue> optionValues(const MemoryImage& image)
{
    const std::uint8_t timeOut = image.at(layout::kTimeOutTimer);
    return {
        {QStringLiteral("Model"), QString::number(image.at(layout::kModelIndex)), layout::kModelIndex},
        {QStringLiteral("Band"), QString::number(image.at(layout::kBandIndex)), layout::kBandIndex},
        {QStringLiteral("Squelch Level"), QString::number(image.at(layout::kSquelchLevel)), layout::kSquelchLevel},
        {QStringLiteral("Time Out Time"),
         timeOut == 0 ? QStringLiteral("Off") : QStringLiteral("%1s").arg(int(timeOut) * 30), layout::kTimeOutTimer},
        {QStringLiteral("Beep"), (image.at(layout::kBeep) & 0x01) ? QStringLiteral("On") : QStringLiteral("Off"),
         layout::kBeep},
        {QStringLiteral("Tx Power"), QString::number(image.at(layout::kTxPower) / 3), layout::kTxPower},
    };
}

QList<DiffLine> diff(const MemoryImage& a, const MemoryImage& b)
{
    QList<DiffLine> lines;
    QSet<int> shown;  // offsets a reported field already covers

    ChannelTable tableA;
    ChannelTable tableB;
    tableA.decode(a);
    tableB.decode(b);
    for (int row = 1; row <= layout::kChannelCount; ++row) {
        for (const ColumnBytes& column : kColumnBytes) {
            const QString& textA = tableA.cell(row, column.column);
            const QString& textB = tableB.cell(row, column.column);
            if (textA == textB)
                continue;
            lines.append(DiffLine{DiffLine::Kind::ChannelField, row, column.column,
                                  layout::channelOffset(row) + column.first, WordSet::fileWords().header(column.column),
                                  textA, textB});
            for (int i = 0; i < column.count; ++i)
                shown.insert(layout::channelOffset(row) + column.first + i);
        }
    }

    const QList<OptionValue> optionsA = optionValues(a);
    const QList<OptionValue> optionsB = optionValues(b);
    for (int i = 0; i < optionsA.size(); ++i) {
        if (optionsA.at(i).value == optionsB.at(i).value)
            continue;
        lines.append(DiffLine{DiffLine::Kind::Option, 0, 0, optionsA.at(i).offset, optionsA.at(i).name,
                              optionsA.at(i).value, optionsB.at(i).value});
        shown.insert(optionsA.at(i).offset);
    }

    for (int offset = 0; offset < layout::kImageSize; ++offset) {
        if (a.at(offset) == b.at(offset) || shown.contains(offset))
            continue;
        const int channel = offset / layout::kRowSize;
        lines.append(DiffLine{DiffLine::Kind::OtherByte, channel >= 1 && channel <= layout::kChannelCount ? channel : 0,
                              0, offset,
                              QStringLiteral("Byte 0x%1")
                                  .arg(QStringLiteral("%1").arg(offset, 3, 16, QLatin1Char('0')).toUpper()),
                              hexByte(a.at(offset)), hexByte(b.at(offset))});
    }
    return lines;
}

}  // namespace imagediff
