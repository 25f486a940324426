// The memory image and its .dat file: new-image defaults, length rules on
// load, and saves that never leave a half-written file.

#include <QtTest>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "CodeplugTests.h"
#include "tests/support/TestSupport.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/MemoryImage.h"

namespace {

MemoryImage randomImage(quint32 seed)
{
    QRandomGenerator random(seed);
    MemoryImage image;
    for (int i = 0; i < layout::kImageSize; ++i)
        image.set(i, std::uint8_t(random.bounded(256)));
    return image;
}

QByteArray patternBytes(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

}  // namespace

class MemoryImageTest : public QObject {
    Q_OBJECT

private slots:
    void layoutOffsets_data();
    void layoutOffsets();
    void channelRecordsAtTheirOffsets();
    void blankImage();
    void newImageDefaults();
    void newImageSurvivesEncodeOfEmptyTable();
    void byteArray();
    void saveAndLoad();
    void loadLength_data();
    void loadLength();
    void loadRefusesUnreadable_data();
    void loadRefusesUnreadable();
    void failedSaveKeepsOldFile();
    void failedSaveInReadOnlyFolder();
    void saveReplacesWholly();
};

// Every named place of the image against the radio's memory map, written out
// here as numbers.
void MemoryImageTest::layoutOffsets_data()
{
    QTest::addColumn<int>("actual");
    QTest::addColumn<int>("expected");
    const auto row = [](const char* name, int actual, int expected) {
        QTest::newRow(name) << actual << expected;
    };
    row("image size", layout::kImageSize, 1024);
    row("row size", layout::kRowSize, 16);
    row("row count", layout::kRowCount, 64);
    row("first radio row", layout::kFirstRadioRow, 0);
    row("last radio row", layout::kLastRadioRow, 60);
    row("radio rows", layout::kRadioRowCount, 61);
    row("radio bytes end at 0x3D0", layout::kRadioByteCount, 0x3D0);
    row("block size", layout::kBlockSize, 8);
    row("radio blocks", layout::kRadioBlockCount, 122);
    row("channel count", layout::kChannelCount, 16);
    row("channel 1", layout::channelOffset(1), 0x010);
    row("channel 2", layout::channelOffset(2), 0x020);
    row("channel 16", layout::channelOffset(16), 0x100);
    row("rx frequency", layout::channel::kRxFrequency, 0);
    row("rx presence byte", layout::channel::kRxPresence, 3);
    row("tx frequency", layout::channel::kTxFrequency, 4);
    row("tx presence byte", layout::channel::kTxPresence, 7);
    row("decode tone low", layout::channel::kDecodeToneLow, 8);
    row("decode tone high", layout::channel::kDecodeToneHigh, 9);
    row("encode tone low", layout::channel::kEncodeToneLow, 10);
    row("encode tone high", layout::channel::kEncodeToneHigh, 11);
    row("flags", layout::channel::kFlags, 12);
    row("busy lock off bit", layout::channel::kBusyLockOffBit, 0x01);
    row("reserved bytes", layout::channel::kReserved, 13);
    row("settings row", layout::kSettingsRow, 60);
    row("beep", layout::kBeep, 0x3C0);
    row("squelch level", layout::kSquelchLevel, 0x3C1);
    row("uninterpreted 0x3C2", layout::kUnknown3C2, 0x3C2);
    row("time-out timer", layout::kTimeOutTimer, 0x3C3);
    row("tx power", layout::kTxPower, 0x3C4);
    row("uninterpreted 0x3C5", layout::kUnknown3C5, 0x3C5);
    row("model index", layout::kModelIndex, 0x3CE);
    row("band index", layout::kBandIndex, 0x3CF);
}

void MemoryImageTest::layoutOffsets()
{
    QFETCH(int, actual);
    QFETCH(int, expected);
    QCOMPARE(actual, expected);
}

// A channel's record through the image's accessor lands on the same bytes as
// its offset counted by hand.
void MemoryImageTest::channelRecordsAtTheirOffsets()
{
    MemoryImage image = randomImage(3);
    for (int n = 1; n <= 16; ++n)
        QCOMPARE(image.channel(n) - image.data(), std::ptrdiff_t(n * 16));
}

void MemoryImageTest::blankImage()
{
    const MemoryImage image;
    for (int i = 0; i < layout::kImageSize; ++i)
        QCOMPARE(int(image.at(i)), 0xFF);
}

void MemoryImageTest::newImageDefaults()
{
    MemoryImage image = randomImage(1);
    image.resetToNew();
    QCOMPARE(image, MemoryImage::newImage());
    const QByteArray bytes = image.toByteArray();
    QCOMPARE(bytes.size(), 1024);
    QByteArray expected(1024, char(0xFF));
    expected[0x01C] = char(0xFB);
    expected[0x3C0] = 0x01;
    expected[0x3C1] = 0x04;
    expected[0x3C2] = 0x03;
    expected[0x3C3] = 0x02;
    expected[0x3C4] = 0x0C;
    expected[0x3C5] = 0x0A;
    expected[0x3CE] = 0x00;
    expected[0x3CF] = 0x00;
    QCOMPARE(bytes, expected);
}

// Saving a new document at once runs the encoder over the empty table; the
// defaults must come out as they went in.
void MemoryImageTest::newImageSurvivesEncodeOfEmptyTable()
{
    MemoryImage image = MemoryImage::newImage();
    ChannelTable table;
    table.decode(image);
    table.encode(image);
    QCOMPARE(image, MemoryImage::newImage());
}

void MemoryImageTest::byteArray()
{
    MemoryImage image = randomImage(2);
    const MemoryImage before = image;
    QVERIFY(!image.fromByteArray(QByteArray(1023, 'x')));
    QCOMPARE(image, before);
    const QByteArray longer = patternBytes(2000, 3);
    QVERIFY(image.fromByteArray(longer));
    QCOMPARE(image.toByteArray(), longer.left(1024));
}

void MemoryImageTest::saveAndLoad()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("radio.dat"));
    const MemoryImage image = randomImage(4);
    ImageFileProblem error;
    QVERIFY2(image.saveFile(path, &error), qPrintable(error.reason));
    QCOMPARE(readFile(path), image.toByteArray());
    MemoryImage loaded;
    QVERIFY2(loaded.loadFile(path, &error), qPrintable(error.reason));
    QCOMPARE(error.kind, ImageFileProblem::Kind::None);
    QCOMPARE(loaded, image);
    // Nothing but the file itself is left in the folder.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"radio.dat"});
}

