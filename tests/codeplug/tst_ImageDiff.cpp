// Comparing two images: one line per differing field or option, bytes
// outside the fields still count, and equal images give nothing.

#include <QtTest>

#include "CodeplugTests.h"
#include "tests/support/TestSupport.h"
#include "PlanTestImages.h"
#include "codeplug/ImageDiff.h"
#include "texts/DiffLines.h"

using namespace imagediff;

class ImageDiffTest : public QObject {
    Q_OBJECT

private slots:
    void equalImages();
    void changes_data();
    void changes();
    void texts();
};

void ImageDiffTest::equalImages()
{
    QRandomGenerator random(99);
    const MemoryImage image = plantest::randomPlanImage(random, plantest::band());
    QVERIFY(diff(image, image).isEmpty());
    QVERIFY(diff(MemoryImage::newImage(), MemoryImage::newImage()).isEmpty());
}

void ImageDiffTest::changes_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");
    QTest::addColumn<QList<DiffLine>>("expected");

    const int ch2 = layout::channelOffset(2);
    namespace ch = layout::channel;
    const auto field = [ch2](int column, int first, const char* name, const char* a, const char* b) {
        return DiffLine{DiffLine::Kind::ChannelField, 2, column, ch2 + first, QString::fromUtf8(name),
                        QString::fromUtf8(a), QString::fromUtf8(b)};
    };
    const auto option = [](int offset, const char* name, const char* a, const char* b) {
        return DiffLine{DiffLine::Kind::Option, 0, 0, offset, QString::fromUtf8(name), QString::fromUtf8(a),
                        QString::fromUtf8(b)};
    };
    const auto byte = [](int channel, int offset, const char* name, const char* a, const char* b) {
        return DiffLine{DiffLine::Kind::OtherByte, channel, 0, offset, QString::fromUtf8(name), QString::fromUtf8(a),
                        QString::fromUtf8(b)};
    };
    QTest::newRow("receive frequency")
        << ch2 + 1 << 0x11
        << QList<DiffLine>{field(ChannelTable::ColRx, ch::kRxFrequency, "Rx Frequency", "145.12500", "145.11100")};
    // Tones still show on a channel out of use; its busy lock does not.
    QTest::newRow("transmit presence takes the channel out of use")
        << ch2 + 7 << 0xFF
        << QList<DiffLine>{field(ChannelTable::ColTx, ch::kTxFrequency, "Tx Frequency", "145.60000", ""),
                           field(ChannelTable::ColBusy, ch::kFlags, "Busy Lock", "No", "")};
    QTest::newRow("busy lock bit") << ch2 + 12 << 0xFE
                                   << QList<DiffLine>{field(ChannelTable::ColBusy, ch::kFlags, "Busy Lock", "No", "Yes")};
    QTest::newRow("other flag bit") << ch2 + 12 << 0xFB << QList<DiffLine>{byte(2, ch2 + 12, "Byte 0x02C", "FF", "FB")};
    QTest::newRow("reserved byte") << ch2 + 14 << 0x00 << QList<DiffLine>{byte(2, ch2 + 14, "Byte 0x02E", "FF", "00")};
    QTest::newRow("squelch") << int(layout::kSquelchLevel) << 9
                             << QList<DiffLine>{option(layout::kSquelchLevel, "Squelch Level", "4", "9")};
    QTest::newRow("time-out off") << int(layout::kTimeOutTimer) << 0
                                  << QList<DiffLine>{option(layout::kTimeOutTimer, "Time Out Time", "60s", "Off")};
    QTest::newRow("model") << int(layout::kModelIndex) << 2
                           << QList<DiffLine>{option(layout::kModelIndex, "Model", "0", "2")};
    QTest::newRow("beep bit 1 only") << int(layout::kBeep) << 0x03
                                     << QList<DiffLine>{byte(0, layout::kBeep, "Byte 0x3C0", "01", "03")};
    QTest::newRow("a row kept only in the file") << 0x3F0 << 0x12
                                                 << QList<DiffLine>{byte(0, 0x3F0, "Byte 0x3F0", "FF", "12")};
}

void ImageDiffTest::changes()
{
    QFETCH(int, offset);
    QFETCH(int, value);
    QFETCH(QList<DiffLine>, expected);
    ChannelTable table;
    setCells(table, 2, {"145.12500", "145.60000", "67.0", "D023I", "No"});
    MemoryImage a = MemoryImage::newImage();
    table.encode(a);
    MemoryImage b = a;
    b.set(offset, std::uint8_t(value));
    QCOMPARE(diff(a, b), expected);
}

void ImageDiffTest::texts()
{
    // Channel 3 in use without tones and the beep on in a; neither in b.
    ChannelTable table;
    setCells(table, 3, {"145.12500", "145.12500", "None", "None"});
    MemoryImage a = MemoryImage::newImage();
    table.encode(a);
    a.set(layout::kBeep, 1);
    MemoryImage b = MemoryImage::newImage();
    b.set(layout::kBeep, 0);
    const QStringList lines = ::texts::diffLines(
        {DiffLine{DiffLine::Kind::ChannelField, 3, ChannelTable::ColEncode, 0, "QT/DQT Enc", "None", ""},
         DiffLine{DiffLine::Kind::Option, 0, 0, layout::kBeep, "Beep", "On", "Off"}},
        a, b);
    QCOMPARE(lines.value(0), QStringLiteral("Channel 3, QT/DQT Enc: None | (empty)"));
    QCOMPARE(lines.value(1), QStringLiteral("Beep: On | Off"));
}

int runImageDiffTests(int argc, char** argv)
{
    ImageDiffTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ImageDiff.moc"
