// The tone vocabulary: order, languages, and that every text survives the
// tone codec unchanged.

#include <QtTest>

#include <QSet>

#include "CodeplugTests.h"
#include "codeplug/Codecs.h"
#include "codeplug/ToneTable.h"

class ToneTableTest : public QObject {
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void everyTextRoundTrips_data();
    void everyTextRoundTrips();
    void storedForms_data();
    void storedForms();
    void rebuildReplaces();
};

void ToneTableTest::layout_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("noTone");
    QTest::newRow("English") << false << "None";
    QTest::newRow("Chinese") << true << QStringLiteral("无");
}

void ToneTableTest::layout()
{
    QFETCH(bool, chinese);
    QFETCH(QString, noTone);
    const ToneTable table(chinese);
    QCOMPARE(table.size(), ToneTable::kSize);
    QCOMPARE(table.at(0), noTone);
    QCOMPARE(table.at(1), QStringLiteral("67.0"));
    QCOMPARE(table.at(13), QStringLiteral("100.0"));
    QCOMPARE(table.at(50), QStringLiteral("254.1"));
    QCOMPARE(table.at(51), QStringLiteral("D023N"));
    QCOMPARE(table.at(67), QStringLiteral("D114N"));
    QCOMPARE(table.at(155), QStringLiteral("D754N"));
    QCOMPARE(table.at(156), QStringLiteral("D023I"));
    QCOMPARE(table.at(260), QStringLiteral("D754I"));
    QCOMPARE(QSet<QString>(table.texts().begin(), table.texts().end()).size(), ToneTable::kSize);
    // Both the CTCSS list and the DCS codes rise strictly.
    for (int i = 2; i <= 50; ++i)
        QVERIFY(table.at(i).toDouble() > table.at(i - 1).toDouble());
    for (int i = 1; i < ToneTable::kDcsCount; ++i)
        QVERIFY(ToneTable::kDcsCodes[i] > ToneTable::kDcsCodes[i - 1]);
}

void ToneTableTest::everyTextRoundTrips_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::newRow("English") << false;
    QTest::newRow("Chinese") << true;
}

void ToneTableTest::everyTextRoundTrips()
{
    QFETCH(bool, chinese);
    const ToneTable table(chinese);
    for (const QString& text : table.texts()) {
        std::uint8_t high = 0;
        std::uint8_t low = 0;
        codec::encodeTone(text, &high, &low);
        QCOMPARE(codec::decodeTone(high, low, true, chinese), text);
    }
}

void ToneTableTest::storedForms_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");
    QTest::newRow("None") << 0 << 0xFF << 0xFF;
    QTest::newRow("67.0") << 1 << 0x06 << 0x70;
    QTest::newRow("254.1") << 50 << 0x25 << 0x41;
    QTest::newRow("D023N") << 51 << 0x80 << 0x23;
    QTest::newRow("D114N") << 67 << 0x81 << 0x14;
    QTest::newRow("D754I") << 260 << 0xC7 << 0x54;
}

void ToneTableTest::storedForms()
{
    QFETCH(int, index);
    QFETCH(int, high);
    QFETCH(int, low);
    const ToneTable table(false);
    std::uint8_t h = 0;
    std::uint8_t l = 0;
    codec::encodeTone(table.at(index), &h, &l);
    QCOMPARE(int(h), high);
    QCOMPARE(int(l), low);
}

void ToneTableTest::rebuildReplaces()
{
    ToneTable table;
    QCOMPARE(table.size(), 0);
    table.build(false);
    table.build(true);
    QCOMPARE(table.size(), ToneTable::kSize);
    QCOMPARE(table.at(0), QStringLiteral("无"));
}

int runToneTableTests(int argc, char** argv)
{
    ToneTableTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ToneTable.moc"
