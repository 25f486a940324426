// Model and band helpers (Parts 1.3 steps 5 to 8, 4.2).

#include <QtTest>

#include <limits>

#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/ModelBand.h"
#include "settings/ModelBandSettings.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/UserStore.h"
#include "tests/support/TestSupport.h"
#include "texts/CellTexts.h"

using namespace modelband;

namespace {
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
}  // namespace

class TestModelBand : public QObject {
    Q_OBJECT

private slots:
    void bandPieces_data();
    void bandPieces();
    void bandText_data();
    void bandText();
    void modelListRules();
    void modelListAtMost();
    void modelAndBandFromSettings();
    void mainTitleTexts();
    void leadingInteger_data();
    void leadingInteger();
    void bandLimits_data();
    void bandLimits();
    void exchangeNewDocument();
    void exchangeOpenedDocument();
    void exchangeLowByteOnly();
};

void TestModelBand::bandPieces_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("one") << "130 - 160MHz" << QStringList{"130 - 160MHz"};
    QTest::newRow("three") << "a|b|c" << QStringList{"a", "b", "c"};
    QTest::newRow("trailing empty kept") << "a|b|" << QStringList{"a", "b", ""};
    QTest::newRow("empty middle") << "a||c" << QStringList{"a", "", "c"};
    QTest::newRow("empty list") << "" << QStringList{""};
    QTest::newRow("bar only") << "|" << QStringList{"", ""};
}

void TestModelBand::bandPieces()
{
    QFETCH(QString, list);
    QFETCH(QStringList, pieces);
    QCOMPARE(modelband::bandPieces(list), pieces);
}

void TestModelBand::bandText_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    const QString three = QStringLiteral("136 - 174MHz|400 - 470MHz|350 - 390MHz");
    QTest::newRow("first") << three << 0 << "136 - 174MHz";
    QTest::newRow("second") << three << 1 << "400 - 470MHz";
    QTest::newRow("third") << three << 2 << "350 - 390MHz";
    QTest::newRow("beyond: last") << three << 7 << "350 - 390MHz";
    QTest::newRow("byte 255: last") << three << 255 << "350 - 390MHz";
    QTest::newRow("no bar: whole") << "130 - 160MHz" << 3 << "130 - 160MHz";
    QTest::newRow("trailing empty") << "a|b|" << 5 << "";
    QTest::newRow("empty list") << "" << 0 << "";
}

void TestModelBand::bandText()
{
    QFETCH(QString, list);
    QFETCH(int, index);
    QFETCH(QString, text);
    QCOMPARE(modelband::bandText(list, index), text);
}

void TestModelBand::modelListRules()
{
    TempProgramDir dir;
    QVERIFY(dir.writeSettings("[Setup]\r\nType1=A\r\nType2=B\r\nType3=\r\nType4=D\r\n"));
    CIniFile ini(4);
    QVERIFY(ini.OpenInProgramDir(QStringLiteral("KQ-517.ini"), false, true, true, false));
    QCOMPARE(modelList(ini), (QStringList{"A", "B"}));

    QVERIFY(dir.writeSettings("[Setup]\r\nType2=B\r\n"));
    QVERIFY(ini.OpenInProgramDir(QStringLiteral("KQ-517.ini"), false, true, true, false));
    QCOMPARE(modelList(ini), QStringList());

    QVERIFY(dir.writeSettings("[Setup]\r\nType1=A // first\r\nType2=//\r\nType3=C\r\n"));
    QVERIFY(ini.OpenInProgramDir(QStringLiteral("KQ-517.ini"), false, true, true, false));
    QCOMPARE(modelList(ini), QStringList{"A "});  // an all-comment value counts as empty
}

