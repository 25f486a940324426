// The tone vocabulary: the exact texts in their fixed order, both languages,
// and the stored form of every text worked out digit by digit.

#include <QtTest>

#include <iterator>

#include "CodeplugTests.h"
#include "tests/support/TestSupport.h"
#include "codeplug/Codecs.h"
#include "codeplug/ToneTable.h"

namespace {

// The CTCSS tones the radio knows, in the order the editors offer them.
const char* const kExpectedCtcss[] = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
    "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1",
};

// The DCS codes, written as the radio's three octal-looking digits.
const char* const kExpectedDcs[] = {
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065", "071",
    "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134", "143", "145",
    "152", "155", "156", "162", "165", "172", "174", "205", "212", "223", "225", "226", "243",
    "244", "245", "246", "251", "252", "255", "261", "263", "265", "266", "271", "274", "306",
    "311", "315", "325", "331", "332", "343", "346", "351", "356", "364", "365", "371", "411",
    "412", "413", "423", "431", "432", "445", "446", "452", "454", "455", "462", "464", "465",
    "466", "503", "506", "516", "523", "526", "532", "546", "565", "606", "612", "624", "627",
    "631", "632", "645", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743",
    "754",
};

constexpr int kCtcssCount = int(std::size(kExpectedCtcss));
constexpr int kDcsCount = int(std::size(kExpectedDcs));
static_assert(kCtcssCount == 50 && kDcsCount == 105);

// The whole list as the editors must show it.
QStringList expectedTable(bool chinese)
{
    QStringList texts{chinese ? QStringLiteral("无") : QStringLiteral("None")};
    for (const char* t : kExpectedCtcss)
        texts << QString::fromLatin1(t);
    for (const char* code : kExpectedDcs)
        texts << QStringLiteral("D%1N").arg(QLatin1String(code));
    for (const char* code : kExpectedDcs)
        texts << QStringLiteral("D%1I").arg(QLatin1String(code));
    return texts;
}

// Two decimal digits as one stored byte, high digit in the high nibble.
int digitPair(QChar tens, QChar ones) { return tens.digitValue() << 4 | ones.digitValue(); }

// The stored bytes of one text, worked out from its digits: a CTCSS tone is
// its tenths of a hertz as four digits (67.0 -> 0670 -> 0x06 0x70); a DCS code
// is 0x80 (normal) or 0xC0 (inverted) plus its first digit, then its last two
// digits; no tone is 0xFF 0xFF.
QPair<int, int> expectedBytes(const QString& text)
{
    if (text.startsWith(QLatin1Char('D'))) {
        const QString digits = text.mid(1, 3);
        const int base = text.endsWith(QLatin1Char('N')) ? 0x80 : 0xC0;
        return {base + digits.at(0).digitValue(), digitPair(digits.at(1), digits.at(2))};
    }
    if (!text.at(0).isDigit())
        return {0xFF, 0xFF};
    QString tenths = text;
    tenths.remove(QLatin1Char('.'));
    tenths = tenths.rightJustified(4, QLatin1Char('0'));
    return {digitPair(tenths.at(0), tenths.at(1)), digitPair(tenths.at(2), tenths.at(3))};
}

}  // namespace

class ToneTableTest : public QObject {
    Q_OBJECT

private slots:
    void exactList_data();
    void exactList();
    void storedFormOfEveryText_data();
    void storedFormOfEveryText();
    void storedForms_data();
    void storedForms();
    void rebuildReplaces();
};

void ToneTableTest::exactList_data() { addBoolRows("chinese", "English", "Chinese"); }

void ToneTableTest::exactList()
{
    QFETCH(bool, chinese);
    const ToneTable table(moduleCellWords(chinese).shown().none);
    const QStringList expected = expectedTable(chinese);
    QCOMPARE(table.size(), 261);
    // Entry by entry, so that a wrong or misplaced tone names its index.
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(table.at(i) == expected.at(i),
                 qPrintable(QStringLiteral("index %1: %2, expected %3").arg(i).arg(table.at(i), expected.at(i))));
    // The group boundaries the editors rely on.
    QCOMPARE(table.at(1), QStringLiteral("67.0"));
    QCOMPARE(table.at(50), QStringLiteral("254.1"));
    QCOMPARE(table.at(51), QStringLiteral("D023N"));
    QCOMPARE(table.at(155), QStringLiteral("D754N"));
    QCOMPARE(table.at(156), QStringLiteral("D023I"));
    QCOMPARE(table.at(260), QStringLiteral("D754I"));
}

// Every text of the list encodes to the bytes its digits give and those bytes
// decode back to the same text.
void ToneTableTest::storedFormOfEveryText_data() { addBoolRows("chinese", "English", "Chinese"); }

void ToneTableTest::storedFormOfEveryText()
{
    QFETCH(bool, chinese);
    for (const QString& text : expectedTable(chinese)) {
        const QPair<int, int> bytes = expectedBytes(text);
        std::uint8_t high = 0;
        std::uint8_t low = 0;
        codec::encodeTone(text, &high, &low);
        QVERIFY2(int(high) == bytes.first && int(low) == bytes.second,
                 qPrintable(QStringLiteral("%1 stored as %2 %3").arg(text).arg(high, 2, 16).arg(low, 2, 16)));
        QCOMPARE(codec::decodeTone(std::uint8_t(bytes.first), std::uint8_t(bytes.second), true, moduleCellWords(chinese).shown()), text);
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
    const ToneTable table(moduleCellWords(false).shown().none);
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
    table.build(moduleCellWords(false).shown().none);
    table.build(moduleCellWords(true).shown().none);
    QCOMPARE(table.size(), ToneTable::kSize);
    QCOMPARE(table.at(0), QStringLiteral("无"));
}

int runToneTableTests(int argc, char** argv)
{
    ToneTableTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ToneTable.moc"
