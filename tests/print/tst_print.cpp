// The printed report: pagination, the positions and texts of the options page
// and the channel pages, a rendered PDF, the view's print preparation and the
// command line's print switches.

#include <QImage>
#include <algorithm>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include "codeplug/ImageLayout.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/ui/LanguageModule.h"
#include "tests/support/TestSupport.h"
#include "view/KQ_517View.h"
#include "view/MSFlexGrid.h"
#include "view/PrintSwitches.h"
#include "view/ReportPrinter.h"

namespace {

using Channels = QList<int>;

ChannelTable tableWith(const Channels& channels)
{
    ChannelTable table;
    for (int c : channels) {
        setCells(table, c,
                 {QStringLiteral("1%1.12500").arg(c, 2, 10, QLatin1Char('0')), "150.00000", "67.0", "D023N", "Yes"});
    }
    return table;
}

// Round measures: u = 100, L1 = 300, L2 = 240 twips.
ReportMeasures roundMeasures()
{
    ReportMeasures m;
    m.width = 6600;
    m.height = 9000;
    m.unit = 100;
    m.line1 = 300;
    m.line2 = 240;
    return m;
}

const ReportItem* findText(const QList<ReportItem>& items, const QString& text)
{
    for (const ReportItem& item : items) {
        if (item.kind == ReportItem::Text && item.text == text)
            return &item;
    }
    return nullptr;
}

// (channel, slot) of every "Channel n:" heading of a page.
QList<QPair<int, int>> headings(const QList<ReportItem>& items, int line2)
{
    static const QRegularExpression re(QStringLiteral("^Channel (\\d+):$"));
    QList<QPair<int, int>> result;
    for (const ReportItem& item : items) {
        const auto match = re.match(item.text);
        if (item.kind != ReportItem::Text || !match.hasMatch())
            continue;
        // y = -(5d + 4) x L2
        const int slot = (-item.y / line2 - 4) / 5;
        if (-item.y != (5 * slot + 4) * line2)
            return {};  // not on a slot line at all
        result.append({match.captured(1).toInt(), slot});
    }
    return result;
}

ReportPrinter::Texts english(const QString& owner = QStringLiteral("Owner Ltd"))
{
    ReportPrinter::Texts texts = ReportPrinter::Texts::fromActiveTable();
    texts.copyrightsOwner = owner;
    return texts;
}

// The report's texts in the English or the Chinese module; the English one is
// active again afterwards.
ReportPrinter::Texts textsIn(bool chinese)
{
    if (!chinese)
        return english();
    LanguageModule::load(QStringLiteral("Chinese"), QStringLiteral(KQ517_PROGRAM_DIR));
    const ReportPrinter::Texts texts = english();
    LanguageModule::load(QStringLiteral("English"), QStringLiteral(KQ517_PROGRAM_DIR));
    return texts;
}

struct PdfWord {
    int page;
    double xMin, yMin, xMax, yMax;
    QString text;
};

// Words of a PDF with their boxes in points (pdftotext -bbox); empty when the
// tool is missing or fails.
QList<PdfWord> pdfWords(const QString& pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression re(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PdfWord> words;
    int page = 0;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        words.append({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                      m.captured(4).toDouble(), m.captured(5)});
    }
    return words;
}

const PdfWord* findWord(const QList<PdfWord>& words, int page, const QString& text, int occurrence = 0)
{
    for (const PdfWord& w : words) {
        if (w.page == page && w.text == text && occurrence-- == 0)
            return &w;
    }
    return nullptr;
}

}  // namespace

class TestPrint : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void pagination_data();
    void pagination();
    void channelSlots_data();
    void channelSlots();
    void channelRows_data();
    void channelRows();
    void optionsPage_data();
    void optionsPage();
    void linesAndFooter();
    void measures();
    void textsFromSettings();
    void renderedPdf();

    void viewPreparation();
    void parseSwitches_data();
    void parseSwitches();
    void printRequest();
};

void TestPrint::initTestCase()
{
    QVERIFY(LanguageModule::load(QStringLiteral("English"), QStringLiteral(KQ517_PROGRAM_DIR)));
}