void TestModelBand::modelListAtMost()
{
    TempProgramDir dir;
    QByteArray text("[Setup]\r\n");
    for (int n = 1; n <= 25; ++n)
        text += "Type" + QByteArray::number(n) + "=M" + QByteArray::number(n) + "\r\n";
    QVERIFY(dir.writeSettings(text));
    CIniFile ini(4);
    QVERIFY(ini.OpenInProgramDir(QStringLiteral("KQ-517.ini"), false, true, true, false));
    QCOMPARE(modelList(ini).size(), 19);
    QCOMPARE(modelList(ini).last(), QStringLiteral("M19"));
    QCOMPARE(modelList(ini, 25).size(), 25);
    QCOMPARE(modelList(ini, 3), (QStringList{"M1", "M2", "M3"}));
}

void TestModelBand::modelAndBandFromSettings()
{
    TempProgramDir dir;
    QVERIFY(dir.writeSettings(QByteArray("[Setup]\r\nType1=KQ-517\r\nField1=130 - 160MHz\r\n"
                                         "Type2=\xB6\xD4\xBD\xB2\xBB\xFA\r\nField2=136.5 - 174MHz|400 - 470MHz\r\n")));
    CIniFile ini(4);
    QVERIFY(ini.OpenInProgramDir(QStringLiteral("KQ-517.ini"), false, true, true, false));
    QCOMPARE(modelName(ini, 0), QStringLiteral("KQ-517"));
    QCOMPARE(bandList(ini, 0), QStringLiteral("130 - 160MHz"));
    QCOMPARE(modelName(ini, 1), QStringLiteral("对讲机"));  // GBK in the file
    QCOMPARE(bandList(ini, 1), QStringLiteral("136.5 - 174MHz|400 - 470MHz"));
    QCOMPARE(modelName(ini, 2), QString());
    QCOMPARE(modelName(ini, 254), QString());
    QCOMPARE(modelName(ini, -1), QString());  // "Type0": normally absent
    QCOMPARE(modelList(ini), (QStringList{"KQ-517", "对讲机"}));
}

void TestModelBand::mainTitleTexts()
{
    const texts::TextTable chinese = moduleTable(QStringLiteral("Chinese"));
    QVERIFY(!chinese.isEmpty());
    const texts::TextTable& english = texts::TextTable::english();
    QCOMPARE(texts::mainTitle(QStringLiteral("Programmer"), QStringLiteral("KQ-517"), QStringLiteral("130 - 160MHz"), english),
             QStringLiteral("Programmer  [ Type:KQ-517  Fre:130 - 160MHz ]"));
    QCOMPARE(texts::mainTitle(QStringLiteral("KQ-517 编程软件"), QStringLiteral("KQ-517"), QStringLiteral("130 - 160MHz"), chinese),
             QStringLiteral("KQ-517 编程软件  [ 类型:KQ-517  频率:130 - 160MHz ]"));
    QCOMPARE(texts::mainTitle(QString(), QString(), QString(), english), QStringLiteral("  [ Type:  Fre: ]"));
    QCOMPARE(texts::mainTitle(QString(), QString(), QString(), chinese), QStringLiteral("  [ 类型:  频率: ]"));
}

void TestModelBand::leadingInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "130" << 130;
    QTest::newRow("band") << "130 - 160MHz" << 130;
    QTest::newRow("fraction lost") << "136.5 - 174MHz" << 136;
    QTest::newRow("leading blanks") << " \t\r\n\v\f42x" << 42;
    QTest::newRow("plus") << "+7" << 7;
    QTest::newRow("minus") << "-5MHz" << -5;
    QTest::newRow("sign then blank") << "- 5" << 0;
    QTest::newRow("two signs") << "+-5" << 0;
    QTest::newRow("no digit") << "MHz" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("stops at blank") << "1 2" << 1;
    QTest::newRow("leading zeros") << "000160" << 160;
    QTest::newRow("max") << "2147483647" << kMax;
    QTest::newRow("min") << "-2147483648" << kMin;
    QTest::newRow("over max saturates") << "2147483648" << kMax;
    QTest::newRow("far over") << "99999999999999999999999999" << kMax;
    QTest::newRow("far under") << "-99999999999999999999999999" << kMin;
    QTest::newRow("full-width digit is no digit") << "１２" << 0;
}

