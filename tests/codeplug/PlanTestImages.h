#pragma once
// Random images whose channels are each empty or a channel that could have
// been typed into the grid, for the channel-plan tests.

#include <QRandomGenerator>

#include "codeplug/ChannelTable.h"
#include "tests/support/TestSupport.h"
#include "codeplug/Codecs.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/ModelBand.h"
#include "codeplug/ToneTable.h"

namespace plantest {

// 130 to 160 MHz, the band of the settings file's example model.
inline modelband::BandLimits band()
{
    return modelband::BandLimits{13000000, 16000000};
}

// A frequency in the band on a 5 kHz or 6.25 kHz step, as "%3.5f".
inline QString randomFrequency(QRandomGenerator& random, const modelband::BandLimits& limits)
{
    const std::int64_t step = random.bounded(2) ? codec::kStep5k : codec::kStep6k25;
    const std::int64_t first = (limits.low + step - 1) / step;
    const std::int64_t last = limits.high / step;
    return codec::formatFrequency(step * (first + random.bounded(qint64(last - first + 1))));
}

// Every byte random, then each channel either empty or in use with
// frequencies in band and tones from the tone list.
inline MemoryImage randomPlanImage(QRandomGenerator& random, const modelband::BandLimits& limits)
{
    MemoryImage image;
    for (int i = 0; i < layout::kImageSize; ++i)
        image.set(i, std::uint8_t(random.bounded(256)));
    const ToneTable tones(moduleCellWords(false).shown().none);
    ChannelTable table;
    for (int row = 1; row <= layout::kChannelCount; ++row) {
        if (random.bounded(4) == 0)
            continue;
        const QString rx = randomFrequency(random, limits);
        table.setCell(row, ChannelTable::ColRx, rx);
        table.setCell(row, ChannelTable::ColTx, random.bounded(2) ? rx : randomFrequency(random, limits));
        table.setCell(row, ChannelTable::ColDecode, tones.at(random.bounded(ToneTable::kSize)));
        table.setCell(row, ChannelTable::ColEncode, tones.at(random.bounded(ToneTable::kSize)));
        table.setCell(row, ChannelTable::ColBusy, moduleCellWords(false).shown().busyLock(random.bounded(2)));
    }
    table.encode(image);
    return image;
}

inline ChannelTable decoded(const MemoryImage& image, bool chinese = false)
{
    ChannelTable table(moduleCellWords(chinese));
    table.decode(image);
    return table;
}

}  // namespace plantest
