#pragma once
// The 261 tone texts the tone editors offer, in fixed order: no tone, the 50
// CTCSS tones, the 105 DCS codes normal ("D023N"...), then inverted ("D023I"...).

#include <QStringList>

#include "codeplug/CellWords.h"

class ToneTable {
public:
    static constexpr int kSize = 261;
    static constexpr int kCtcssCount = 50;
    static constexpr int kDcsCount = 105;

    ToneTable() = default;
    // The list with noneWord ("None" in the CSV files' words) first.
    explicit ToneTable(const QString& noneWord) { build(noneWord); }
    void build(const QString& noneWord);

    const QStringList& texts() const { return m_texts; }
    int size() const { return m_texts.size(); }
    const QString& at(int i) const { return m_texts.at(i); }

    static const char* const kCtcss[kCtcssCount];  // "67.0" ... "254.1"
    static const int kDcsCodes[kDcsCount];          // 23 ... 754 (written "%03d")

private:
    QStringList m_texts;
};
