// The text layer: string tables read from a module's strings.json, the
// built-in English table, and which table texts are rendered from.

#include <QFile>
#include <QTest>

#include "tests/support/TestSupport.h"
#include "texts/TextTable.h"

class TestTexts : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { texts::setActive(texts::TextTable::english()); }

    void englishTableIsTheEnglishModulesTable()
    {
        const texts::TextTable fromFile = moduleTable(QStringLiteral("English"));
        QVERIFY(!fromFile.isEmpty());
        const texts::TextTable& builtIn = texts::TextTable::english();
        QVERIFY(!builtIn.isEmpty());
        QCOMPARE(builtIn.ids(), fromFile.ids());
        for (int id : fromFile.ids())
            QCOMPARE(builtIn.text(id), fromFile.text(id));
        QCOMPARE(builtIn.text(61448), QStringLiteral("Out of range,please input again."));
    }

    void fromJsonKeepsOnlyNumberedStrings()
    {
        QString error = QStringLiteral("stale");
        const texts::TextTable table = texts::TextTable::fromJson(
            "{\"7\": \"seven\", \"x\": \"not an id\", \"9\": 9, \"12\": \"a %1 and %2\"}", &error);
        QVERIFY(error.isEmpty());
        QCOMPARE(table.ids(), (QList<int>{7, 12}));
        QCOMPARE(table.text(7), QStringLiteral("seven"));
        QCOMPARE(table.text(9), QString());
        QVERIFY(!table.contains(9));
    }

    void fromJsonNamesWhatIsWrong_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("cut short") << QByteArray("{\"7\": \"sev");
        QTest::newRow("a list") << QByteArray("[\"seven\"]");
        QTest::newRow("empty") << QByteArray();
    }
    void fromJsonNamesWhatIsWrong()
    {
        QFETCH(QByteArray, json);
        QString error;
        QVERIFY(texts::TextTable::fromJson(json, &error).isEmpty());
        QVERIFY2(!error.isEmpty(), "a table that could not be read says why");
    }

    void textsComeFromTheActiveTable()
    {
        QCOMPARE(texts::text(61458), QStringLiteral("Caution"));
        texts::setActive(texts::TextTable::fromJson("{\"61458\": \"[Caution]\", \"5\": \"%1 of %2\"}"));
        QCOMPARE(texts::text(61458), QStringLiteral("[Caution]"));
        QCOMPARE(texts::text(5, QStringLiteral("3"), QStringLiteral("16")), QStringLiteral("3 of 16"));
        QCOMPARE(texts::text(61448), QString());
    }
};

QTEST_GUILESS_MAIN(TestTexts)
#include "tst_texts.moc"
