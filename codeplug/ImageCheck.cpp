#include "codeplug/ImageCheck.h"

#include "codeplug/Codecs.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/ModelBand.h"
#include "codeplug/ToneTable.h"

namespace {

constexpr int kLargestSquelchLevel = 9;
constexpr int kLargestTimeOut = 10;  // 10 x 30 s

bool isDecimalPair(std::uint8_t byte)
{
    return (byte >> 4) <= 9 && (byte & 0x0F) <= 9;
}

QString hexOffset(int offset)
{
    return QStringLiteral("0x%1").arg(offset, 3, 16, QLatin1Char('0'));
}

class Checker {
public:
    Checker(const MemoryImage& image, const ImageCheckLimits& limits) : m_image(image), m_limits(limits) {}

    QList<ImageProblem> run()
    {
        for (int n = 1; n <= layout::kChannelCount; ++n)
            checkChannel(n);
        checkOption(layout::kSquelchLevel, QStringLiteral("squelch level"), kLargestSquelchLevel);
        checkOption(layout::kTimeOutTimer, QStringLiteral("time-out timer"), kLargestTimeOut);
        if (m_limits.modelCount > 0)
            checkOption(layout::kModelIndex, QStringLiteral("model index"), m_limits.modelCount - 1);
        if (m_limits.bandCount > 0)
            checkOption(layout::kBandIndex, QStringLiteral("band index"), m_limits.bandCount - 1);
        return m_problems;
    }

private:
    void add(ImageProblem::Kind kind, int offset, const QString& text)
    {
        const int row = offset / layout::kRowSize;
        const int channel = layout::rowRegion(row) == layout::RowRegion::Channel ? row : 0;
        m_problems.append({kind, channel, offset, text});
    }

    void checkOption(int offset, const QString& name, int largest)
    {
        const int value = m_image.at(offset);
        if (value > largest)
            add(ImageProblem::Kind::OptionOutOfRange, offset, QStringLiteral("%1 (byte %2) is %3, the radio takes 0 to %4")
                            .arg(name, hexOffset(offset))
                            .arg(value)
                            .arg(largest));
    }

    void checkChannel(int n)
    {
        const int base = layout::channelOffset(n);
        const std::uint8_t* record = m_image.channel(n);
        if (!codec::channelInUse(record))
            return;
        const QString channel = QStringLiteral("channel %1: ").arg(n);
        checkFrequency(base + layout::channel::kRxFrequency, channel + QStringLiteral("receive frequency"));
        checkFrequency(base + layout::channel::kTxFrequency, channel + QStringLiteral("transmit frequency"));
        checkTone(base + layout::channel::kDecodeToneLow, base + layout::channel::kDecodeToneHigh,
                  channel + QStringLiteral("decode tone"));
        checkTone(base + layout::channel::kEncodeToneLow, base + layout::channel::kEncodeToneHigh,
                  channel + QStringLiteral("encode tone"));
    }

    void checkFrequency(int offset, const QString& what)
    {
        const std::uint8_t* bytes = m_image.data() + offset;
        for (int i = 0; i < 4; ++i) {
            if (!isDecimalPair(bytes[i])) {
                add(ImageProblem::Kind::FrequencyNotDecimal, offset,
                    QStringLiteral("%1 (bytes %2) is not a decimal number").arg(what, hexOffset(offset)));
                return;
            }
        }
        const std::int64_t units = std::int64_t(codec::pairValue(bytes[3])) * 1000000 +
                                   std::int64_t(codec::pairValue(bytes[2])) * 10000 +
                                   std::int64_t(codec::pairValue(bytes[1])) * 100 + codec::pairValue(bytes[0]);
        if (m_limits.bandHigh > 0 && (units < m_limits.bandLow || units > m_limits.bandHigh))
            add(ImageProblem::Kind::FrequencyOutsideBand, offset, QStringLiteral("%1 %2 MHz is outside the band %3")
                            .arg(what, codec::formatFrequency(units), m_limits.bandText));
    }

    void checkTone(int lowOffset, int highOffset, const QString& what)
    {
        const std::uint8_t low = m_image.at(lowOffset);
        const std::uint8_t high = m_image.at(highOffset);
        if (high == 0x00 || high == 0xFF)
            return;  // no tone, whatever the low byte holds
        // A DCS high byte carries a flag and the hundreds digit; the rest are
        // decimal digit pairs.
        const bool digitsOk = high >= 0x80 ? isDecimalPair(low) : isDecimalPair(low) && isDecimalPair(high);
        const QString text = codec::decodeTone(high, low, true, WordSet::fileWords());
        if (!digitsOk || !m_tones.texts().contains(text))
            add(ImageProblem::Kind::ToneNotListed, lowOffset, QStringLiteral("%1 (bytes %2: %3 %4) is not a listed tone")
                               .arg(what, hexOffset(lowOffset))
                               .arg(low, 2, 16, QLatin1Char('0'))
                               .arg(high, 2, 16, QLatin1Char('0')));
    }

    const MemoryImage& m_image;
    const ImageCheckLimits& m_limits;
    const ToneTable m_tones{WordSet::fileWords().none};
    QList<ImageProblem> m_problems;
};

}  // namespace

QList<ImageProblem> checkImage(const MemoryImage& image, const ImageCheckLimits& limits)
{
    return Checker(image, limits).run();
}
