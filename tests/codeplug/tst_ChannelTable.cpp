// The channel table codec: headers and labels, the in-use rules of the
// decoder, an encoder that writes edited rows and nothing else, and channels
// nobody edited that keep their bytes.

#include <QtTest>

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <initializer_list>

#include "CodeplugTests.h"
#include "tests/support/TestSupport.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/Codecs.h"
#include "codeplug/ToneTable.h"

namespace {

// Channel n's 16-byte record starts at image offset n x 16 (channel 1 at 0x010).
constexpr int recordOffset(int channel) { return channel * 16; }

void setRecord(MemoryImage& image, int channel, std::initializer_list<int> bytes)
{
    int i = 0;
    for (const int b : bytes)
        image.set(recordOffset(channel) + i++, std::uint8_t(b));
}

QStringList rowCells(const ChannelTable& table, int row)
{
    QStringList cells;
    for (int col = ChannelTable::ColRx; col < ChannelTable::kCols; ++col)
        cells << table.cell(row, col);
    return cells;
}

}  // namespace

class ChannelTableTest : public QObject {
    Q_OBJECT

private slots:
    void headersAndLabels_data();
    void headersAndLabels();
    void newImageIsEmpty();
    void decodeRow_data();
    void decodeRow();
    void decodeLeavesHeadersAndLabels();
    void encodeEmptiedRow();
    void encodeWritesOnlyChannelBytes();
    void encodeEditedCells();
    void reencodeWellFormedImages();
    void editedRowNormalises();

    // Channels nobody edited keep their 16 bytes through decode and encode.
    void untouchedOddRecordsKeepTheirBytes_data();
    void untouchedOddRecordsKeepTheirBytes();
    void untouchedRandomImagesKeepTheirBytes();
    void editingOneRowLeavesTheOthers();
    void fileSavedUneditedIsTheSameFile();
};

void ChannelTableTest::headersAndLabels_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QStringList>("headers");
    QTest::newRow("English") << false
                             << QStringList{"CH", "Rx Frequency", "Tx Frequency", "QT/DQT Dec",
                                            "QT/DQT Enc", "Busy Lock"};
    QTest::newRow("Chinese") << true
                             << QStringList{QStringLiteral("信道"), QStringLiteral("接收频率"),
                                            QStringLiteral("发射频率"), QStringLiteral("QT/DQT解码"),
                                            QStringLiteral("QT/DQT编码"), QStringLiteral("繁忙锁定")};
}

void ChannelTableTest::headersAndLabels()
{
    QFETCH(bool, chinese);
    QFETCH(QStringList, headers);
    const ChannelTable table(moduleCellWords(chinese));
    for (int col = 0; col < ChannelTable::kCols; ++col) {
        QCOMPARE(table.cell(0, col), headers.at(col));
        QCOMPARE(moduleCellWords(chinese).shown().header(col), headers.at(col));
    }
    QCOMPARE(table.cell(1, 0), QStringLiteral(" 1"));
    QCOMPARE(table.cell(9, 0), QStringLiteral(" 9"));
    QCOMPARE(table.cell(10, 0), QStringLiteral("10"));
    QCOMPARE(table.cell(16, 0), QStringLiteral("16"));
    QCOMPARE(moduleCellWords(chinese).shown().header(6), QString());
    QCOMPARE(moduleCellWords(chinese).shown().header(-1), QString());
}

void ChannelTableTest::newImageIsEmpty()
{
    ChannelTable table;
    for (int row = 1; row < ChannelTable::kRows; ++row)
        for (int col = 1; col < ChannelTable::kCols; ++col)
            table.setCell(row, col, QStringLiteral("x"));
    table.decode(MemoryImage::newImage());
    for (int row = 1; row < ChannelTable::kRows; ++row)
        QCOMPARE(rowCells(table, row), QStringList(5, QString()));
}

