// Field codecs both ways: frequencies, tones, busy lock, including bytes that
// no proper encoder writes.

#include <QtTest>

#include <array>
#include <limits>

#include "CodeplugTests.h"
#include "tests/support/TestSupport.h"
#include "codeplug/Codecs.h"

using Bytes4 = std::array<std::uint8_t, 4>;
Q_DECLARE_METATYPE(Bytes4)

class CodecsTest : public QObject {
    Q_OBJECT

private slots:
    void pairs();

    void decodeFrequency_data();
    void decodeFrequency();
    void encodeFrequency_data();
    void encodeFrequency();
    void formatFrequency_data();
    void formatFrequency();
    void frequencyRoundTrip();

    void decodeTone_data();
    void decodeTone();
    void encodeTone_data();
    void encodeTone();

    void busyLock_data();
    void busyLock();
    void encodeBusyLock_data();
    void encodeBusyLock();

    void channelInUse_data();
    void channelInUse();

    void oddFrequencyBytesComeBack_data();
    void oddFrequencyBytesComeBack();
    void oddToneBytesComeBack_data();
    void oddToneBytesComeBack();
};

void CodecsTest::pairs()
{
    for (int p = 0; p < 100; ++p) {
        const std::uint8_t b = codec::pairByte(p);
        QCOMPARE(b >> 4, p / 10);
        QCOMPARE(b & 0x0F, p % 10);
        QCOMPARE(codec::pairValue(b), p);
    }
    // Nibbles above 9 are not checked: they add their own value.
    QCOMPARE(codec::pairValue(0x1A), 20);
    QCOMPARE(codec::pairValue(0xFF), 165);
    // Out-of-range values wrap in the byte instead of overflowing.
    QCOMPARE(codec::pairByte(100), std::uint8_t(0xA0));
    QCOMPARE(codec::pairByte(-50), std::uint8_t(0xB0));
    (void)codec::pairByte(std::numeric_limits<int>::max());
    (void)codec::pairByte(std::numeric_limits<int>::min());
}

void CodecsTest::decodeFrequency_data()
{
    QTest::addColumn<Bytes4>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("145.01250") << Bytes4{0x50, 0x12, 0x50, 0x14} << "145.01250";
    QTest::newRow("145.12500") << Bytes4{0x00, 0x25, 0x51, 0x14} << "145.12500";
    QTest::newRow("largest") << Bytes4{0x99, 0x99, 0x99, 0x99} << "999.99999";
    QTest::newRow("smallest present") << Bytes4{0x00, 0x00, 0x00, 0x01} << "10.00000";
    QTest::newRow("byte 3 0x00") << Bytes4{0x50, 0x12, 0x50, 0x00} << "";
    QTest::newRow("byte 3 0xFF") << Bytes4{0x50, 0x12, 0x50, 0xFF} << "";
    QTest::newRow("empty") << Bytes4{0xFF, 0xFF, 0xFF, 0xFF} << "";
    QTest::newRow("nibble 0x1A counts 20") << Bytes4{0x1A, 0x25, 0x51, 0x14} << "145.12520";
    QTest::newRow("nibbles in every byte") << Bytes4{0xFF, 0xFF, 0xFF, 0xFE} << "1656.66665";
    QTest::newRow("zero lower bytes") << Bytes4{0x00, 0x00, 0x00, 0x14} << "140.00000";
}

void CodecsTest::decodeFrequency()
{
    QFETCH(Bytes4, bytes);
    QFETCH(QString, text);
    QCOMPARE(codec::decodeFrequency(bytes.data()), text);
}

