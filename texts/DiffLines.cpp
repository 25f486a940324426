#include "texts/DiffLines.h"

#include "codeplug/ChannelTable.h"
#include "codeplug/ImageLayout.h"
#include "texts/CellTexts.h"
#include "texts/TextTable.h"

namespace texts {

namespace {

QString word(int id)
{
    return text(id);
}

QString orEmpty(const QString& value)
{
    return value.isEmpty() ? word(IDS_DIFF_EMPTY) : value;
}

}  // namespace

QString optionName(int offset)
{
    switch (offset) {
    case layout::kModelIndex: return word(IDS_DIFF_MODEL);
    case layout::kBandIndex: return word(IDS_DIFF_BAND);
    case layout::kSquelchLevel: return word(IDS_DIFF_SQUELCH);
    case layout::kTimeOutTimer: return word(IDS_DIFF_TIME_OUT);
    case layout::kBeep: return word(IDS_DIFF_BEEP);
    default: break;
    }
    return word(IDS_DIFF_TX_POWER);
}

QString optionValue(int offset, const MemoryImage& image, const QString& number)
{
    const std::uint8_t byte = image.at(offset);
    if (offset == layout::kTimeOutTimer)
        return byte == 0 ? word(IDS_DIFF_OFF) : word(IDS_DIFF_SECONDS).arg(int(byte) * 30);
    if (offset == layout::kBeep)
        return word((byte & 0x01) ? IDS_DIFF_ON : IDS_DIFF_OFF);
    return number;
}

QStringList diffLines(const QList<imagediff::DiffLine>& diff, const MemoryImage& a, const MemoryImage& b)
{
    const CellWords words(shownWords());
    ChannelTable tableA(words);
    ChannelTable tableB(words);
    tableA.decode(a);
    tableB.decode(b);
    QStringList texts;
    for (const imagediff::DiffLine& line : diff) {
        using Kind = imagediff::DiffLine::Kind;
        switch (line.kind) {
        case Kind::ChannelField:
            texts << word(IDS_DIFF_CHANNEL_LINE)
                         .arg(QString::number(line.channel), words.shown().header(line.column),
                              orEmpty(tableA.cell(line.channel, line.column)),
                              orEmpty(tableB.cell(line.channel, line.column)));
            break;
        case Kind::Option:
            texts << word(IDS_DIFF_LINE)
                         .arg(optionName(line.offset), orEmpty(optionValue(line.offset, a, line.a)),
                              orEmpty(optionValue(line.offset, b, line.b)));
            break;
        case Kind::OtherByte: {
            const QString where = word(IDS_DIFF_BYTE)
                                      .arg(QStringLiteral("%1").arg(line.offset, 3, 16, QLatin1Char('0')).toUpper());
            // A byte of a channel record names its channel, as a field does.
            texts << (line.channel > 0
                          ? word(IDS_DIFF_CHANNEL_LINE)
                                .arg(QString::number(line.channel), where, orEmpty(line.a), orEmpty(line.b))
                          : word(IDS_DIFF_LINE).arg(where, orEmpty(line.a), orEmpty(line.b)));
            break;
        }
        }
    }
    return texts;
}

}  // namespace texts
