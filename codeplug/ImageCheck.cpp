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

class Checker {
public:
    Checker(const MemoryImage& image, const ImageCheckLimits& limits) : m_image(image), m_limits(limits) {}

    QList<ImageProblem> run()
    {
        for (int n = 1; n <= layout::kChannelCount; ++n)
            checkChannel(n);
        checkOption(layout::kSquelchLevel, Field::SquelchLevel, kLargestSquelchLevel);
        checkOption(layout::kTimeOutTimer, Field::TimeOutTimer, kLargestTimeOut);
        if (m_limits.modelCount > 0)
            checkOption(layout::kModelIndex, Field::ModelIndex, m_limits.modelCount - 1);
        if (m_limits.bandCount > 0)
            checkOption(layout::kBandIndex, Field::BandIndex, m_limits.bandCount - 1);
        return m_problems;
    }

private:
    using Field = ImageProblem::Field;

    ImageProblem& add(ImageProblem::Kind kind, Field field, int offset)
    {
        const int row = offset / layout::kRowSize;
        const int channel = layout::rowRegion(row) == layout::RowRegion::Channel ? row : 0;
        ImageProblem problem;
        problem.kind = kind;
        problem.field = field;
        problem.channel = channel;
        problem.offset = offset;
        m_problems.append(problem);
        return m_problems.last();
    }

    void checkOption(int offset, Field field, int largest)
    {
        const int value = m_image.at(offset);
        if (value > largest) {
            ImageProblem& problem = add(ImageProblem::Kind::OptionOutOfRange, field, offset);
            problem.value = value;
            problem.largest = largest;
        }
    }

    void checkChannel(int n)
    {
        const int base = layout::channelOffset(n);
        const std::uint8_t* record = m_image.channel(n);
        if (!codec::channelInUse(record))
            return;
        checkFrequency(base + layout::channel::kRxFrequency, Field::RxFrequency);
        checkFrequency(base + layout::channel::kTxFrequency, Field::TxFrequency);
        checkTone(base + layout::channel::kDecodeToneLow, base + layout::channel::kDecodeToneHigh, Field::DecodeTone);
        checkTone(base + layout::channel::kEncodeToneLow, base + layout::channel::kEncodeToneHigh, Field::EncodeTone);
    }

    void checkFrequency(int offset, Field field)
    {
        const std::uint8_t* bytes = m_image.data() + offset;
        for (int i = 0; i < 4; ++i) {
            if (!isDecimalPair(bytes[i])) {
                add(ImageProblem::Kind::FrequencyNotDecimal, field, offset);
                return;
            }
        }
        const std::int64_t units = std::int64_t(codec::pairValue(bytes[3])) * 1000000 +
                                   std::int64_t(codec::pairValue(bytes[2])) * 10000 +
                                   std::int64_t(codec::pairValue(bytes[1])) * 100 + codec::pairValue(bytes[0]);
        if (m_limits.bandHigh > 0 && (units < m_limits.bandLow || units > m_limits.bandHigh)) {
            ImageProblem& problem = add(ImageProblem::Kind::FrequencyOutsideBand, field, offset);
            problem.frequency = units;
            problem.bandText = m_limits.bandText;
        }
    }

    void checkTone(int lowOffset, int highOffset, Field field)
    {
        const std::uint8_t low = m_image.at(lowOffset);
        const std::uint8_t high = m_image.at(highOffset);
        if (high == 0x00 || high == 0xFF)
            return;  // no tone, whatever the low byte holds
        // A DCS high byte carries a flag and the hundreds digit; the rest are
        // decimal digit pairs.
        const bool digitsOk = high >= 0x80 ? isDecimalPair(low) : isDecimalPair(low) && isDecimalPair(high);
        const QString text = codec::decodeTone(high, low, true, WordSet::fileWords());
        if (!digitsOk || !m_tones.texts().contains(text)) {
            ImageProblem& problem = add(ImageProblem::Kind::ToneNotListed, field, lowOffset);
            problem.value = low;
            problem.high = high;
        }
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
