// Every language folder under resources/ is a whole module: each string id of
// any module has a non-empty text in every module with the same placeholders,
// each menu offers the same commands and each dialog the same controls. The
// built-in tables of the program are those folders' tables.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <algorithm>

#include "tests/support/TestSupport.h"
#include "texts/TextTable.h"

namespace {

const QString kResources = QStringLiteral(KQ517_SOURCE_DIR "/resources");

// The language folders: those holding a string table.
QStringList languages()
{
    QStringList found;
    for (const QString& name : QDir(kResources).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (QFile::exists(kResources + QLatin1Char('/') + name + QStringLiteral("/strings.json")))
            found << name;
    }
    return found;
}

// The placeholders of a text, sorted: %1, %2 ... (QString::arg) and %d, %s.
QStringList formatMarks(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("%(\\d+|[a-zA-Z])"));
    QStringList found;
    for (auto it = re.globalMatch(text); it.hasNext();)
        found << it.next().captured(0);
    found.sort();
    return found;
}

// The command ids of a menu file, in order.
QList<int> menuIds(const QJsonValue& node)
{
    QList<int> ids;
    if (node.isArray()) {
        for (const QJsonValue& v : node.toArray())
            ids << menuIds(v);
    } else if (node.isObject()) {
        const QJsonObject object = node.toObject();
        if (object.contains(QStringLiteral("id")))
            ids << object.value(QStringLiteral("id")).toInt();
        ids << menuIds(object.value(QStringLiteral("items"))) << menuIds(object.value(QStringLiteral("menu")));
    }
    return ids;
}

// The named widgets of a dialog form ("id1001", "groupBox" ...), sorted.
QStringList dialogControls(const QByteArray& ui)
{
    static const QRegularExpression re(QStringLiteral("<widget class=\"(\\w+)\" name=\"(\\w+)\""));
    QStringList found;
    for (auto it = re.globalMatch(QString::fromUtf8(ui)); it.hasNext();) {
        const auto m = it.next();
        found << m.captured(1) + QLatin1Char(' ') + m.captured(2);
    }
    found.sort();
    return found;
}

QStringList filesUnder(const QString& language, const QString& folder)
{
    return QDir(kResources + QLatin1Char('/') + language + QLatin1Char('/') + folder).entryList(QDir::Files, QDir::Name);
}

}  // namespace

class TestModules : public QObject {
    Q_OBJECT

private slots:
    void languagesFound()
    {
        const QStringList found = languages();
        QVERIFY2(found.contains(QStringLiteral("English")) && found.contains(QStringLiteral("Chinese")),
                 qPrintable(found.join(QLatin1Char(' '))));
    }