void TestPrint::pagination_data()
{
    QTest::addColumn<Channels>("channels");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("bound3");
    QTest::addColumn<int>("bound4");

    QTest::newRow("none") << Channels{} << 0 << 1 << 16 << 16;
    QTest::newRow("one") << Channels{16} << 1 << 2 << 16 << 16;
    QTest::newRow("1, 3, 16") << Channels{1, 3, 16} << 3 << 2 << 16 << 16;
    QTest::newRow("exactly 8") << Channels{1, 2, 3, 4, 5, 6, 7, 8} << 8 << 2 << 8 << 16;
    QTest::newRow("8 even ones") << Channels{2, 4, 6, 8, 10, 12, 14, 16} << 8 << 2 << 16 << 16;
    QTest::newRow("9") << Channels{1, 2, 3, 4, 5, 6, 7, 8, 9} << 9 << 3 << 8 << 16;
    QTest::newRow("12") << Channels{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12} << 12 << 3 << 8 << 16;
    QTest::newRow("12 scattered") << Channels{3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 15, 16} << 12 << 3 << 11 << 16;
    QTest::newRow("all 16") << Channels{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16} << 16 << 3 << 8
                            << 16;
}

void TestPrint::pagination()
{
    QFETCH(Channels, channels);
    ChannelTable table = tableWith(channels);
    // Only the receive frequency counts: a transmit frequency alone is no channel.
    if (!channels.contains(10))
        table.setCell(10, ChannelTable::ColTx, QStringLiteral("150.00000"));

    const ReportPagination pages = ReportPagination::paginate(table);
    QTEST(pages.channelCount, "count");
    QTEST(pages.pageCount(), "pages");
    QCOMPARE(pages.bound[2], 0);
    QTEST(pages.bound[3], "bound3");
    QTEST(pages.bound[4], "bound4");
}

void TestPrint::channelSlots_data()
{
    QTest::addColumn<Channels>("channels");
    QTest::addColumn<int>("page");
    QTest::addColumn<Channels>("shown");  // channel numbers in slots 0, 1, ...

    QTest::newRow("1, 3, 16") << Channels{1, 3, 16} << 2 << Channels{1, 3, 16};
    QTest::newRow("8 on page 2") << Channels{1, 2, 3, 4, 5, 6, 7, 8} << 2 << Channels{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("12, page 2") << Channels{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12} << 2
                                << Channels{1, 2, 3, 4, 5, 6, 7, 8};
    QTest::newRow("12, page 3") << Channels{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12} << 3
                                << Channels{9, 10, 11, 12};
    QTest::newRow("scattered 10, page 2") << Channels{1, 2, 3, 5, 7, 9, 11, 13, 15, 16} << 2
                                          << Channels{1, 2, 3, 5, 7, 9, 11, 13};
    QTest::newRow("scattered 10, page 3") << Channels{1, 2, 3, 5, 7, 9, 11, 13, 15, 16} << 3
                                          << Channels{15, 16};
    QTest::newRow("all 16, page 3") << Channels{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16} << 3
                                    << Channels{9, 10, 11, 12, 13, 14, 15, 16};
    QTest::newRow("no channels") << Channels{} << 2 << Channels{};
    QTest::newRow("page beyond the bounds") << Channels{1, 2, 3, 4, 5, 6, 7, 8, 9} << 4 << Channels{};
}

void TestPrint::channelSlots()
{
    QFETCH(Channels, channels);
    QFETCH(int, page);
    QFETCH(Channels, shown);

    const ReportPrinter report(tableWith(channels), MemoryImage::newImage(), english());
    const ReportMeasures m = roundMeasures();
    const QList<ReportItem> items = report.pageItems(page, 3, m);

    QList<QPair<int, int>> expected;
    for (int slot = 0; slot < shown.size(); ++slot)
        expected.append({shown.at(slot), slot});
    QCOMPARE(headings(items, m.line2), expected);

    const ReportItem* title = findText(items, QStringLiteral("Channel"));
    QVERIFY(title);
    QVERIFY(title->largeFont);
    QCOMPARE(title->x, 600);
    QCOMPARE(title->y, -300);
    // Nothing of the options page on a channel page.
    QVERIFY(!findText(items, QStringLiteral("Option")));
}

void TestPrint::channelRows_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QStringList>("labels");  // heading, Rx, Tx, decode, encode, busy
    QTest::newRow("English") << false
                             << QStringList{"Channel 7:", "Receive Frequency:", "Transceive Frequency:",
                                            "QT/DQT Decode:", "QT/DQT Encode:", "Busy Lock:"};
    QTest::newRow("Chinese") << true
                             << QStringList{"信道7:", "接收频率:", "发射频率", "QT/DQT解码:", "QT/DQT编码:",
                                            "繁忙锁定:"};
}

