#pragma once
// The words channel cells show besides numbers (no tone, busy lock on and
// off) and the column headers: one set a language. A CellWords value holds
// the set cells are shown in and every set a cell may be read in, so a cell
// typed, pasted or imported in any known language reads the same. The core
// holds only the words of its own CSV files; the texts layer hands in the
// others from the language modules.

#include <QList>
#include <QString>

#include <array>
#include <optional>

struct WordSet {
    static constexpr int kColumns = 6;  // the channel table's columns

    QString none;  // a tone cell of a channel in use without a tone
    QString on;    // busy lock on
    QString off;   // busy lock off
    std::array<QString, kColumns> headers;

    QString busyLock(bool lockOn) const { return lockOn ? on : off; }
    QString header(int col) const { return col >= 0 && col < kColumns ? headers.at(col) : QString(); }
    bool operator==(const WordSet& other) const = default;

    // The words of our channel CSV files ("None", "Yes", "No", "CH", ...).
    static const WordSet& fileWords();
};

class CellWords {
public:
    // Shown and read in the CSV files' words only.
    CellWords();
    // Shown in shown; read in shown and in each of readable.
    explicit CellWords(const WordSet& shown, const QList<WordSet>& readable = {});

    const WordSet& shown() const { return m_sets.first(); }
    // shown() first, then the other readable sets, each once.
    const QList<WordSet>& sets() const { return m_sets; }

    // Read words compare without regard to case when caseSensitivity says so.
    bool readsNone(const QString& text, Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;
    // The busy lock a word means; nothing when it is no language's on or off.
    std::optional<bool> readsBusyLock(const QString& text, Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;

private:
    QList<WordSet> m_sets;
};