void ChannelTableTest::decodeRow_data()
{
    QTest::addColumn<QList<int>>("record");
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("in use")
        << QList<int>{0x50, 0x12, 0x50, 0x14, 0x00, 0x25, 0x51, 0x14, 0x70, 0x06, 0x23, 0xC0, 0xFA}
        << false << QStringList{"145.01250", "145.12500", "67.0", "D023I", "Yes"};
    QTest::newRow("in use, Chinese")
        << QList<int>{0x50, 0x12, 0x50, 0x14, 0x00, 0x25, 0x51, 0x14, 0x23, 0x80, 0xFF, 0xFF, 0xFB}
        << true << QStringList{"145.01250", "145.12500", "D023N", QStringLiteral("无"), QStringLiteral("关")};
    QTest::newRow("in use, tone high 0x00")
        << QList<int>{0x50, 0x12, 0x50, 0x14, 0x50, 0x12, 0x50, 0x14, 0x12, 0x00, 0x00, 0x00, 0x01}
        << false << QStringList{"145.01250", "145.01250", "None", "None", "No"};
    QTest::newRow("tx byte 7 0xFF")
        << QList<int>{0x50, 0x12, 0x50, 0x14, 0x50, 0x12, 0x50, 0xFF, 0xFF, 0xFF, 0x70, 0x06, 0x00}
        << false << QStringList{"145.01250", "", "", "67.0", ""};
    QTest::newRow("rx byte 3 0x00 with valid fields")
        << QList<int>{0x50, 0x12, 0x50, 0x00, 0x50, 0x12, 0x50, 0x14, 0x00, 0x00, 0x54, 0xC7, 0x00}
        << false << QStringList{"", "145.01250", "", "D754I", ""};
    QTest::newRow("ill-formed bytes shown as they decode")
        << QList<int>{0x1A, 0x25, 0x51, 0x14, 0x00, 0x00, 0x00, 0x01, 0x23, 0x8A, 0x05, 0x80, 0xFE}
        << false << QStringList{"145.12520", "10.00000", "D1023N", "D05N", "Yes"};
}

void ChannelTableTest::decodeRow()
{
    QFETCH(QList<int>, record);
    QFETCH(bool, chinese);
    QFETCH(QStringList, cells);
    for (const int channel : {1, 7, 16}) {
        MemoryImage image = MemoryImage::newImage();
        std::copy(record.begin(), record.end(), image.data() + recordOffset(channel));
        ChannelTable table(moduleCellWords(chinese));
        table.decode(image);
        QCOMPARE(rowCells(table, channel), cells);
        // Neighbours stay empty: the record is read at channel x 16.
        if (channel > 1)
            QCOMPARE(rowCells(table, channel - 1), QStringList(5, QString()));
        if (channel < 16)
            QCOMPARE(rowCells(table, channel + 1), QStringList(5, QString()));
    }
}

void ChannelTableTest::decodeLeavesHeadersAndLabels()
{
    ChannelTable table;
    table.setCell(0, 2, QStringLiteral("edited header"));
    table.setCell(3, 0, QStringLiteral("edited label"));
    MemoryImage image;
    for (int i = 0; i < layout::kImageSize; ++i)
        image.set(i, std::uint8_t(i * 37 + 11));
    table.decode(image);
    QCOMPARE(table.cell(0, 2), QStringLiteral("edited header"));
    QCOMPARE(table.cell(3, 0), QStringLiteral("edited label"));
    QCOMPARE(table.cell(0, 0), QStringLiteral("CH"));
}