void TestPrint::channelRows()
{
    QFETCH(bool, chinese);
    QFETCH(QStringList, labels);

    // Channel 7 lands in slot 1 (after channel 2): d = 1.
    ChannelTable table;
    table.setCell(2, ChannelTable::ColRx, QStringLiteral("145.00000"));
    setCells(table, 7, {"136.12500", "137.00000", "D754I", "254.1", "No"});
    const ReportPrinter::Texts texts = textsIn(chinese);
    const ReportPrinter report(table, MemoryImage::newImage(), texts);
    const QList<ReportItem> items = report.pageItems(2, 2, roundMeasures());

    struct Expect {
        QString text;
        int x;
        int y;
    };
    const int L2 = 240;
    const QList<Expect> expected = {
        {labels[0], 400, -9 * L2},          {labels[1], 500, -10 * L2},      {"136.12500", 2200, -10 * L2},
        {labels[2], 3600, -10 * L2},        {"137.00000", 5500, -10 * L2},   {labels[3], 500, -11 * L2},
        {"D754I", 2200, -11 * L2},          {labels[4], 3600, -11 * L2},     {"254.1", 5500, -11 * L2},
        {labels[5], 500, -12 * L2},         {"No", 2200, -12 * L2},
    };
    for (const Expect& e : expected) {
        const auto at = std::find_if(items.cbegin(), items.cend(), [&e](const ReportItem& item) {
            return item.kind == ReportItem::Text && item.text == e.text && item.y == e.y;
        });
        QVERIFY2(at != items.cend(), qPrintable(e.text));
        QCOMPARE(at->x, e.x);
        QVERIFY(!at->largeFont);
    }
    QVERIFY(findText(items, chinese ? QStringLiteral("信道") : QStringLiteral("Channel")));
}

void TestPrint::optionsPage_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QByteArray>("row");  // beep, squelch, time-out, tx power
    QTest::addColumn<QStringList>("values");

    QTest::newRow("new document") << false << QByteArray("\x01\x04\x02\x0C", 4)
                                  << QStringList{"60", "Enable", "4", "4"};
    QTest::newRow("90 s, FE beep") << false << QByteArray("\xFE\x00\x03\x0E", 4)
                                   << QStringList{"90", "Disable", "0", "4"};
    QTest::newRow("off") << false << QByteArray("\x03\x09\x00\x02", 4) << QStringList{"Off", "Enable", "9", "0"};
    QTest::newRow("blank bytes") << false << QByteArray("\xFF\xFF\xFF\xFF", 4)
                                 << QStringList{"7650", "Enable", "255", "85"};
    QTest::newRow("Chinese") << true << QByteArray("\x00\x04\x00\x0C", 4) << QStringList{"关", "关", "4", "4"};
    QTest::newRow("Chinese enabled") << true << QByteArray("\x01\x04\x0A\x0C", 4)
                                     << QStringList{"300", "开", "4", "4"};
}

void TestPrint::optionsPage()
{
    QFETCH(bool, chinese);
    QFETCH(QByteArray, row);
    QFETCH(QStringList, values);

    MemoryImage image = MemoryImage::newImage();
    image.set(layout::kBeep, std::uint8_t(row[0]));
    image.set(layout::kSquelchLevel, std::uint8_t(row[1]));
    image.set(layout::kTimeOutTimer, std::uint8_t(row[2]));
    image.set(layout::kTxPower, std::uint8_t(row[3]));
    const ReportPrinter::Texts texts = textsIn(chinese);
    // Channels in the table do not appear on page 1.
    const ReportPrinter report(tableWith({1, 2}), image, texts);
    const QList<ReportItem> items = report.pageItems(1, 2, roundMeasures());

    const QStringList labels = chinese ? QStringList{"超时定时器:", "警告:", "静噪电平:", "发射功率:"}
                                       : QStringList{"Time Out Time:", "Warnning:", "Squelch Level:", "Tx Power:"};
    const int L2 = 240;
    const ReportItem* title = findText(items, chinese ? QStringLiteral("可选功能") : QStringLiteral("Option"));
    QVERIFY(title);
    QVERIFY(title->largeFont);
    QCOMPARE(title->x, 600);
    QCOMPARE(title->y, -300);
    const ReportItem* function = findText(items, chinese ? QStringLiteral("功能") : QStringLiteral("Function"));
    QVERIFY(function);
    QCOMPARE(function->x, 600);
    QCOMPARE(function->y, -4 * L2);
    QVERIFY(!function->largeFont);

    for (int i = 0; i < labels.size(); ++i) {
        const int y = -(5 + i) * L2;
        const ReportItem* label = findText(items, labels[i]);
        QVERIFY2(label, qPrintable(labels[i]));
        QCOMPARE(label->x, 900);
        QCOMPARE(label->y, y);
        // The value is the small-font text at 35u on the same line.
        QString value;
        for (const ReportItem& item : items) {
            if (item.kind == ReportItem::Text && item.x == 3500 && item.y == y)
                value = item.text;
        }
        QCOMPARE(value, values[i]);
    }
    QVERIFY(headings(items, L2).isEmpty());
}

