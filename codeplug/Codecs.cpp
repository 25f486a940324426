#include "codeplug/Codecs.h"

#include "codeplug/ImageLayout.h"
#include "codeplug/ModelBand.h"

#include <algorithm>
#include <limits>

namespace codec {

namespace {

constexpr std::uint8_t kEmptyByte = 0xFF;
constexpr int kSignificantDigits = 15;
constexpr std::uint64_t kTen15 = 1000000000000000ULL;  // 10^15

bool isCSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\v' || u == '\f' || u == '\r';
}

bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

int digitOf(QChar c)
{
    return c.unicode() - u'0';
}

// A typed number rounded to 15 significant digits: (-1)^negative x mantissa x
// 10^exponent, mantissa below 10^15.
struct RoundedDecimal {
    bool negative = false;
    std::uint64_t mantissa = 0;
    std::int64_t exponent = 0;
};

// Reads the longest numeric prefix the way the C library's atof reads a
// decimal number: leading white space, an optional sign, digits with at most
// one point (at least one digit in all), then an optional exponent ("e" or
// "E", optional sign, at least one digit). Only decimal forms count: "inf",
// "nan" and hexadecimal forms read as no number (0), as the Windows C
// run-time's atof reads them. Digits beyond the 16th cannot change
// the rounding to 15 digits, so only the first 16 are kept; a 400-digit text
// costs one pass and no big-number arithmetic.
RoundedDecimal readRounded(const QString& text)
{
    RoundedDecimal result;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && isCSpace(text.at(i)))
        ++i;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        result.negative = text.at(i) == QLatin1Char('-');
        ++i;
    }

    std::uint64_t kept = 0;         // first up to 16 significant digits
    int keptCount = 0;
    std::int64_t pointPosition = 0;  // value = 0.<significant digits> x 10^pointPosition
    bool significant = false;
    bool anyDigit = false;
    bool afterPoint = false;
    for (; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('.') && !afterPoint) {
            afterPoint = true;
            continue;
        }
        if (!isDigit(c))
            break;
        anyDigit = true;
        const int d = digitOf(c);
        if (!significant && d == 0) {
            if (afterPoint)
                --pointPosition;  // 0.00ddd: each leading zero after the point shifts down
            continue;
        }
        significant = true;
        if (!afterPoint)
            ++pointPosition;
        if (keptCount < kSignificantDigits + 1) {
            kept = kept * 10 + std::uint64_t(d);
            ++keptCount;
        }
    }
    if (!anyDigit || !significant)
        return RoundedDecimal{};

    // Exponent: consumed only when at least one digit follows the letter and
    // its optional sign. Saturated far beyond any value that can matter.
    std::int64_t exponent = 0;
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        bool expNegative = false;
        if (j < n && (text.at(j) == QLatin1Char('+') || text.at(j) == QLatin1Char('-'))) {
            expNegative = text.at(j) == QLatin1Char('-');
            ++j;
        }
        constexpr std::int64_t kExponentCap = 1000000000;
        while (j < n && isDigit(text.at(j))) {
            if (exponent < kExponentCap)
                exponent = exponent * 10 + digitOf(text.at(j));
            ++j;
        }
        if (expNegative)
            exponent = -exponent;
    }

    // Round half away from zero to 15 digits.
    if (keptCount > kSignificantDigits) {
        const bool up = kept % 10 >= 5;
        kept /= 10;
        --keptCount;
        if (up)
            ++kept;
        if (kept == kTen15) {  // 999...9 rounded up to 1000...0
            kept /= 10;
            ++pointPosition;
        }
    }
    result.mantissa = kept;
    result.exponent = pointPosition - keptCount + exponent;
    return result;
}

// The low byte of (p / 10) x 16 + p % 10, computed without signed overflow
// for any p (only 0 to 99 give a proper digit pair; the rest wrap as the
// byte arithmetic of the radio's files always has).
std::uint8_t pairByte64(std::int64_t p)
{
    const std::uint64_t high = static_cast<std::uint64_t>(p / 10);
    const std::uint64_t low = static_cast<std::uint64_t>(p % 10);
    return static_cast<std::uint8_t>((high * 16 + low) & 0xFF);
}