void ChannelTableTest::encodeEmptiedRow()
{
    MemoryImage image = MemoryImage::newImage();
    setRecord(image, 5, {0x50, 0x12, 0x50, 0x14, 0x50, 0x12, 0x50, 0x14, 0x70, 0x06, 0x23, 0x80, 0xA6,
                         0x12, 0x34, 0x56});
    ChannelTable table;
    table.decode(image);
    QCOMPARE(table.cell(5, ChannelTable::ColBusy), QStringLiteral("Yes"));
    for (int col = 1; col < ChannelTable::kCols; ++col)
        table.setCell(5, col, QString());
    table.encode(image);

    const std::uint8_t* r = image.data() + recordOffset(5);
    for (int i = 0; i < 12; ++i)
        QCOMPARE(int(r[i]), 0xFF);
    QCOMPARE(int(r[12]), 0xA7);  // bit 0 set, bits 1-7 kept
    QCOMPARE(int(r[13]), 0x12);
    QCOMPARE(int(r[14]), 0x34);
    QCOMPARE(int(r[15]), 0x56);
    QVERIFY(!codec::channelInUse(r));
    table.decode(image);
    QCOMPARE(rowCells(table, 5), QStringList(5, QString()));
}

// Random bytes everywhere, a table of random texts encoded over them: only
// bytes 0 to 11 and bit 0 of byte 12 of channels 1 to 16 may change.
void ChannelTableTest::encodeWritesOnlyChannelBytes()
{
    QRandomGenerator random(517);
    const ToneTable tones(moduleCellWords(false).shown().none);
    for (int round = 0; round < 50; ++round) {
        MemoryImage before;
        for (int i = 0; i < layout::kImageSize; ++i)
            before.set(i, std::uint8_t(random.bounded(256)));
        ChannelTable table;
        for (int row = 1; row < ChannelTable::kRows; ++row) {
            table.setCell(row, 1, codec::formatFrequency(random.bounded(10000000, 99999999)));
            table.setCell(row, 2, random.bounded(4) == 0 ? QString() : QStringLiteral("146.50000"));
            table.setCell(row, 3, tones.at(random.bounded(ToneTable::kSize)));
            table.setCell(row, 4, tones.at(random.bounded(ToneTable::kSize)));
            table.setCell(row, 5, random.bounded(2) ? QStringLiteral("Yes") : QStringLiteral("No"));
        }
        MemoryImage after = before;
        table.encode(after);
        // Channels 1 to 16 are image rows 1 to 16 (0x010 to 0x10F).
        for (int offset = 0; offset < 1024; ++offset) {
            const int channel = offset / 16;
            const int field = offset % 16;
            const bool channelRow = channel >= 1 && channel <= 16;
            if (channelRow && field < 12)
                continue;
            if (channelRow && field == 12) {
                QCOMPARE(after.at(offset) & 0xFE, before.at(offset) & 0xFE);
                continue;
            }
            QCOMPARE(after.at(offset), before.at(offset));
        }
        // And the table reads back from the image unchanged.
        ChannelTable back;
        back.decode(after);
        for (int row = 1; row < ChannelTable::kRows; ++row) {
            const bool inUse = !table.cell(row, 2).isEmpty();
            QCOMPARE(back.cell(row, 1), table.cell(row, 1));
            QCOMPARE(back.cell(row, 2), table.cell(row, 2));
            if (inUse) {
                QCOMPARE(back.cell(row, 3), table.cell(row, 3));
                QCOMPARE(back.cell(row, 4), table.cell(row, 4));
                QCOMPARE(back.cell(row, 5), table.cell(row, 5));
            }
        }
    }
}

void ChannelTableTest::encodeEditedCells()
{
    MemoryImage image = MemoryImage::newImage();
    ChannelTable table(moduleCellWords(false));
    table.decode(image);
    setCells(table, 2, {"145.0125", "145.125", "D023N", "254.1", "开"});
    table.encode(image);
    const std::uint8_t expected[13] = {0x50, 0x12, 0x50, 0x14, 0x00, 0x25, 0x51,
                                       0x14, 0x23, 0x80, 0x41, 0x25, 0xFE};
    for (int i = 0; i < 13; ++i)
        QCOMPARE(int(image.at(recordOffset(2) + i)), int(expected[i]));
}

