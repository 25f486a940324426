#include "texts/CellTexts.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QResource>

#include "settings/IniFile.h"

namespace texts {

namespace {

QString wordOf(const TextTable& table, int id)
{
    return table.contains(id) ? table.text(id) : TextTable::english().text(id);
}

// A module is mapped below its own root while it is read, so that reading
// it never disturbs the module the program has loaded.
WordSet moduleWords(const QString& path, bool* ok)
{
    static const QString kRoot = QStringLiteral("/kq517-cell-words");
    *ok = false;
    if (!QResource::registerResource(path, kRoot))
        return {};
    QFile file(QLatin1Char(':') + kRoot + QStringLiteral("/lang/strings.json"));
    WordSet words;
    if (file.open(QIODevice::ReadOnly)) {
        const TextTable table = TextTable::fromJson(file.readAll());
        *ok = table.contains(IDS_CELL_NONE);
        words = wordSet(table);
    }
    file.close();
    QResource::unregisterResource(path, kRoot);
    return words;
}

}  // namespace

WordSet wordSet(const TextTable& table)
{
    WordSet words;
    words.none = wordOf(table, IDS_CELL_NONE);
    words.on = wordOf(table, IDS_CELL_BUSY_ON);
    words.off = wordOf(table, IDS_CELL_BUSY_OFF);
    for (int c = 0; c < WordSet::kColumns; ++c)
        words.headers[c] = wordOf(table, IDS_CELL_HEADER_FIRST + c);
    return words;
}

WordSet shownWords() { return wordSet(active()); }

QList<WordSet> moduleWordSets(const QString& dir)
{
    static QHash<QString, QList<WordSet>> cache;
    const auto known = cache.constFind(dir);
    if (known != cache.constEnd())
        return known.value();
    QList<WordSet> sets;
    const QDir folder(dir);
    for (const QString& entry : folder.entryList({QStringLiteral("*517.rcc")}, QDir::Files, QDir::Name)) {
        bool ok = false;
        const WordSet words = moduleWords(folder.filePath(entry), &ok);
        if (ok)
            sets.append(words);
    }
    cache.insert(dir, sets);
    return sets;
}

CellWords cellWords()
{
    QList<WordSet> readable{wordSet(TextTable::english())};
    readable += moduleWordSets(CIniFile::programDirectory());
    return CellWords(shownWords(), readable);
}

QString mainTitle(const QString& appName, const QString& model, const QString& band, const TextTable& table)
{
    // One pass over the three values: a model or band holding "%1" stays as written.
    return table.text(IDS_MAIN_TITLE).arg(appName, model, band);
}

}  // namespace texts
