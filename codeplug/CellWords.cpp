#include "codeplug/CellWords.h"

const WordSet& WordSet::fileWords()
{
    static const WordSet words{QStringLiteral("None"),
                               QStringLiteral("Yes"),
                               QStringLiteral("No"),
                               {QStringLiteral("CH"), QStringLiteral("Rx Frequency"), QStringLiteral("Tx Frequency"),
                                QStringLiteral("QT/DQT Dec"), QStringLiteral("QT/DQT Enc"), QStringLiteral("Busy Lock")}};
    return words;
}

CellWords::CellWords() : m_sets{WordSet::fileWords()} {}

CellWords::CellWords(const WordSet& shown, const QList<WordSet>& readable) : m_sets{shown}
{
    for (const WordSet& set : readable) {
        if (!m_sets.contains(set))
            m_sets.append(set);
    }
}

bool CellWords::readsNone(const QString& text, Qt::CaseSensitivity cs) const
{
    for (const WordSet& set : m_sets) {
        if (!set.none.isEmpty() && text.compare(set.none, cs) == 0)
            return true;
    }
    return false;
}

std::optional<bool> CellWords::readsBusyLock(const QString& text, Qt::CaseSensitivity cs) const
{
    // On first in every set: a language whose two words differ only in case
    // still reads its own words exactly.
    for (const bool lockOn : {true, false}) {
        for (const WordSet& set : m_sets) {
            const QString& word = set.busyLock(lockOn);
            if (!word.isEmpty() && text.compare(word, cs) == 0)
                return lockOn;
        }
    }
    return std::nullopt;
}