// Well-formed in-use channels (decimal digits, tones from the table) come back
// byte for byte in bytes 0 to 12.
void ChannelTableTest::reencodeWellFormedImages()
{
    QRandomGenerator random(4711);
    const ToneTable tones(moduleCellWords(false).shown().none);
    for (int round = 0; round < 50; ++round) {
        MemoryImage image;
        for (int i = 0; i < layout::kImageSize; ++i)
            image.set(i, std::uint8_t(random.bounded(256)));
        for (int channel = 1; channel <= layout::kChannelCount; ++channel) {
            std::uint8_t* r = image.channel(channel);
            for (int i = 0; i < 8; ++i)
                r[i] = codec::pairByte(random.bounded(i == 3 || i == 7 ? 1 : 0, 100));
            codec::encodeTone(tones.at(random.bounded(1, ToneTable::kSize)), &r[9], &r[8]);
            codec::encodeTone(tones.at(random.bounded(ToneTable::kSize)), &r[11], &r[10]);
        }
        const MemoryImage before = image;
        ChannelTable table;
        table.decode(image);
        table.encode(image);
        QCOMPARE(image, before);
    }
}

// An edited row is written by the codecs: bytes no proper encoder writes
// become their proper form (0x1A reads as 20, a tone with high byte 0x00 as
// no tone).
void ChannelTableTest::editedRowNormalises()
{
    MemoryImage image = MemoryImage::newImage();
    setRecord(image, 3, {0x1A, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14, 0x55, 0x00, 0x70, 0x06, 0x5B});
    ChannelTable table;
    table.decode(image);
    QCOMPARE(table.cell(3, ChannelTable::ColBusy), QStringLiteral("No"));
    table.setCell(3, ChannelTable::ColBusy, QStringLiteral("Yes"));
    table.encode(image);
    const std::uint8_t expected[13] = {0x20, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51,
                                       0x14, 0xFF, 0xFF, 0x70, 0x06, 0x5A};
    for (int i = 0; i < 13; ++i)
        QCOMPARE(int(image.at(recordOffset(3) + i)), int(expected[i]));
}

void ChannelTableTest::untouchedOddRecordsKeepTheirBytes_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::addColumn<QStringList>("shown");
    auto bytes = [](std::initializer_list<int> list) {
        QByteArray b;
        for (const int v : list)
            b.append(char(v));
        return b;
    };
    QTest::newRow("0xFA nibble in the top frequency byte")
        << bytes({0x00, 0x00, 0x50, 0xFA, 0x00, 0x00, 0x50, 0x14, 0x70, 0x06, 0x23, 0x80, 0xFA, 1, 2, 3})
        << QStringList{"1605.00000", "145.00000", "67.0", "D023N", "Yes"};
    QTest::newRow("CTCSS 800.0")
        << bytes({0x00, 0x00, 0x50, 0x14, 0x00, 0x00, 0x50, 0x14, 0x00, 0x7A, 0xFF, 0xFF, 0xFF, 0, 0, 0})
        << QStringList{"145.00000", "145.00000", "800.0", "None", "No"};
    QTest::newRow("D6400N and D6300I")
        << bytes({0x00, 0x00, 0x50, 0x14, 0x00, 0x00, 0x50, 0x14, 0xA0, 0xBF, 0xA0, 0xFE, 0xFE, 9, 9, 9})
        << QStringList{"145.00000", "145.00000", "D6400N", "D6300I", "Yes"};
    QTest::newRow("ambiguous pair 0xAF in byte 3")
        << bytes({0x00, 0x00, 0x00, 0xAF, 0x00, 0x00, 0x50, 0x14, 0x00, 0x00, 0x00, 0x00, 0x00, 0, 0, 0})
        << QStringList{"1150.00000", "145.00000", "None", "None", "Yes"};
    QTest::newRow("0x1A pair and tone high byte 0x00")
        << bytes({0x1A, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14, 0x55, 0x00, 0x70, 0x06, 0x5A, 0, 0, 0})
        << QStringList{"145.12520", "145.12500", "None", "67.0", "Yes"};
    QTest::newRow("receive only, tone bytes kept")
        << bytes({0x00, 0x00, 0x50, 0x14, 0x00, 0x00, 0x00, 0x00, 0x70, 0x06, 0x00, 0x00, 0x00, 0, 0, 0})
        << QStringList{"145.00000", "", "67.0", "", ""};
}