void CodecsTest::encodeFrequency_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Bytes4>("bytes");
    QTest::newRow("145.0125") << "145.0125" << Bytes4{0x50, 0x12, 0x50, 0x14};
    QTest::newRow("145.125") << "145.125" << Bytes4{0x00, 0x25, 0x51, 0x14};
    QTest::newRow("shown text") << "145.01250" << Bytes4{0x50, 0x12, 0x50, 0x14};
    QTest::newRow("largest") << "999.99999" << Bytes4{0x99, 0x99, 0x99, 0x99};
    QTest::newRow("empty") << "" << Bytes4{0xFF, 0xFF, 0xFF, 0xFF};
    QTest::newRow("None") << "None" << Bytes4{0xFF, 0xFF, 0xFF, 0xFF};
    QTest::newRow("not a number") << "abc" << Bytes4{0xFF, 0xFF, 0xFF, 0xFF};
    QTest::newRow("zero") << "0.000" << Bytes4{0xFF, 0xFF, 0xFF, 0xFF};
    // Above the eight digits: the top pair wraps in its byte (the validator
    // keeps such values out of the table).
    QTest::newRow("1000 MHz") << "1000" << Bytes4{0x00, 0x00, 0x00, 0xA0};
    // Saturated huge values still give four defined bytes.
    QTest::newRow("1e300") << "1e300" << Bytes4{0x07, 0x58, 0x77, 0x54};
}

void CodecsTest::encodeFrequency()
{
    QFETCH(QString, text);
    QFETCH(Bytes4, bytes);
    Bytes4 out{0x11, 0x22, 0x33, 0x44};
    codec::encodeFrequency(text, out.data());
    QCOMPARE(out, bytes);
}

void CodecsTest::formatFrequency_data()
{
    QTest::addColumn<qint64>("units");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0.00000";
    QTest::newRow("one unit") << qint64(1) << "0.00001";
    QTest::newRow("145.0125") << qint64(14501250) << "145.01250";
    QTest::newRow("step 6.25k") << qint64(13000625) << "130.00625";
    QTest::newRow("largest") << qint64(99999999) << "999.99999";
    QTest::newRow("negative") << qint64(-500) << "-0.00500";
    QTest::newRow("int64 max") << std::numeric_limits<qint64>::max() << "92233720368547.75807";
    QTest::newRow("int64 min") << std::numeric_limits<qint64>::min() << "-92233720368547.75808";
}

void CodecsTest::formatFrequency()
{
    QFETCH(qint64, units);
    QFETCH(QString, text);
    QCOMPARE(codec::formatFrequency(units), text);
}

// Every 1.25 kHz point of 100 to 200 MHz: text -> bytes -> the same text.
void CodecsTest::frequencyRoundTrip()
{
    for (std::int64_t units = 10000000; units < 20000000; units += 125) {
        const QString text = codec::formatFrequency(units);
        Bytes4 bytes{};
        codec::encodeFrequency(text, bytes.data());
        if (codec::decodeFrequency(bytes.data()) != text)
            QFAIL(qPrintable(text));
    }
}

void CodecsTest::decodeTone_data()
{
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");
    QTest::addColumn<bool>("inUse");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("text");
    QTest::newRow("0x00 in use") << 0x00 << 0x00 << true << false << "None";
    QTest::newRow("0x00 in use, Chinese") << 0x00 << 0x12 << true << true << QStringLiteral("无");
    QTest::newRow("0x00 not in use") << 0x00 << 0x00 << false << false << "";
    QTest::newRow("0xFF in use") << 0xFF << 0xFF << true << false << "None";
    QTest::newRow("0xFF not in use") << 0xFF << 0x45 << false << true << "";
    QTest::newRow("67.0 in use") << 0x06 << 0x70 << true << false << "67.0";
    QTest::newRow("67.0 not in use") << 0x06 << 0x70 << false << false << "67.0";
    QTest::newRow("254.1") << 0x25 << 0x41 << true << false << "254.1";
    QTest::newRow("100.0") << 0x10 << 0x00 << true << false << "100.0";
    QTest::newRow("ill-formed CTCSS") << 0x7F << 0xFF << true << false << "866.5";
    QTest::newRow("small CTCSS") << 0x01 << 0x00 << true << false << "10.0";
    QTest::newRow("D023N") << 0x80 << 0x23 << true << false << "D023N";
    QTest::newRow("D114N") << 0x81 << 0x14 << true << false << "D114N";
    QTest::newRow("D023I") << 0xC0 << 0x23 << true << false << "D023I";
    QTest::newRow("D114I") << 0xC1 << 0x14 << false << false << "D114I";
    QTest::newRow("D754I") << 0xC7 << 0x54 << true << false << "D754I";
    QTest::newRow("DCS high 0x8A") << 0x8A << 0x23 << true << false << "D1023N";
    QTest::newRow("DCS high 0xBF") << 0xBF << 0x99 << true << false << "D6399N";
    QTest::newRow("DCS low 0x05") << 0x80 << 0x05 << true << false << "D05N";
    QTest::newRow("DCS low 0x1A") << 0xC0 << 0x1A << true << false << "D020I";
    QTest::newRow("DCS high 0xFE") << 0xFE << 0x00 << true << false << "D6200I";
}