void TestPrint::linesAndFooter()
{
    const ReportPrinter report(tableWith({1, 2, 3, 4, 5, 6, 7, 8, 9}), MemoryImage::newImage(),
                               english(QStringLiteral("Radio Team")));
    const ReportMeasures m = roundMeasures();
    for (int page = 1; page <= 3; ++page) {
        const QList<ReportItem> items = report.pageItems(page, 3, m);
        QList<int> lineYs;
        for (const ReportItem& item : items) {
            if (item.kind != ReportItem::Line)
                continue;
            QCOMPARE(item.x, 500);
            QCOMPARE(item.x2, 6000);
            lineYs << item.y;
        }
        // -(2 L1 + 50), -(2 L1 + 120), L1 / 2 - 36 L1
        QCOMPARE(lineYs, (QList<int>{-650, -720, 150 - 10800}));

        const ReportItem* owner = findText(items, QStringLiteral("Radio Team"));
        QVERIFY(owner);
        QCOMPARE(owner->x, 1000);
        QCOMPARE(owner->y, -10800);
        QVERIFY(!owner->largeFont);
        const ReportItem* number = findText(items, QStringLiteral("Page %1 of 3").arg(page));
        QVERIFY(number);
        QCOMPARE(number->x, 4500);
        QCOMPARE(number->y, -10800);
        QVERIFY(!number->largeFont);
    }

    // Nothing to list: the one page says so.
    const ReportPrinter empty(ChannelTable(), MemoryImage::newImage(), english());
    QCOMPARE(empty.paginate().pageCount(), 1);
    QVERIFY(findText(empty.pageItems(1, 1, m), QStringLiteral("Page 1 of 1")));
}

void TestPrint::measures()
{
    QImage device(100, 100, QImage::Format_RGB32);
    const ReportMeasures m = ReportMeasures::forArea(11000, 15750, &device);
    QCOMPARE(m.unit, 166);  // 11000 / 66
    QCOMPARE(m.large.pixelSize(), 350);  // 15750 / 45
    QCOMPARE(m.small.pixelSize(), 280);  // 350 x 0.8
    QCOMPARE(m.large.italic(), false);
    QCOMPARE(m.large.weight(), QFont::Normal);
    QVERIFY(m.line1 >= 350);
    QVERIFY(m.line2 >= 280);
    QVERIFY(m.line2 < m.line1);

    // The printable area of a device in twips.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    const ReportMeasures a4 = ReportMeasures::forDevice(&printer);
    // A4 is 595 x 842 points to Qt; a point is 20 twips.
    const QRectF sheet = printer.pageLayout().fullRectPoints();
    QCOMPARE(sheet.size(), QSizeF(595, 842));
    QVERIFY2(qAbs(a4.width - 11900) <= 2, qPrintable(QString::number(a4.width)));
    QVERIFY2(qAbs(a4.height - 16840) <= 2, qPrintable(QString::number(a4.height)));
    QCOMPARE(a4.unit, a4.width / 66);
}