void ChannelTableTest::untouchedOddRecordsKeepTheirBytes()
{
    QFETCH(QByteArray, record);
    QFETCH(QStringList, shown);
    for (const bool chinese : {false, true}) {
        MemoryImage image = MemoryImage::newImage();
        for (int channel : {1, 9, 16}) {
            for (int i = 0; i < layout::kRowSize; ++i)
                image.channel(channel)[i] = std::uint8_t(record.at(i));
        }
        const MemoryImage before = image;
        ChannelTable table(moduleCellWords(chinese));
        table.decode(image);
        if (!chinese)
            QCOMPARE(rowCells(table, 9), shown);
        table.encode(image);
        QCOMPARE(image, before);
    }
}

// Random bytes everywhere, decoded and encoded back unedited: the image is
// byte for byte the same, whichever language decoded it.
void ChannelTableTest::untouchedRandomImagesKeepTheirBytes()
{
    QRandomGenerator random(1605);
    for (int round = 0; round < 300; ++round) {
        MemoryImage image;
        for (int i = 0; i < layout::kImageSize; ++i)
            image.set(i, std::uint8_t(random.bounded(256)));
        const MemoryImage before = image;
        ChannelTable table(moduleCellWords(round % 2 == 1));
        table.decode(image);
        table.encode(image);
        QCOMPARE(image, before);
    }
}

// An edit in one row changes that record only; the rows around it keep
// their odd bytes.
void ChannelTableTest::editingOneRowLeavesTheOthers()
{
    QRandomGenerator random(61448);
    MemoryImage image;
    for (int i = 0; i < layout::kImageSize; ++i)
        image.set(i, std::uint8_t(random.bounded(256)));
    const MemoryImage before = image;
    ChannelTable table;
    table.decode(image);
    table.setCell(4, ChannelTable::ColRx, QStringLiteral("145.0125"));
    table.setCell(4, ChannelTable::ColTx, QStringLiteral("145.0125"));
    table.encode(image);
    QCOMPARE(int(image.channel(4)[3]), 0x14);
    QCOMPARE(int(image.channel(4)[7]), 0x14);
    for (int offset = 0; offset < layout::kImageSize; ++offset) {
        if (offset / layout::kRowSize != 4)
            QCOMPARE(image.at(offset), before.at(offset));
    }
}

// A .dat file opened, shown and saved without an edit is the same file.
void ChannelTableTest::fileSavedUneditedIsTheSameFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("odd.dat"));
    QByteArray original(layout::kImageSize, char(0xFF));
    const char odd[][16] = {
        {0, 0, 0x50, char(0xFA), 0, 0, 0x50, 0x14, 0x70, 0x06, 0x23, char(0x80), char(0xFA), 1, 2, 3},
        {0, 0, 0x50, 0x14, 0, 0, 0x50, 0x14, 0x00, 0x7A, char(0xA0), char(0xBF), char(0xFE), 0, 0, 0},
        {0, 0, 0x50, 0x14, 0, 0, 0x50, 0x14, char(0xA0), char(0xFE), 0, 0, 0, 0, 0, 0},
    };
    for (int k = 0; k < 3; ++k)
        original.replace(layout::channelOffset(2 + 5 * k), layout::kRowSize, QByteArray(odd[k], 16));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(original), qint64(original.size()));
    }
    MemoryImage image;
    QVERIFY(image.loadFile(path));
    ChannelTable table;
    table.decode(image);
    table.encode(image);
    QVERIFY(image.saveFile(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), original);
}

int runChannelTableTests(int argc, char** argv)
{
    ChannelTableTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ChannelTable.moc"
