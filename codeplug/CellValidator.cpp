#include "codeplug/CellValidator.h"

#include "codeplug/Codecs.h"

CellValidator::CellValidator(std::int32_t bandLow, std::int32_t bandHigh, const CellWords& words)
    : m_nBandLow(bandLow), m_nBandHigh(bandHigh), m_words(words)
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

int CellValidator::store(Channel& channel, int col, const QString& text) const
{
    if (col < ChannelTable::ColRx || col > ChannelTable::ColBusy)
        return NoMessage;

    if (col == ChannelTable::ColRx || col == ChannelTable::ColTx) {
        std::int64_t v = 0;
        switch (checkFrequency(text, &v)) {
        case FrequencyCheck::NotANumber: return MsgNotANumber;
        case FrequencyCheck::OutOfRange: return MsgOutOfRange;
        case FrequencyCheck::OffStep: return MsgOffStep;
        case FrequencyCheck::Empty:
        case FrequencyCheck::Valid:
            break;
        }
        if (col == ChannelTable::ColRx) {
            if (v == 0) {
                // Emptying the receive frequency empties the channel; busy lock is kept.
                channel.setRx(0);
                channel.setTx(0);
                channel.setTone(Channel::Tone::Decode, QString());
                channel.setTone(Channel::Tone::Encode, QString());
            } else if (!channel.inUse()) {
                // A new channel: transmit on the same frequency, no tones, busy lock on.
                channel.setRx(v);
                channel.setTx(v);
                channel.setTone(Channel::Tone::Decode, QString());
                channel.setTone(Channel::Tone::Encode, QString());
                channel.setBusyLock(true);
            } else {
                channel.setRx(v);
            }
        } else {
            // An empty transmit frequency follows the receive one; there is no
            // transmit frequency without a receive frequency.
            channel.setTx(channel.hasRx() ? (v == 0 ? channel.rx() : v) : 0);
        }
        return NoMessage;
    }

    // Tones and busy lock only belong to a channel with a frequency.
    if (!channel.hasRx() && !channel.hasTx())
        return NoMessage;
    if (col == ChannelTable::ColBusy)
        channel.setBusyLock(m_words.readsBusyLock(text, Qt::CaseSensitive) == true);
    else
        channel.setTone(col == ChannelTable::ColDecode ? Channel::Tone::Decode : Channel::Tone::Encode, text);
    return NoMessage;
}
