// Comparing two images: one line per differing field or option, bytes
// outside the fields still count, and equal images give nothing.

#include <QtTest>

#include "CodeplugTests.h"
#include "PlanTestImages.h"
#include "codeplug/ImageDiff.h"

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
    QTest::newRow("receive frequency") << ch2 + 1 << 0x11
                                       << QList<DiffLine>{{2, "Rx Frequency", "145.12500", "145.11100"}};
    // Tones still show on a channel out of use; its busy lock does not.
    QTest::newRow("transmit presence takes the channel out of use")
        << ch2 + 7 << 0xFF << QList<DiffLine>{{2, "Tx Frequency", "145.60000", ""}, {2, "Busy Lock", "No", ""}};
    QTest::newRow("busy lock bit") << ch2 + 12 << 0xFE << QList<DiffLine>{{2, "Busy Lock", "No", "Yes"}};
    QTest::newRow("other flag bit") << ch2 + 12 << 0xFB << QList<DiffLine>{{2, "Byte 0x02C", "FF", "FB"}};
    QTest::newRow("reserved byte") << ch2 + 14 << 0x00 << QList<DiffLine>{{2, "Byte 0x02E", "FF", "00"}};
    QTest::newRow("squelch") << int(layout::kSquelchLevel) << 9 << QList<DiffLine>{{0, "Squelch Level", "4", "9"}};
    QTest::newRow("time-out off") << int(layout::kTimeOutTimer) << 0 << QList<DiffLine>{{0, "Time Out Time", "60s", "Off"}};
    QTest::newRow("model") << int(layout::kModelIndex) << 2 << QList<DiffLine>{{0, "Model", "0", "2"}};
    QTest::newRow("beep bit 1 only") << int(layout::kBeep) << 0x03 << QList<DiffLine>{{0, "Byte 0x3C0", "01", "03"}};
    QTest::newRow("a row kept only in the file") << 0x3F0 << 0x12 << QList<DiffLine>{{0, "Byte 0x3F0", "FF", "12"}};
}

void ImageDiffTest::changes()
{
    QFETCH(int, offset);
    QFETCH(int, value);
    QFETCH(QList<DiffLine>, expected);
    ChannelTable table(false);
    table.setCell(2, ChannelTable::ColRx, QStringLiteral("145.12500"));
    table.setCell(2, ChannelTable::ColTx, QStringLiteral("145.60000"));
    table.setCell(2, ChannelTable::ColDecode, QStringLiteral("67.0"));
    table.setCell(2, ChannelTable::ColEncode, QStringLiteral("D023I"));
    table.setCell(2, ChannelTable::ColBusy, QStringLiteral("No"));
    MemoryImage a = MemoryImage::newImage();
    table.encode(a);
    MemoryImage b = a;
    b.set(offset, std::uint8_t(value));
    QCOMPARE(diff(a, b), expected);
}

void ImageDiffTest::texts()
{
    QCOMPARE((DiffLine{3, "QT/DQT Enc", "None", ""}.text()), QStringLiteral("Channel 3, QT/DQT Enc: None | (empty)"));
    QCOMPARE((DiffLine{0, "Beep", "On", "Off"}.text()), QStringLiteral("Beep: On | Off"));
}

int runImageDiffTests(int argc, char** argv)
{
    ImageDiffTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ImageDiff.moc"
