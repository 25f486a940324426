#include "codeplug/Channel.h"

#include <algorithm>

#include "codeplug/ChannelTable.h"
#include "codeplug/Codecs.h"

namespace ch = layout::channel;

namespace {

bool presenceByte(std::uint8_t b) { return b != 0x00 && b != 0xFF; }

int highOffset(Channel::Tone which) { return which == Channel::Tone::Decode ? ch::kDecodeToneHigh : ch::kEncodeToneHigh; }
int lowOffset(Channel::Tone which) { return which == Channel::Tone::Decode ? ch::kDecodeToneLow : ch::kEncodeToneLow; }

}  // namespace

Channel::Channel() { m_bytes.fill(0xFF); }

Channel Channel::fromRecord(const std::uint8_t* record)
{
    Channel channel;
    std::copy(record, record + layout::kRowSize, channel.m_bytes.begin());
    return channel;
}

void Channel::writeRecord(std::uint8_t* record) const { std::copy(m_bytes.begin(), m_bytes.end(), record); }

std::int64_t Channel::frequencyAt(const std::uint8_t* four)
{
    if (!presenceByte(four[3]))
        return 0;
    return std::int64_t(codec::pairValue(four[3])) * 1000000 + std::int64_t(codec::pairValue(four[2])) * 10000 +
           std::int64_t(codec::pairValue(four[1])) * 100 + std::int64_t(codec::pairValue(four[0]));
}

bool Channel::hasRx() const { return presenceByte(m_bytes[ch::kRxPresence]); }
bool Channel::hasTx() const { return presenceByte(m_bytes[ch::kTxPresence]); }
std::int64_t Channel::rx() const { return frequencyAt(m_bytes.data() + ch::kRxFrequency); }
std::int64_t Channel::tx() const { return frequencyAt(m_bytes.data() + ch::kTxFrequency); }
bool Channel::inUse() const { return codec::channelInUse(m_bytes.data()); }

QString Channel::toneText(Tone which, const WordSet& words) const
{
    return codec::decodeTone(m_bytes[highOffset(which)], m_bytes[lowOffset(which)], true, words);
}

bool Channel::hasTone(Tone which) const
{
    const std::uint8_t high = m_bytes[highOffset(which)];
    return high != 0x00 && high != 0xFF;
}

bool Channel::busyLock() const { return (m_bytes[ch::kFlags] & ch::kBusyLockOffBit) == 0; }

void Channel::setFrequency(int offset, std::int64_t units)
{
    std::uint8_t* four = m_bytes.data() + offset;
    // The same value keeps its bytes (a digit nibble above 9 among them, an
    // absent field marked 0x00).
    if (units == frequencyAt(four))
        return;
    if (units == 0) {
        std::fill(four, four + 4, std::uint8_t(0xFF));
        return;
    }
    codec::encodeFrequency(codec::formatFrequency(units), four);
}

void Channel::setRx(std::int64_t units) { setFrequency(ch::kRxFrequency, units); }
void Channel::setTx(std::int64_t units) { setFrequency(ch::kTxFrequency, units); }

void Channel::setTone(Tone which, const QString& text)
{
    std::uint8_t& high = m_bytes[highOffset(which)];
    std::uint8_t& low = m_bytes[lowOffset(which)];
    std::uint8_t newHigh = 0;
    std::uint8_t newLow = 0;
    codec::encodeTone(text, &newHigh, &newLow);
    const bool wantNone = newHigh == 0xFF;
    // A tone that already reads as the text keeps its bytes: no tone stored
    // as 0x00, a code whose bytes are not the canonical ones.
    if (wantNone ? !hasTone(which) : codec::decodeTone(high, low, true, WordSet::fileWords()) ==
                                         codec::decodeTone(newHigh, newLow, true, WordSet::fileWords()))
        return;
    high = newHigh;
    low = newLow;
}

void Channel::setBusyLock(bool on)
{
    std::uint8_t& flags = m_bytes[ch::kFlags];
    flags = on ? std::uint8_t(flags & ~ch::kBusyLockOffBit) : std::uint8_t(flags | ch::kBusyLockOffBit);
}

QString Channel::cellText(int col, const WordSet& words) const
{
    const std::uint8_t* r = m_bytes.data();
    switch (col) {
    case ChannelTable::ColRx: return codec::decodeFrequency(r + ch::kRxFrequency);
    case ChannelTable::ColTx: return codec::decodeFrequency(r + ch::kTxFrequency);
    case ChannelTable::ColDecode: return codec::decodeTone(r[ch::kDecodeToneHigh], r[ch::kDecodeToneLow], inUse(), words);
    case ChannelTable::ColEncode: return codec::decodeTone(r[ch::kEncodeToneHigh], r[ch::kEncodeToneLow], inUse(), words);
    case ChannelTable::ColBusy: return codec::decodeBusyLock(r[ch::kFlags], inUse(), words);
    default: return QString();
    }
}