// The byte whose pair value is p for a p the digit pairs cannot hold (100 to
// 165): nibbles above 9 count ten each in the pair value, so the high nibble
// takes as much as fits below maxHigh and the low nibble the rest (160 gives
// 0xFA). Such bytes come only from images that carry them already; the
// decoder reads them by the same arithmetic and this gives them back. False
// when no byte with a high nibble up to maxHigh has that value.
bool overflowPairByte(std::int64_t p, int maxHigh, std::uint8_t* byte)
{
    if (p < 0)
        return false;
    const std::int64_t high = std::min<std::int64_t>(p / 10, maxHigh);
    const std::int64_t low = p - high * 10;
    if (low > 15)
        return false;
    *byte = static_cast<std::uint8_t>(high * 16 + low);
    return true;
}

bool isNoToneHigh(std::uint8_t high)
{
    return high == 0x00 || high == 0xFF;
}

}  // namespace

// Exact decimal arithmetic in 128-bit integers: the mantissa (below 10^15)
// times the factor (below 2^63) stays below 10^34 < 2^127. The product is then
// scaled by the power of ten and truncated toward zero. Results beyond the
// int64 range saturate to its ends (a typed "1e300" gives INT64_MAX), a
// vanishing scale gives 0; nothing here can overflow.
std::int64_t decimalProduct(const QString& text, std::int64_t factor)
{
    const RoundedDecimal number = readRounded(text);
    if (number.mantissa == 0 || factor == 0)
        return 0;

    const bool negative = number.negative != (factor < 0);
    const unsigned __int128 factorMagnitude =
        factor < 0 ? static_cast<unsigned __int128>(-(factor + 1)) + 1
                   : static_cast<unsigned __int128>(factor);
    const unsigned __int128 limit =
        negative ? static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max()) + 1
                 : static_cast<unsigned __int128>(std::numeric_limits<std::int64_t>::max());

    unsigned __int128 value = static_cast<unsigned __int128>(number.mantissa) * factorMagnitude;
    if (number.exponent >= 0) {
        for (std::int64_t e = 0; e < number.exponent; ++e) {
            value *= 10;
            if (value > limit)
                break;
        }
    } else {
        if (number.exponent < -40)
            return 0;
        for (std::int64_t e = 0; e < -number.exponent && value != 0; ++e)
            value /= 10;
    }
    if (value > limit)
        value = limit;
    if (negative) {
        if (value == limit)
            return std::numeric_limits<std::int64_t>::min();
        return -static_cast<std::int64_t>(value);
    }
    return static_cast<std::int64_t>(value);
}

int pairValue(std::uint8_t byte)
{
    return (byte >> 4) * 10 + (byte & 0x0F);
}

std::uint8_t pairByte(int p)
{
    return pairByte64(p);
}

QString formatFrequency(std::int64_t units)
{
    // "%3.5f" of units / 100000, done in integers so that no binary fraction
    // can round the last digit.
    const bool negative = units < 0;
    const std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(units + 1)) + 1 : static_cast<std::uint64_t>(units);
    const std::uint64_t whole = magnitude / std::uint64_t(kFrequencyFactor);
    const std::uint64_t fraction = magnitude % std::uint64_t(kFrequencyFactor);
    QString text = QStringLiteral("%1.%2").arg(whole).arg(fraction, 5, 10, QLatin1Char('0'));
    if (negative)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString decodeFrequency(const std::uint8_t* fourBytes)
{
    if (fourBytes[3] == 0x00 || fourBytes[3] == kEmptyByte)
        return QString();
    const std::int64_t value = std::int64_t(pairValue(fourBytes[3])) * 1000000 +
                               std::int64_t(pairValue(fourBytes[2])) * 10000 +
                               std::int64_t(pairValue(fourBytes[1])) * 100 +
                               std::int64_t(pairValue(fourBytes[0]));
    return formatFrequency(value);
}