void CodecsTest::decodeTone()
{
    QFETCH(int, high);
    QFETCH(int, low);
    QFETCH(bool, inUse);
    QFETCH(bool, chinese);
    QFETCH(QString, text);
    QCOMPARE(codec::decodeTone(std::uint8_t(high), std::uint8_t(low), inUse, moduleCellWords(chinese).shown()), text);
}

void CodecsTest::encodeTone_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");
    QTest::newRow("D023N") << "D023N" << 0x80 << 0x23;
    QTest::newRow("D114N") << "D114N" << 0x81 << 0x14;
    QTest::newRow("D754I") << "D754I" << 0xC7 << 0x54;
    QTest::newRow("no suffix is inverted") << "D023" << 0xC0 << 0x23;
    QTest::newRow("D05N round trip") << "D05N" << 0x80 << 0x05;
    QTest::newRow("D1023N round trip") << "D1023N" << 0x8A << 0x23;
    QTest::newRow("D6200I round trip") << "D6200I" << 0xFE << 0x00;
    QTest::newRow("254.1") << "254.1" << 0x25 << 0x41;
    QTest::newRow("67.0") << "67.0" << 0x06 << 0x70;
    QTest::newRow("None") << "None" << 0xFF << 0xFF;
    QTest::newRow("Chinese no tone") << QStringLiteral("无") << 0xFF << 0xFF;
    QTest::newRow("empty") << "" << 0xFF << 0xFF;
    QTest::newRow("nan") << "nan" << 0xFF << 0xFF;
    QTest::newRow("huge DCS number") << "D99999999999N" << 0x94 << 0x47;
    QTest::newRow("huge CTCSS") << "1e300" << 0x78 << 0x07;
}

void CodecsTest::encodeTone()
{
    QFETCH(QString, text);
    QFETCH(int, high);
    QFETCH(int, low);
    std::uint8_t h = 0x12;
    std::uint8_t l = 0x34;
    codec::encodeTone(text, &h, &l);
    QCOMPARE(int(h), high);
    QCOMPARE(int(l), low);
}

void CodecsTest::busyLock_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("inUse");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("text");
    QTest::newRow("bit 0 clear") << 0xFE << true << false << "Yes";
    QTest::newRow("bit 0 set") << 0x01 << true << false << "No";
    QTest::newRow("Chinese on") << 0x00 << true << true << QStringLiteral("开");
    QTest::newRow("Chinese off") << 0xFB << true << true << QStringLiteral("关");
    QTest::newRow("not in use") << 0x00 << false << false << "";
    QTest::newRow("not in use, Chinese") << 0x01 << false << true << "";
}

void CodecsTest::busyLock()
{
    QFETCH(int, flags);
    QFETCH(bool, inUse);
    QFETCH(bool, chinese);
    QFETCH(QString, text);
    QCOMPARE(codec::decodeBusyLock(std::uint8_t(flags), inUse, moduleCellWords(chinese).shown()), text);
}

void CodecsTest::encodeBusyLock_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("oldFlags");
    QTest::addColumn<int>("newFlags");
    QTest::newRow("Yes clears bit 0") << "Yes" << 0xFF << 0xFE;
    QTest::newRow("Chinese on clears bit 0") << QStringLiteral("开") << 0x0B << 0x0A;
    QTest::newRow("No sets bit 0") << "No" << 0x00 << 0x01;
    QTest::newRow("Chinese off sets bit 0") << QStringLiteral("关") << 0xFA << 0xFB;
    QTest::newRow("lower-case no") << "no" << 0x80 << 0x81;
    QTest::newRow("lower-case yes") << "yes" << 0x80 << 0x81;
    QTest::newRow("empty") << "" << 0xFA << 0xFB;
    QTest::newRow("Yes with blank") << "Yes " << 0x00 << 0x01;
}