void TestPrint::textsFromSettings()
{
    TempProgramDir dir;
    QVERIFY(dir.writeSettings("[Setup]\nLanguage=Chinese\n[English]\nCopyrights Owner=EN Owner\n"
                              "[Chinese]\nCopyrights Owner=中文所有者\n"));
    QVERIFY(dir.openSettingsAndLanguage(false));
    // The labels follow the loaded module, the owner the language's section.
    QVERIFY(LanguageModule::load(QStringLiteral("Chinese"), QStringLiteral(KQ517_PROGRAM_DIR)));
    ReportPrinter::Texts texts = ReportPrinter::textsFromSettings();
    QCOMPARE(texts.channel, QStringLiteral("信道"));
    QCOMPARE(texts.copyrightsOwner, QStringLiteral("中文所有者"));

    QVERIFY(LanguageModule::load(QStringLiteral("English"), QStringLiteral(KQ517_PROGRAM_DIR)));
    g_strLanguage = QStringLiteral("English");
    g_bChinese = false;
    texts = ReportPrinter::textsFromSettings();
    QCOMPARE(texts.channel, QStringLiteral("Channel"));
    QCOMPARE(texts.copyrightsOwner, QStringLiteral("EN Owner"));

    g_strLanguage = QStringLiteral("Klingon");
    QCOMPARE(ReportPrinter::textsFromSettings().copyrightsOwner, QString());
}

void TestPrint::renderedPdf()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed");
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);  // the printable area is the sheet: twips / 20 = points from its corner

    const ReportPrinter report(tableWith({4, 9, 10}), MemoryImage::newImage(), english(QStringLiteral("Owner")));
    const ReportMeasures m = ReportMeasures::forDevice(&printer);
    QVERIFY(report.print(printer, report.paginate().pageCount()));

    const QList<PdfWord> words = pdfWords(pdf);
    QVERIFY(!words.isEmpty());
    QCOMPARE(words.last().page, 2);

    const double u = m.unit / 20.0;
    const double l1 = m.line1 / 20.0;
    const double l2 = m.line2 / 20.0;
    const double tolerance = l2 * 0.35;

    // Text hangs below its point: the word box starts at the point.
    const PdfWord* option = findWord(words, 1, QStringLiteral("Option"));
    QVERIFY(option);
    QVERIFY2(qAbs(option->xMin - 6 * u) < 2.0, qPrintable(QString::number(option->xMin)));
    QVERIFY2(qAbs(option->yMin - l1) < tolerance, qPrintable(QString::number(option->yMin)));

    const PdfWord* squelch = findWord(words, 1, QStringLiteral("Squelch"));
    QVERIFY(squelch);
    QVERIFY(qAbs(squelch->xMin - 9 * u) < 2.0);
    QVERIFY(qAbs(squelch->yMin - 7 * l2) < tolerance);

    for (int page = 1; page <= 2; ++page) {
        const PdfWord* pageWord = findWord(words, page, QStringLiteral("Page"));
        QVERIFY(pageWord);
        QVERIFY(qAbs(pageWord->xMin - 45 * u) < 2.0);
        QVERIFY(qAbs(pageWord->yMin - 36 * l1) < tolerance);
        QVERIFY(findWord(words, page, QString::number(page)));
        QVERIFY(findWord(words, page, QStringLiteral("Owner")));
    }

    // Page 2: channels 4, 9 and 10 in slots 0, 1 and 2, top to bottom.
    double lastY = 0;
    for (int slot = 0; slot < 3; ++slot) {
        const QString number = QStringLiteral("%1:").arg(QList<int>{4, 9, 10}.at(slot));
        const PdfWord* heading = findWord(words, 2, number);
        QVERIFY2(heading, qPrintable(number));
        QVERIFY(qAbs(heading->yMin - (5 * slot + 4) * l2) < tolerance);
        QVERIFY(heading->yMin > lastY);
        lastY = heading->yMin;
    }
    QVERIFY(findWord(words, 2, QStringLiteral("110.12500")));
    const PdfWord* freq = findWord(words, 2, QStringLiteral("104.12500"));
    QVERIFY(freq);
    QVERIFY(qAbs(freq->xMin - 22 * u) < 2.0);
}

void TestPrint::viewPreparation()
{
    TempUserStore store;
    TempProgramDir dir;
    QVERIFY(dir.copyDefaultSettings());
    QVERIFY(dir.openSettingsAndLanguage(false));

    CKQ_517Doc doc;
    doc.image().resetToNew();
    CKQ_517View view(&doc);
    view.OnInitialUpdate();
    for (int c = 1; c <= 10; ++c)
        putChannel(doc, c, {QStringLiteral("145.00000")});
    QCOMPARE(view.OnPreparePrinting(), 3);
    QCOMPARE(view.m_nChannelCount, 10);
    QCOMPARE(view.m_nPageBound[3], 8);
    QCOMPARE(view.m_nPageBound[4], 16);

    // Emptied cells: the next preparation starts afresh.
    for (int c : {1, 2, 4, 5, 7})
        putChannel(doc, c, {});
    QCOMPARE(view.OnPreparePrinting(), 2);
    QCOMPARE(view.m_nChannelCount, 5);
    QCOMPARE(view.m_nPageBound[3], 16);
    QCOMPARE(view.m_nPageBound[4], 16);

    const ReportPrinter report(view.channelTable(), doc.image(), english());
    QCOMPARE(headings(report.pageItems(2, 2, roundMeasures()), 240),
             (QList<QPair<int, int>>{{3, 0}, {6, 1}, {8, 2}, {9, 3}, {10, 4}}));
}

