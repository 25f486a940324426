#include "settings/FileNameLimit.h"

namespace filename {

QString cutToBytes(const QString& text, int maxBytes)
{
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        // One unit: an escape, a surrogate pair or a single character.
        qsizetype units = 1;
        if (text.at(i) == QLatin1Char('%'))
            units = qMin<qsizetype>(3, text.size() - i);
        else if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            units = 2;
        const qsizetype unitBytes = text.mid(i, units).toUtf8().size();
        if (bytes + unitBytes > maxBytes)
            break;
        bytes += unitBytes;
        i += units;
    }
    return text.left(i);
}

}  // namespace filename