void CodecsTest::encodeBusyLock()
{
    QFETCH(QString, text);
    QFETCH(int, oldFlags);
    QFETCH(int, newFlags);
    QCOMPARE(int(codec::encodeBusyLock(text, std::uint8_t(oldFlags), moduleCellWords(false))), newFlags);
}

void CodecsTest::channelInUse_data()
{
    QTest::addColumn<int>("rx3");
    QTest::addColumn<int>("tx7");
    QTest::addColumn<bool>("inUse");
    QTest::newRow("both set") << 0x14 << 0x15 << true;
    QTest::newRow("rx 0x00") << 0x00 << 0x14 << false;
    QTest::newRow("rx 0xFF") << 0xFF << 0x14 << false;
    QTest::newRow("tx 0x00") << 0x14 << 0x00 << false;
    QTest::newRow("tx 0xFF") << 0x14 << 0xFF << false;
    QTest::newRow("ill-formed but present") << 0xFE << 0x01 << true;
}

void CodecsTest::channelInUse()
{
    QFETCH(int, rx3);
    QFETCH(int, tx7);
    QFETCH(bool, inUse);
    std::array<std::uint8_t, 16> record{};
    record.fill(0x14);
    record[3] = std::uint8_t(rx3);
    record[7] = std::uint8_t(tx7);
    QCOMPARE(codec::channelInUse(record.data()), inUse);
}

// Bytes with nibbles above 9 that no proper encoder writes, as read from a
// radio or a file: the text they decode to encodes back to the same bytes.
void CodecsTest::oddFrequencyBytesComeBack_data()
{
    QTest::addColumn<Bytes4>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("0xFA in byte 3") << Bytes4{0x00, 0x00, 0x50, 0xFA} << "1605.00000";
    QTest::newRow("0xA0 in byte 3") << Bytes4{0x25, 0x00, 0x50, 0xA0} << "1005.00025";
    QTest::newRow("0xFF-like top 0xF9") << Bytes4{0x99, 0x99, 0x99, 0xF9} << "1599.99999";
}

void CodecsTest::oddFrequencyBytesComeBack()
{
    QFETCH(Bytes4, bytes);
    QFETCH(QString, text);
    QCOMPARE(codec::decodeFrequency(bytes.data()), text);
    Bytes4 out{0x11, 0x22, 0x33, 0x44};
    codec::encodeFrequency(text, out.data());
    QCOMPARE(out, bytes);
}

void CodecsTest::oddToneBytesComeBack_data()
{
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");
    QTest::addColumn<QString>("text");
    // A CTCSS high byte 0x7A-0x7F must not turn into a DCS code.
    QTest::newRow("CTCSS 800.0") << 0x7A << 0x00 << "800.0";
    QTest::newRow("CTCSS 855.9") << 0x7F << 0x59 << "855.9";
    // The top DCS high bytes with a low byte above 0x99 must keep their kind.
    QTest::newRow("D6400N") << 0xBF << 0xA0 << "D6400N";
    QTest::newRow("D6465N") << 0xBF << 0xFF << "D6465N";
    QTest::newRow("D6300I") << 0xFE << 0xA0 << "D6300I";
    QTest::newRow("D6365I") << 0xFE << 0xFF << "D6365I";
}

void CodecsTest::oddToneBytesComeBack()
{
    QFETCH(int, high);
    QFETCH(int, low);
    QFETCH(QString, text);
    QCOMPARE(codec::decodeTone(std::uint8_t(high), std::uint8_t(low), true, moduleCellWords(false).shown()), text);
    std::uint8_t h = 0x12;
    std::uint8_t l = 0x34;
    codec::encodeTone(text, &h, &l);
    QCOMPARE(int(h), high);
    QCOMPARE(int(l), low);
}

int runCodecsTests(int argc, char** argv)
{
    CodecsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_Codecs.moc"