    void everyIdInEveryModule_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString& language : languages())
            QTest::newRow(qPrintable(language)) << language;
    }
    void everyIdInEveryModule()
    {
        QFETCH(QString, language);
        QSet<int> all;
        for (const QString& other : languages()) {
            const texts::TextTable t = moduleTable(other);
            QVERIFY2(!t.isEmpty(), qPrintable(other + QStringLiteral(": no string table")));
            for (int id : t.ids())
                all.insert(id);
        }
        const texts::TextTable own = moduleTable(language);
        const texts::TextTable english = moduleTable(QStringLiteral("English"));
        QStringList problems;
        QList<int> ids = all.values();
        std::sort(ids.begin(), ids.end());
        for (int id : ids) {
            if (!own.contains(id)) {
                problems << QStringLiteral("%1: missing").arg(id);
                continue;
            }
            const QString text = own.text(id);
            if (text.trimmed().isEmpty())
                problems << QStringLiteral("%1: empty").arg(id);
            if (english.contains(id) && formatMarks(text) != formatMarks(english.text(id)))
                problems << QStringLiteral("%1: placeholders %2, English has %3")
                                .arg(id)
                                .arg(formatMarks(text).join(QLatin1Char(',')),
                                     formatMarks(english.text(id)).join(QLatin1Char(',')));
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }

    void sameMenusAndDialogs_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString& language : languages()) {
            if (language != QLatin1String("English"))
                QTest::newRow(qPrintable(language)) << language;
        }
    }
    void sameMenusAndDialogs()
    {
        QFETCH(QString, language);
        const QString english = QStringLiteral("English");
        for (const QString& folder : {QStringLiteral("menus"), QStringLiteral("dialogs"),
                                      QStringLiteral("accelerators"), QStringLiteral("toolbar")})
            QCOMPARE(filesUnder(language, folder), filesUnder(english, folder));
        for (const QString& menu : filesUnder(english, QStringLiteral("menus"))) {
            const auto ids = [&](const QString& lang) {
                const QString path = kResources + QLatin1Char('/') + lang + QStringLiteral("/menus/") + menu;
                return menuIds(QJsonDocument::fromJson(readFile(path)).object().value(QStringLiteral("menu")));
            };
            QVERIFY2(!ids(english).isEmpty(), qPrintable(menu));
            QCOMPARE(ids(language), ids(english));
        }
        for (const QString& dialog : filesUnder(english, QStringLiteral("dialogs"))) {
            const auto controls = [&](const QString& lang) {
                return dialogControls(readFile(kResources + QLatin1Char('/') + lang + QStringLiteral("/dialogs/") + dialog));
            };
            QVERIFY2(!controls(english).isEmpty(), qPrintable(dialog));
            QCOMPARE(controls(language), controls(english));
        }
    }

    // The tables built into the program (for the texts said when a module
    // cannot be loaded) are the folders' own; an unknown language is English.
    void builtInTablesAreTheFolders_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("folder");
        for (const QString& language : languages())
            QTest::newRow(qPrintable(language)) << language << language;
        QTest::newRow("unknown") << QStringLiteral("Klingon") << QStringLiteral("English");
        QTest::newRow("other case") << QStringLiteral("chinese") << QStringLiteral("English");
        QTest::newRow("empty") << QString() << QStringLiteral("English");
        QTest::newRow("a path") << QStringLiteral("../English") << QStringLiteral("English");
    }
    void builtInTablesAreTheFolders()
    {
        QFETCH(QString, language);
        QFETCH(QString, folder);
        const texts::TextTable builtIn = texts::TextTable::builtIn(language);
        const texts::TextTable expected = moduleTable(folder);
        QCOMPARE(builtIn.ids(), expected.ids());
        for (int id : expected.ids())
            QCOMPARE(builtIn.text(id), expected.text(id));
    }

    // A module made before some of the program's own texts existed: those
    // come from the built-in table of its language, its own texts stay, and
    // the older resources' ids are never filled in.
    void moduleTableFillsOnlyMissingOwnTexts_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("otherCase");
        QTest::addColumn<QString>("fillFrom");
        QTest::newRow("Chinese") << QStringLiteral("Chinese") << false << QStringLiteral("Chinese");
        QTest::newRow("a language the program lacks") << QStringLiteral("Klingon") << false
                                                      << QStringLiteral("English");
        QTest::newRow("other case") << QStringLiteral("chinese") << true << QStringLiteral("English");
    }
    void moduleTableFillsOnlyMissingOwnTexts()
    {
        QFETCH(QString, language);
        QFETCH(bool, otherCase);
        QFETCH(QString, fillFrom);
        const int ownKept = texts::kFirstOwnTextId;  // the module's own wording
        const int ownMissing = texts::kFirstOwnTextId + 1;
        const int oldMissing = 57345;  // "Ready", a resource of old
        const QByteArray json = QByteArrayLiteral("{\"") + QByteArray::number(ownKept)
                                + QByteArrayLiteral("\": \"mine\", \"61440\": \"old\"}");
        const texts::TextTable module = texts::TextTable::forModule(json, language, otherCase);
        const texts::TextTable fill = moduleTable(fillFrom);
        QVERIFY(!fill.text(ownMissing).isEmpty() && fill.contains(oldMissing));
        QCOMPARE(module.text(ownMissing), fill.text(ownMissing));
        QCOMPARE(module.text(ownKept), otherCase ? fill.text(ownKept) : QStringLiteral("mine"));
        QCOMPARE(module.text(61440), QStringLiteral("old"));
        QVERIFY(!module.contains(oldMissing));
    }
};

QTEST_GUILESS_MAIN(TestModules)
#include "tst_modules.moc"
