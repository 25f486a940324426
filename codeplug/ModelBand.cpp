#include "codeplug/ModelBand.h"

#include "codeplug/ImageLayout.h"

#include <limits>

namespace modelband {

namespace {

std::int32_t saturate(std::int64_t v)
{
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (v < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return std::int32_t(v);
}

}  // namespace

QStringList bandPieces(const QString& bandList)
{
    return bandList.split(QLatin1Char('|'), Qt::KeepEmptyParts);
}

QString bandText(const QString& bandList, int bandIndex)
{
    const QStringList pieces = bandPieces(bandList);
    if (bandIndex < 0)
        return pieces.first();
    if (bandIndex >= pieces.size())
        return pieces.last();
    return pieces.at(bandIndex);
}

std::int32_t leadingInteger(const QString& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto isSpace = [](QChar c) {
        const char16_t u = c.unicode();
        return u == ' ' || u == '\t' || u == '\n' || u == '\v' || u == '\f' || u == '\r';
    };
    while (i < n && isSpace(text.at(i)))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    std::int64_t v = 0;
    while (i < n && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9')) {
        if (v <= std::int64_t(1) << 40)  // far beyond int32; stop growing, keep reading
            v = v * 10 + (text.at(i).unicode() - u'0');
        ++i;
    }
    return saturate(negative ? -v : v);
}

BandLimits bandLimits(const QString& bandText)
{
    BandLimits limits;
    limits.low = saturate(std::int64_t(leadingInteger(bandText)) * 100000);
    const qsizetype dash = bandText.indexOf(QLatin1Char('-'));
    const QString highText = dash >= 0 ? bandText.mid(dash + 1) : bandText;
    limits.high = saturate(std::int64_t(leadingInteger(highText)) * 100000);
    return limits;
}

}  // namespace modelband
