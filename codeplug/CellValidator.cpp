#include "codeplug/CellValidator.h"

#include "codeplug/Codecs.h"

CellValidator::CellValidator(std::int32_t bandLow, std::int32_t bandHigh, bool chinese)
    : m_nBandLow(bandLow), m_nBandHigh(bandHigh), m_bChinese(chinese)
{
}

bool CellValidator::isPlainNumber(const QString& text)
{
    const QString number = text.trimmed();
    int digits = 0;
    int points = 0;
    for (const QChar c : number) {
        if (c.unicode() >= u'0' && c.unicode() <= u'9') {
            ++digits;
        } else if (c == QLatin1Char('.')) {
            if (++points > 1)
                return false;
        } else {
            return false;
        }
    }
    return digits > 0;
}

CellValidator::FrequencyCheck CellValidator::checkFrequency(const QString& text,
                                                            std::int64_t* units) const
{
    if (units)
        *units = 0;
    if (text.isEmpty())
        return FrequencyCheck::Empty;
    // "145,5" or "146.52abc" would otherwise be read as far as they look like
    // a number (145 and 146.52) and stored without a word.
    if (!isPlainNumber(text))
        return FrequencyCheck::NotANumber;
    const std::int64_t v = codec::decimalProduct(text, codec::kFrequencyFactor);
    if (units)
        *units = v;
    // Below 10 MHz (zero included) and beyond eight digits a frequency cannot
    // be stored: the image would read it back as an empty channel or as
    // different digits. Such values count as out of range whatever the band
    // says.
    if (v < kSmallestFrequency || v > kLargestFrequency || v < m_nBandLow || v > m_nBandHigh)
        return FrequencyCheck::OutOfRange;
    if (v % codec::kStep5k != 0 && v % codec::kStep6k25 != 0)
        return FrequencyCheck::OffStep;
    return FrequencyCheck::Valid;
}

void CellValidator::clearRow(ChannelTable& table, int row)
{
    // Busy Lock (column 5) is kept.
    for (int c = ChannelTable::ColRx; c <= ChannelTable::ColEncode; ++c)
        table.setCell(row, c, QString());
}

int CellValidator::store(ChannelTable& table, int row, int col, const QString& text,
                         Trigger trigger) const
{
    if (row < 1 || row >= ChannelTable::kRows || col < ChannelTable::ColRx || col > ChannelTable::ColBusy)
        return NoMessage;

    const QString rx = table.cell(row, ChannelTable::ColRx);
    const QString tx = table.cell(row, ChannelTable::ColTx);

    if (col == ChannelTable::ColRx || col == ChannelTable::ColTx) {
        std::int64_t v = 0;
        const FrequencyCheck check = checkFrequency(text, &v);
        const bool isRx = col == ChannelTable::ColRx;
        switch (check) {
        case FrequencyCheck::NotANumber:
            return MsgNotANumber;  // the row stays as it was
        case FrequencyCheck::Empty:
            if (isRx)
                clearRow(table, row);
            else
                table.setCell(row, col, rx);  // the transmit frequency follows the receive one
            return NoMessage;
        case FrequencyCheck::OutOfRange:
            if (isRx)
                clearRow(table, row);
            else
                table.setCell(row, col, QString());
            return MsgOutOfRange;
        case FrequencyCheck::OffStep:
            if (isRx || trigger == Trigger::CellLeave)
                clearRow(table, row);
            else
                table.setCell(row, col, QString());
            return MsgOffStep;
        case FrequencyCheck::Valid:
            break;
        }
        // The text stored is the value that was checked, formatted: typed
        // digits beyond the fifth decimal are cut as the check cut them, so a
        // rounded sixth decimal cannot carry an unchecked value into the cell.
        const QString stored = codec::formatFrequency(v);
        if (isRx) {
            table.setCell(row, ChannelTable::ColRx, stored);
            if (rx.isEmpty()) {
                // A new channel: transmit on the same frequency, no tones, busy lock on.
                table.setCell(row, ChannelTable::ColTx, stored);
                table.setCell(row, ChannelTable::ColDecode, codec::noToneText(m_bChinese));
                table.setCell(row, ChannelTable::ColEncode, codec::noToneText(m_bChinese));
                table.setCell(row, ChannelTable::ColBusy, codec::busyLockText(true, m_bChinese));
            }
        } else {
            // No transmit frequency without a receive frequency.
            table.setCell(row, ChannelTable::ColTx, rx.isEmpty() ? QString() : stored);
        }
        return NoMessage;
    }

    // Tones and busy lock only belong to a channel with a frequency.
    table.setCell(row, col, (rx.isEmpty() && tx.isEmpty()) ? QString() : text);
    return NoMessage;
}
