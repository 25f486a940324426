// The menus of both language modules: within every menu each access letter
// (the letter after '&') is used once, so Alt and the letter always run the
// command it names; every shortcut a menu item lists is in the accelerator
// table, and no key there runs two commands.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeySequence>
#include <QtTest>

#include "tests/support/TestSupport.h"

namespace {

QJsonDocument readJson(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll());
}

// The access letters of text in upper case ("&&" is a literal ampersand).
QString accessLetters(const QString& text)
{
    QString letters;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) != QLatin1Char('&'))
            letters += text.at(i + 1).toUpper();
        ++i;
    }
    return letters;
}

// Every clash in items and the menus below them, as "menu: letter X for A and B".
void findClashes(const QJsonArray& items, const QString& menuName, QStringList* clashes,
                 QHash<int, QString>* listedKeys)
{
    QHash<QChar, QString> taken;
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        if (item.value(QStringLiteral("separator")).toBool())
            continue;
        const QString text = item.value(QStringLiteral("text")).toString();
        const QString letters = accessLetters(text);
        if (letters.size() > 1)
            clashes->append(QStringLiteral("%1: %2 has %3 access letters").arg(menuName, text).arg(letters.size()));
        for (const QChar letter : letters) {
            if (taken.contains(letter))
                clashes->append(QStringLiteral("%1: letter %2 for %3 and %4").arg(menuName, letter, taken.value(letter), text));
            else
                taken.insert(letter, text);
        }
        const qsizetype tab = text.indexOf(QLatin1Char('\t'));
        if (tab >= 0 && item.contains(QStringLiteral("id")))
            listedKeys->insert(item.value(QStringLiteral("id")).toInt(), text.mid(tab + 1));
        if (item.contains(QStringLiteral("items")))
            findClashes(item.value(QStringLiteral("items")).toArray(), menuName + QStringLiteral(" > ") + text,
                        clashes, listedKeys);
    }
}

}  // namespace

class MenuLettersTest : public QObject {
    Q_OBJECT

private slots:
    void menus_data() { addModuleRows("module"); }

    void menus()
    {
        QFETCH(QString, module);
        const QDir dir(QStringLiteral(KQ517_SOURCE_DIR "/resources/") + module);
        const QStringList files = QDir(dir.filePath(QStringLiteral("menus"))).entryList({QStringLiteral("*.json")});
        QVERIFY(files.size() >= 2);

        // The accelerator table: one command per key.
        QHash<QKeySequence, int> commandOfKey;
        QStringList clashes;
        const QJsonArray table =
            readJson(dir.filePath(QStringLiteral("accelerators/128.json"))).object().value(QStringLiteral("accelerators")).toArray();
        QVERIFY(!table.isEmpty());
        for (const QJsonValue& value : table) {
            const QKeySequence key(value.toObject().value(QStringLiteral("key")).toString());
            const int id = value.toObject().value(QStringLiteral("id")).toInt();
            QVERIFY2(!key.isEmpty(), qPrintable(value.toObject().value(QStringLiteral("key")).toString()));
            if (commandOfKey.contains(key) && commandOfKey.value(key) != id)
                clashes << QStringLiteral("key %1 runs %2 and %3").arg(key.toString()).arg(commandOfKey.value(key)).arg(id);
            commandOfKey.insert(key, id);
        }

        for (const QString& file : files) {
            const QJsonArray menu = readJson(dir.filePath(QStringLiteral("menus/") + file)).object().value(QStringLiteral("menu")).toArray();
            QVERIFY2(!menu.isEmpty(), qPrintable(file));
            QHash<int, QString> listedKeys;
            findClashes(menu, module + QLatin1Char('/') + file, &clashes, &listedKeys);
            // A shortcut the menu lists runs that command: the table gives the
            // key to no other command, and a command in the table lists its key.
            // (Cut, Copy, Paste and Delete are the grid's own keys, not the table's.)
            for (auto it = listedKeys.cbegin(); it != listedKeys.cend(); ++it) {
                const QKeySequence key(it.value());
                const bool otherCommand = commandOfKey.contains(key) && commandOfKey.value(key) != it.key();
                const bool otherKey = commandOfKey.values().contains(it.key()) && !commandOfKey.contains(key);
                if (otherCommand || otherKey)
                    clashes << QStringLiteral("%1: command %2 lists %3, which the accelerator table gives %4")
                                   .arg(file)
                                   .arg(it.key())
                                   .arg(it.value())
                                   .arg(otherCommand ? QStringLiteral("command %1").arg(commandOfKey.value(key))
                                                     : QStringLiteral("no command"));
            }
        }
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
    }

    void rowCommandsHaveKeys_data() { menus_data(); }

    void rowCommandsHaveKeys()
    {
        QFETCH(QString, module);
        const QJsonArray table = readJson(QStringLiteral(KQ517_SOURCE_DIR "/resources/") + module +
                                          QStringLiteral("/accelerators/128.json"))
                                     .object()
                                     .value(QStringLiteral("accelerators"))
                                     .toArray();
        QSet<int> withKeys;
        for (const QJsonValue& value : table)
            withKeys.insert(value.toObject().value(QStringLiteral("id")).toInt());
        // Insert Row, Delete Row, Move Up, Move Down.
        for (int id : {32817, 32818, 32819, 32820})
            QVERIFY2(withKeys.contains(id), qPrintable(QString::number(id)));
    }
};

QTEST_GUILESS_MAIN(MenuLettersTest)
#include "tst_menuletters.moc"
