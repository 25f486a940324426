// Compare With's lines in the interface language: the core's differences
// worded from each language module's string table, channel cells as the
// channel table shows them in that language.

#include <QtTest>

#include "codeplug/ChannelTable.h"
#include "tests/support/TestSupport.h"
#include "codeplug/ImageDiff.h"
#include "codeplug/ImageLayout.h"
#include "settings/ui/LanguageModule.h"
#include "texts/DiffLines.h"

namespace {

// Channel 2 in use, then a few changes in b: its receive frequency, the
// busy lock, a reserved byte, the time-out timer and the beep.
void makeImages(MemoryImage* a, MemoryImage* b)
{
    ChannelTable table;
    setCells(table, 2, {"145.12500", "145.60000", "67.0", "None", "No"});
    *a = MemoryImage::newImage();
    table.encode(*a);
    a->set(layout::kTimeOutTimer, 2);
    a->set(layout::kBeep, 1);
    *b = *a;
    const int ch2 = layout::channelOffset(2);
    b->set(ch2 + layout::channel::kRxFrequency + 1, 0x11);
    b->set(ch2 + layout::channel::kFlags, 0xFE);
    b->set(ch2 + 14, 0x00);
    b->set(layout::kTimeOutTimer, 0);
    b->set(layout::kBeep, 0);
}

}  // namespace

class DiffTextsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanupTestCase() { LanguageModule::unload(); }

    void lines_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("English") << "English"
                                 << QStringList{"Channel 2, Rx Frequency: 145.12500 | 145.11100",
                                                "Channel 2, Busy Lock: No | Yes",
                                                "Time Out Time: 60s | Off",
                                                "Beep: On | Off",
                                                "Channel 2, Byte 0x02E: FF | 00"};
        QTest::newRow("Chinese") << "Chinese"
                                 << QStringList{"信道 2，接收频率：145.12500 | 145.11100",
                                                "信道 2，" + moduleCellWords(true).shown().header(ChannelTable::ColBusy) + "：" +
                                                    chineseBusy(false) + " | " + chineseBusy(true),
                                                "超时定时：60 秒 | 关",
                                                "按键音：开 | 关",
                                                "信道 2，字节 0x02E：FF | 00"};
    }

    void lines()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, expected);
        QVERIFY(LanguageModule::load(language, QStringLiteral(KQ517_PROGRAM_DIR)));
        MemoryImage a;
        MemoryImage b;
        makeImages(&a, &b);
        const QList<imagediff::DiffLine> diff = imagediff::diff(a, b);
        const QStringList shown = texts::diffLines(diff, a, b);
        QCOMPARE(shown, expected);
        // The English program says what the command line (the built-in table) says.
        if (language == QLatin1String("English")) {
            LanguageModule::unload();
            QCOMPARE(texts::diffLines(diff, a, b), shown);
        }
    }

private:
    // The busy lock cell of channel 2 as the Chinese channel table shows it.
    static QString chineseBusy(bool lockOn)
    {
        ChannelTable table;
        table.setCell(2, ChannelTable::ColRx, QStringLiteral("145.12500"));
        table.setCell(2, ChannelTable::ColTx, QStringLiteral("145.60000"));
        table.setCell(2, ChannelTable::ColBusy, lockOn ? QStringLiteral("Yes") : QStringLiteral("No"));
        MemoryImage image = MemoryImage::newImage();
        table.encode(image);
        ChannelTable chinese(moduleCellWords(true));
        chinese.decode(image);
        return chinese.cell(2, ChannelTable::ColBusy);
    }
};

QTEST_MAIN(DiffTextsTest)
#include "tst_difftexts.moc"