void TestPrint::parseSwitches_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("printer");

    QTest::newRow("none") << QStringList{} << false << "" << "";
    QTest::newRow("file only") << QStringList{"a.dat"} << false << "" << "";
    QTest::newRow("/p") << QStringList{"/p", "a.dat"} << true << "a.dat" << "";
    QTest::newRow("-p") << QStringList{"-p", "b.dat"} << true << "b.dat" << "";
    QTest::newRow("/P") << QStringList{"/P", "c.dat"} << true << "c.dat" << "";
    QTest::newRow("/pt") << QStringList{"/pt", "a.dat", "Office Laser", "winspool", "LPT1:"} << true << "a.dat"
                         << "Office Laser";
    QTest::newRow("-pt to pdf") << QStringList{"-pt", "a.dat", "/tmp/out.pdf"} << true << "a.dat"
                                << "/tmp/out.pdf";
    QTest::newRow("/p without file") << QStringList{"/p"} << true << "" << "";
    QTest::newRow("file before /p") << QStringList{"a.dat", "/p"} << true << "a.dat" << "";
    QTest::newRow("file before /pt") << QStringList{"a.dat", "-PT", "Office Laser"} << true << "a.dat"
                                     << "Office Laser";
    QTest::newRow("/p names no printer") << QStringList{"/p", "a.dat", "Office Laser"} << true << "a.dat" << "";
    QTest::newRow("other switch") << QStringList{"/dde", "a.dat"} << false << "" << "";
}

void TestPrint::parseSwitches()
{
    QFETCH(QStringList, args);
    const PrintRequest request = parsePrintSwitches(args);
    QTEST(request.present, "present");
    QTEST(request.file, "file");
    QTEST(request.printer, "printer");
}

void TestPrint::printRequest()
{
    TempUserStore store;
    TempProgramDir dir;
    QVERIFY(dir.copyDefaultSettings());
    QVERIFY(dir.openSettingsAndLanguage(false));

    CKQ_517Doc doc;
    doc.image().resetToNew();
    CKQ_517View view(&doc);
    view.OnInitialUpdate();
    for (int c : {2, 5, 6, 7, 8, 11, 12, 13, 16})
        putChannel(doc, c, {QStringLiteral("145.00000")});

    PrintRequest request;
    request.present = true;
    request.file = QStringLiteral("radio.dat");
    request.printer = dir.filePath(QStringLiteral("Report.PDF"));
    QString error;
    QVERIFY2(runPrintRequest(&view, request, &error), qPrintable(error));
    QVERIFY(QFileInfo(request.printer).size() > 0);

    const QList<PdfWord> words = pdfWords(request.printer);
    if (!words.isEmpty()) {
        QCOMPARE(words.last().page, 3);
        QVERIFY(findWord(words, 3, QStringLiteral("16:")));
        QVERIFY(findWord(words, 1, QStringLiteral("Team")));  // "KQ-517 Radio Team"
    }

    // A folder that does not exist cannot take the file.
    request.printer = dir.filePath(QStringLiteral("missing/out.pdf"));
    error.clear();
    QVERIFY(!runPrintRequest(&view, request, &error));
    QVERIFY(!error.isEmpty());

    request.printer = QStringLiteral("No Such Printer 517");
    error.clear();
    QVERIFY(!runPrintRequest(&view, request, &error));
    QVERIFY(error.contains(QStringLiteral("No Such Printer 517")));

    error.clear();
    QVERIFY(!runPrintRequest(nullptr, request, &error));
    QVERIFY(!error.isEmpty());

    // "/p" without a file has nothing to print: no empty report.
    request.file.clear();
    request.printer = dir.filePath(QStringLiteral("nofile.pdf"));
    error.clear();
    QVERIFY(!runPrintRequest(&view, request, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFileInfo::exists(request.printer));
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
