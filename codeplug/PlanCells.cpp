#include "codeplug/PlanCells.h"

#include <QRegularExpression>

#include "codeplug/CellValidator.h"
#include "codeplug/Codecs.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/ToneTable.h"

namespace plancells {

using channelplan::Reason;

namespace {

// Digits with an optional fraction; nothing else (no sign, no exponent, no unit).
const QRegularExpression& plainDecimal()
{
    static const QRegularExpression re(QStringLiteral("^([0-9]*)(?:\\.([0-9]*))?$"));
    return re;
}

// text as an exact multiple of 10^-decimals; digits beyond that must be zero.
// maxWhole bounds the digits before the point so nothing can overflow.
std::optional<std::int64_t> readFixed(const QString& text, int decimals, int maxWhole, bool* tooFine,
                                      bool* tooLarge)
{
    *tooFine = false;
    *tooLarge = false;
    const QRegularExpressionMatch m = plainDecimal().match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    QString whole = m.captured(1);
    const QString fraction = m.captured(2);
    if (whole.isEmpty() && fraction.isEmpty())
        return std::nullopt;
    while (whole.size() > 1 && whole.startsWith(QLatin1Char('0')))
        whole.remove(0, 1);
    if (whole.size() > maxWhole) {
        *tooLarge = true;
        return std::nullopt;
    }
    std::int64_t value = whole.isEmpty() ? 0 : whole.toLongLong();
    for (int i = 0; i < decimals; ++i)
        value = value * 10 + (i < fraction.size() ? fraction.at(i).digitValue() : 0);
    for (qsizetype i = decimals; i < fraction.size(); ++i) {
        if (fraction.at(i) != QLatin1Char('0')) {
            *tooFine = true;
            return std::nullopt;
        }
    }
    return value;
}

const ToneTable& fileTones()
{
    static const ToneTable table(WordSet::fileWords().none);
    return table;
}

}  // namespace

std::optional<std::int64_t> readMegahertz(const QString& text, Reason* reason)
{
    bool tooFine = false;
    bool tooLarge = false;
    // Five decimals of MHz are 10 Hz; four whole digits already exceed what a
    // frequency can hold, so longer numbers are simply out of band.
    const std::optional<std::int64_t> units = readFixed(text, 5, 4, &tooFine, &tooLarge);
    if (!units)
        *reason = tooFine ? Reason::OffStep : tooLarge ? Reason::OutOfBand : Reason::NotANumber;
    return units;
}

std::optional<Reason> checkFrequency(std::int64_t units, const modelband::BandLimits& limits)
{
    const CellValidator validator(limits.low, limits.high);
    switch (validator.checkFrequency(codec::formatFrequency(units))) {
    case CellValidator::FrequencyCheck::Valid:
        return std::nullopt;
    case CellValidator::FrequencyCheck::OffStep:
        return Reason::OffStep;
    case CellValidator::FrequencyCheck::NotANumber:  // a formatted value always is one
        return Reason::NotANumber;
    case CellValidator::FrequencyCheck::Empty:
    case CellValidator::FrequencyCheck::OutOfRange:
        break;
    }
    return Reason::OutOfBand;
}

QString ctcssText(const QString& hertz)
{
    bool tooFine = false;
    bool tooLarge = false;
    const std::optional<std::int64_t> tenths = readFixed(hertz, 1, 3, &tooFine, &tooLarge);
    if (!tenths)
        return QString();
    // The list in tenths of a hertz, worked out once: a file of thousands of
    // rows asks for it at every tone cell.
    static const QList<std::int64_t> listed = [] {
        QList<std::int64_t> values;
        for (const char* tone : ToneTable::kCtcss)
            values << codec::decimalProduct(QLatin1String(tone), codec::kToneFactor);
        return values;
    }();
    const qsizetype i = listed.indexOf(*tenths);
    return i < 0 ? QString() : QString::fromLatin1(ToneTable::kCtcss[i]);
}

QString dcsText(const QString& code, bool inverted)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    const QString trimmed = code.trimmed();
    if (!digits.match(trimmed).hasMatch())
        return QString();
    const int number = trimmed.toInt();
    for (const int known : ToneTable::kDcsCodes) {
        if (known == number)
            return QStringLiteral("D%1%2").arg(number, 3, 10, QLatin1Char('0')).arg(QLatin1Char(inverted ? 'I' : 'N'));
    }
    return QString();
}

QString toneText(const QString& text, const CellWords& words)
{
    const QString t = text.trimmed();
    if (words.readsNone(t))
        return words.shown().none;
    if (t.startsWith(QLatin1Char('D'), Qt::CaseInsensitive)) {
        // "D" and a code of one to three digits, then N (normal) or I (inverted).
        static const QRegularExpression dcs(QStringLiteral("^D([0-9]{1,3})([NI])$"),
                                            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = dcs.match(t);
        if (!m.hasMatch())
            return QString();
        return dcsText(m.captured(1), m.captured(2).compare(QLatin1String("I"), Qt::CaseInsensitive) == 0);
    }
    return ctcssText(t);
}

bool isListedTone(const QString& text)
{
    return fileTones().texts().contains(text);
}

QString busyText(const QString& text, const CellWords& words)
{
    const std::optional<bool> on = words.readsBusyLock(text.trimmed());
    return on ? words.shown().busyLock(*on) : QString();
}

QString shownValue(const QString& text)
{
    constexpr qsizetype kLongest = 40;
    if (text.size() <= kLongest)
        return text;
    return text.left(kLongest) + QStringLiteral("...");
}

int channelNumber(const QString& text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    const QString t = text.trimmed();
    if (!digits.match(t).hasMatch())
        return 0;
    const int n = t.toInt();
    return n >= 1 && n <= layout::kChannelCount ? n : 0;
}

}  // namespace plancells