void MemoryImageTest::loadLength_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << 0 << false;
    QTest::newRow("one byte") << 1 << false;
    QTest::newRow("1023") << 1023 << false;
    QTest::newRow("1024") << 1024 << true;
    QTest::newRow("1025") << 1025 << true;
    QTest::newRow("4 MiB") << 4 * 1024 * 1024 << true;
}

void MemoryImageTest::loadLength()
{
    QFETCH(int, size);
    QFETCH(bool, accepted);
    QTemporaryDir dir;
    const QString path =
        dir.filePath(QStringLiteral("file %2 ") + QString::number(size) + QStringLiteral(".dat"));
    const QByteArray bytes = patternBytes(size, quint32(size) + 7);
    QVERIFY(writeFile(path, bytes));

    MemoryImage image = randomImage(5);
    const MemoryImage before = image;
    ImageFileProblem error;
    QCOMPARE(image.loadFile(path, &error), accepted);
    if (accepted) {
        QCOMPARE(error.kind, ImageFileProblem::Kind::None);
        QCOMPARE(image.toByteArray(), bytes.left(1024));
    } else {
        QCOMPARE(image, before);
        // The problem names the file and how long it is.
        QCOMPARE(error, (ImageFileProblem{ImageFileProblem::Kind::TooShort, path, QString(), size}));
    }
}

void MemoryImageTest::loadRefusesUnreadable_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << "missing.dat";
    QTest::newRow("folder") << "folder";
    QTest::newRow("below a file") << "plain.txt/radio.dat";
}

void MemoryImageTest::loadRefusesUnreadable()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("plain.txt")), QByteArray(2048, 'p')));
    MemoryImage image = randomImage(6);
    const MemoryImage before = image;
    ImageFileProblem error;
    QVERIFY(!image.loadFile(dir.filePath(name), &error));
    QCOMPARE(image, before);
    QVERIFY(error.kind == ImageFileProblem::Kind::CannotOpen || error.kind == ImageFileProblem::Kind::CannotRead);
    QCOMPARE(error.path, dir.filePath(name));
    QVERIFY(!error.reason.isEmpty());
}

// A save that cannot complete leaves the file that was there untouched. The
// target's folder is a regular file here, which fails for every user,
// including root; the old file is next to it.
void MemoryImageTest::failedSaveKeepsOldFile()
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QVERIFY(writeFile(blocker, QByteArray("not a folder")));
    ImageFileProblem error;
    QVERIFY(!randomImage(7).saveFile(blocker + QStringLiteral("/radio.dat"), &error));
    QCOMPARE(error.kind, ImageFileProblem::Kind::CannotSave);
    QCOMPARE(error.path, blocker + QStringLiteral("/radio.dat"));
    QVERIFY(!error.reason.isEmpty());
    QCOMPARE(readFile(blocker), QByteArray("not a folder"));

    // The target is a folder: the folder (and what it holds) stays.
    const QString folder = dir.filePath(QStringLiteral("radio.dat"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("radio.dat")));
    QVERIFY(writeFile(folder + QStringLiteral("/inside"), QByteArray("kept")));
    QVERIFY(!randomImage(8).saveFile(folder, &error));
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(readFile(folder + QStringLiteral("/inside")), QByteArray("kept"));
}

// An old file in a folder that may not be written: the old contents stay whole.
// Root may write anywhere, so the case is skipped when the folder still takes
// new files.
void MemoryImageTest::failedSaveInReadOnlyFolder()
{
    QTemporaryDir dir;
    const QString sub = dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(sub));
    const QString path = sub + QStringLiteral("/radio.dat");
    const MemoryImage old = randomImage(9);
    QVERIFY(old.saveFile(path));
    QVERIFY(QFile::setPermissions(sub, QFile::ReadOwner | QFile::ExeOwner));
    const bool folderStillWritable = writeFile(sub + QStringLiteral("/probe"), "x");
    if (!folderStillWritable) {
        ImageFileProblem error;
        QVERIFY(!randomImage(10).saveFile(path, &error));
        QCOMPARE(error.kind, ImageFileProblem::Kind::CannotSave);
        QVERIFY(!error.reason.isEmpty());
        QCOMPARE(readFile(path), old.toByteArray());
    }
    QFile::setPermissions(sub, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (folderStillWritable)
        QSKIP("running with rights that ignore folder permissions");
}

void MemoryImageTest::saveReplacesWholly()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("radio.dat"));
    QVERIFY(writeFile(path, patternBytes(5000, 11)));
    const MemoryImage image = randomImage(12);
    QVERIFY(image.saveFile(path));
    QCOMPARE(readFile(path), image.toByteArray());
}

int runMemoryImageTests(int argc, char** argv)
{
    MemoryImageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_MemoryImage.moc"