void encodeFrequency(const QString& text, std::uint8_t* fourBytes)
{
    std::int64_t v = decimalProduct(text, kFrequencyFactor);
    if (v == 0) {
        for (int i = 0; i < 4; ++i)
            fourBytes[i] = kEmptyByte;
        return;
    }
    // Most significant pair first into byte 3, least significant into byte 0.
    static constexpr std::int64_t kDivisors[4] = {1000000, 10000, 100, 1};
    for (int k = 0; k < 4; ++k) {
        const std::int64_t pair = v / kDivisors[k];
        v %= kDivisors[k];
        // Only the most significant pair can exceed 99 (a value read from a
        // byte with a nibble above 9, such as 0xFA): it keeps that byte
        // instead of wrapping into an empty field.
        if (k == 0 && pair > 99 && overflowPairByte(pair, 15, &fourBytes[3]))
            continue;
        fourBytes[3 - k] = pairByte64(pair);
    }
}

QString decodeTone(std::uint8_t high, std::uint8_t low, bool channelInUse, const WordSet& words)
{
    if (isNoToneHigh(high))
        return channelInUse ? words.none : QString();
    if (high >= 0x80) {
        // DCS: the hundreds digit is the low bits of the high byte; a high
        // byte of exactly 0x80/0xC0 keeps the leading zero ("D023N").
        const bool inverted = high >= 0xC0;
        const int base = inverted ? 0xC0 : 0x80;
        const int number = (high - base) * 100 + pairValue(low);
        return QLatin1String(high == base ? "D0" : "D") + QString::number(number) +
               QLatin1Char(inverted ? 'I' : 'N');
    }
    // CTCSS in tenths of a hertz, shown "%3.1f".
    const int tenths = pairValue(high) * 100 + pairValue(low);
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

void encodeTone(const QString& text, std::uint8_t* high, std::uint8_t* low)
{
    if (text.contains(QLatin1Char('D'))) {
        // The first character is taken to be the "D"; a code without "N" is
        // stored as inverted.
        const QString rest = text.mid(1);
        const std::int32_t number = modelband::leadingInteger(rest);
        const int base = rest.contains(QLatin1Char('N')) ? 0x80 : 0xC0;
        // A number beyond the kind's high bytes (0x80-0xBF normal, 0xC0-0xFE
        // inverted) comes from a low byte with a nibble above 9 under the top
        // high byte ("D6400N" is 0xBF 0xA0): it keeps its kind and its bytes
        // instead of wrapping into the other kind or into "no tone".
        const int topDigit = base == 0x80 ? 0x3F : 0x3E;
        std::uint8_t overflowLow = 0;
        if (number / 100 > topDigit && overflowPairByte(number - topDigit * 100, 15, &overflowLow)) {
            *high = static_cast<std::uint8_t>(base + topDigit);
            *low = overflowLow;
            return;
        }
        *high = static_cast<std::uint8_t>((number / 100 + base) & 0xFF);
        *low = pairByte64(number % 100);
        return;
    }
    const std::int64_t v = decimalProduct(text, kToneFactor);
    if (v == 0) {
        *high = kEmptyByte;
        *low = kEmptyByte;
        return;
    }
    // A CTCSS high byte stays below 0x80 (from there on it is a DCS code):
    // pair values 80 to 85 come from 0x7A to 0x7F ("800.0" is 0x7A 0x00).
    if (v / 100 >= 80 && overflowPairByte(v / 100, 7, high)) {
        *low = pairByte64(v % 100);
        return;
    }
    *high = pairByte64(v / 100);
    *low = pairByte64(v % 100);
}

QString decodeBusyLock(std::uint8_t flags, bool channelInUse, const WordSet& words)
{
    if (!channelInUse)
        return QString();
    return words.busyLock((flags & layout::channel::kBusyLockOffBit) == 0);
}

std::uint8_t encodeBusyLock(const QString& text, std::uint8_t oldFlags, const CellWords& words)
{
    if (words.readsBusyLock(text, Qt::CaseSensitive) == true)
        return static_cast<std::uint8_t>(oldFlags & ~layout::channel::kBusyLockOffBit);
    return static_cast<std::uint8_t>(oldFlags | layout::channel::kBusyLockOffBit);
}

bool channelInUse(const std::uint8_t* record)
{
    const std::uint8_t rx = record[layout::channel::kRxPresence];
    const std::uint8_t tx = record[layout::channel::kTxPresence];
    return rx != 0x00 && rx != kEmptyByte && tx != 0x00 && tx != kEmptyByte;
}

}  // namespace codec