void TestModelBand::leadingInteger()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(modelband::leadingInteger(text), std::int32_t(value));
}

void TestModelBand::bandLimits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::newRow("example") << "130 - 160MHz" << 13000000 << 16000000;
    QTest::newRow("fraction") << "136.5 - 174MHz" << 13600000 << 17400000;
    QTest::newRow("no dash") << "400MHz" << 40000000 << 40000000;
    QTest::newRow("empty") << "" << 0 << 0;
    QTest::newRow("no numbers") << "UHF" << 0 << 0;
    QTest::newRow("no blanks") << "400-470" << 40000000 << 47000000;
    QTest::newRow("second dash ignored") << "400 - 470 - 520" << 40000000 << 47000000;
    QTest::newRow("overflow saturates") << "99999 - 99999MHz" << kMax << kMax;
    QTest::newRow("largest exact") << "21474 - 21475" << 2147400000 << kMax;
    QTest::newRow("negative high") << "100 --5" << 10000000 << -500000;
    QTest::newRow("negative overflow; first dash is the sign") << "-99999 - x" << kMin << kMax;
}

void TestModelBand::bandLimits()
{
    QFETCH(QString, text);
    QFETCH(int, low);
    QFETCH(int, high);
    const BandLimits limits = modelband::bandLimits(text);
    QCOMPARE(limits.low, std::int32_t(low));
    QCOMPARE(limits.high, std::int32_t(high));
}

void TestModelBand::exchangeNewDocument()
{
    TempUserStore tmp;
    UserStore store("KQ-517 Programmer");
    MemoryImage image = MemoryImage::newImage();
    image.set(layout::kModelIndex, 9);
    image.set(layout::kBandIndex, 9);
    exchange(image, true, store);  // nothing stored: 0 and 0
    QCOMPARE(image.at(layout::kModelIndex), std::uint8_t(0));
    QCOMPARE(image.at(layout::kBandIndex), std::uint8_t(0));

    store.write(QStringLiteral("Type"), 2);
    store.write(QStringLiteral("Field"), 1);
    exchange(image, true, store);
    QCOMPARE(image.at(layout::kModelIndex), std::uint8_t(2));
    QCOMPARE(image.at(layout::kBandIndex), std::uint8_t(1));
    // Reading leaves the store as it was.
    QCOMPARE(store.read(QStringLiteral("Type"), 0u), 2u);
}

void TestModelBand::exchangeOpenedDocument()
{
    TempUserStore tmp;
    UserStore store("KQ-517 Programmer");
    MemoryImage opened = MemoryImage::newImage();
    opened.set(layout::kModelIndex, 2);
    opened.set(layout::kBandIndex, 0xFF);
    exchange(opened, false, store);
    QCOMPARE(store.read(QStringLiteral("Type"), 0u), 2u);
    QCOMPARE(store.read(QStringLiteral("Field"), 0u), 0xFFu);
    QCOMPARE(opened.at(layout::kModelIndex), std::uint8_t(2));  // the image is not touched

    // A following new document shows model 2 again.
    MemoryImage fresh = MemoryImage::newImage();
    exchange(fresh, true, store);
    QCOMPARE(fresh.at(layout::kModelIndex), std::uint8_t(2));
    QCOMPARE(fresh.at(layout::kBandIndex), std::uint8_t(0xFF));
}

void TestModelBand::exchangeLowByteOnly()
{
    TempUserStore tmp;
    UserStore store("KQ-517 Programmer");
    store.write(QStringLiteral("Type"), 0x12345602);
    store.write(QStringLiteral("Field"), 0xFFFFFFFFu);  // -1 from the Product Information dialog
    MemoryImage image = MemoryImage::newImage();
    exchange(image, true, store);
    QCOMPARE(image.at(layout::kModelIndex), std::uint8_t(0x02));
    QCOMPARE(image.at(layout::kBandIndex), std::uint8_t(0xFF));
}

QTEST_GUILESS_MAIN(TestModelBand)
#include "tst_modelband.moc"
