#pragma once
// What a table decode derives from a model and band text besides the cells:
// the band list's pieces, the main window title and the band limits used by
// the validator. Reading the lists from the settings file and the exchange
// with the per-user store are settings/ModelBandSettings.h's.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace modelband {

// Split at "|"; the piece after the last "|" is always kept, even empty.
QStringList bandPieces(const QString& bandList);
// Piece bandIndex; the last piece when there are fewer; the whole list without "|".
QString bandText(const QString& bandList, int bandIndex);

struct BandLimits {
    std::int32_t low = 0;
    std::int32_t high = 0;
};
// Leading integer (atoi rules) x 100000 for the low edge and for the text after
// the first "-" (the whole text without "-"). Never overflows: out-of-range
// edges saturate to the int32 range.
BandLimits bandLimits(const QString& bandText);
// atoi's reading of the leading integer, saturated to the int32 range.
std::int32_t leadingInteger(const QString& text);

}  // namespace modelband

// What enforces the band on typed frequencies holds its limits here (in units
// of 10 Hz): the channel view is one, and Product Information sets them.
class ChannelBandLimits {
public:
    virtual ~ChannelBandLimits() = default;
    std::int32_t m_nBandHigh = 0;
    std::int32_t m_nBandLow = 0;
};
