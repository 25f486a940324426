// One channel edited field by field: each field keeps its own bytes until it
// is given another value, an import of our own export changes no byte, and a
// plan row decides busy lock the same way for every caller.

#include <QtTest>

#include "CodeplugTests.h"
#include "tests/support/TestSupport.h"
#include "PlanTestImages.h"
#include "codeplug/CellValidator.h"
#include "codeplug/Channel.h"
#include "codeplug/ChannelPlan.h"

using namespace channelplan;

namespace {

Channel fromHex(const char* hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    return Channel::fromRecord(reinterpret_cast<const std::uint8_t*>(bytes.constData()));
}

QByteArray hexOf(const Channel& channel)
{
    return QByteArray(reinterpret_cast<const char*>(channel.bytes().data()), int(channel.bytes().size())).toHex(' ');
}

}  // namespace

class ChannelEditTest : public QObject {
    Q_OBJECT

private slots:
    void editKeepsOtherFieldsBytes_data();
    void editKeepsOtherFieldsBytes();
    void sameValueKeepsBytes();
    void importOfOwnExportChangesNothing();
    void busyLockOfAChannelNotInUse_data();
    void busyLockOfAChannelNotInUse();
};

void ChannelEditTest::editKeepsOtherFieldsBytes_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<int>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("after");
    // Rx bytes with nibbles above 9 (shown 1656.66665): busy lock No keeps them.
    QTest::newRow("odd rx, busy lock") << QByteArray("fffffffe00005014ffffffff feffffff") << 5 << "No"
                                       << QByteArray("ff ff ff fe 00 00 50 14 ff ff ff ff ff ff ff ff");
    // A decode tone a0 7f (shown 860.0) stays CTCSS through the same edit.
    QTest::newRow("odd tone, busy lock") << QByteArray("0000501400005014a07fffff feffffff") << 5 << "No"
                                         << QByteArray("00 00 50 14 00 00 50 14 a0 7f ff ff ff ff ff ff");
    QTest::newRow("odd tone, tx") << QByteArray("0000501400005014a07fffff feffffff") << 2 << "146"
                                  << QByteArray("00 00 50 14 00 00 60 14 a0 7f ff ff fe ff ff ff");
    QTest::newRow("odd rx, encode tone") << QByteArray("fffffffe00005014ffffffff feffffff") << 4 << "67.0"
                                         << QByteArray("ff ff ff fe 00 00 50 14 ff ff 70 06 fe ff ff ff");
}

void ChannelEditTest::editKeepsOtherFieldsBytes()
{
    QFETCH(QByteArray, record);
    QFETCH(int, col);
    QFETCH(QString, text);
    QFETCH(QByteArray, after);
    Channel channel = fromHex(record.replace(' ', "").constData());
    const CellValidator validator(13000000, 16000000);
    QCOMPARE(validator.store(channel, col, text), 0);
    QCOMPARE(hexOf(channel), after);
}

// Storing the value a field already holds writes nothing, whatever its bytes.
void ChannelEditTest::sameValueKeepsBytes()
{
    const Channel odd = fromHex("004a0014" "00005014" "00000080" "fe000000");
    Channel channel = odd;
    const CellValidator validator(13000000, 16000000);
    for (int col = 1; col <= 5; ++col)
        QCOMPARE(validator.store(channel, col, odd.cellText(col, moduleCellWords(false).shown())), 0);
    QCOMPARE(hexOf(channel), hexOf(odd));
}

// kq517 export, then kq517 import onto the same image: not one byte changes,
// empty channels with odd flag bits included.
void ChannelEditTest::importOfOwnExportChangesNothing()
{
    MemoryImage image = MemoryImage::newImage();
    image.channel(4)[layout::channel::kFlags] = 0x2C;
    image.channel(7)[layout::channel::kRxPresence] = 0x00;
    const std::uint8_t inUse[16] = {0x00, 0x00, 0x50, 0x14, 0x00, 0x00, 0x50, 0x14,
                                    0x70, 0x06, 0x00, 0x00, 0xFE, 0x11, 0x22, 0x33};
    std::copy(std::begin(inUse), std::end(inUse), image.channel(9));
    const MemoryImage original = image;
    const ParseResult plan = parseFile(writeCsv(image), plantest::band());
    QVERIFY(plan.ok());
    applyToImage(plan.rows, image, plantest::band());
    QCOMPARE(image.toByteArray().toHex(' '), original.toByteArray().toHex(' '));
}

void ChannelEditTest::busyLockOfAChannelNotInUse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("clipboard");
    QTest::newRow("csv") << QByteArray("CH,Rx Frequency,Tx Frequency,QT/DQT Dec,QT/DQT Enc,Busy Lock\n3,146.00000,,,,\n")
                         << false;
    QTest::newRow("chirp") << QByteArray("Location,Frequency\n3,146.000000\n") << false;
    QTest::newRow("clipboard") << QByteArray("1\t146.00000\t146.00000\tNone\tNone\t\n") << true;
}

// Rx 146.5 with no Tx is not a channel in use: a row without a busy lock
// makes a new channel there, busy lock on, for the program and the command
// line alike (both put rows into an image through applyToImage).
void ChannelEditTest::busyLockOfAChannelNotInUse()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, clipboard);
    MemoryImage image = MemoryImage::newImage();
    const QByteArray record = QByteArray::fromHex("00006514ffffffffffffffff feffffff");
    std::copy(record.begin(), record.end(), image.channel(3));
    ParseResult plan = clipboard ? parseTabSeparated(QString::fromUtf8(text), plantest::band())
                                 : parseFile(text, plantest::band());
    QVERIFY(plan.ok());
    if (clipboard)
        QVERIFY(placeFrom(plan.rows, 3));
    applyToImage(plan.rows, image, plantest::band());
    const Channel channel = Channel::fromRecord(image.channel(3));
    QVERIFY(channel.inUse());
    QCOMPARE(channel.cellText(5, moduleCellWords(false).shown()), QStringLiteral("Yes"));
    QCOMPARE(channel.cellText(1, moduleCellWords(false).shown()), QStringLiteral("146.00000"));
}

int runChannelEditTests(int argc, char** argv)
{
    ChannelEditTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ChannelEdit.moc"
