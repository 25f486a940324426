// Programming in the field from the program, end to end against the
// simulated radio on a pseudo-terminal: the writing options and their dialog,
// a write with backup, verify and trace, the image check before a write,
// several radios in a row, COM Setup's device mapping and the texts shown.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QtTest>

#include <memory>

#include "codeplug/ImageCheck.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "link/PortNames.h"
#include "link/SerialBytePort.h"
#include "link/ui/FieldTexts.h"
#include "link/ui/ProcessDlg.h"
#include "link/ui/SeveralRadiosDlg.h"
#include "settings/FieldPreferences.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/UserStore.h"
#include "settings/ui/FieldOptionsDlg.h"
#include "settings/ui/AppMessage.h"
#include "settings/ui/HelpLauncher.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/ui/LanguageModule.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/RadioViewFixture.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TestPty.h"
#include "tests/support/TestSupport.h"
#include "texts/FieldReasons.h"
#include "view/KQ_517View.h"
#include "view/MSFlexGrid.h"

namespace {

// The Chinese module's string table, as the program makes it active.
const texts::TextTable& chineseTable()
{
    static const texts::TextTable table = moduleTable(QStringLiteral("Chinese"));
    return table;
}

// The radio's memory before the write: channel 1 and 16 in use, model 1.
MemoryImage radioImage()
{
    MemoryImage image = MemoryImage::newImage();
    std::uint8_t* ch1 = image.channel(1);
    putFrequency(ch1 + layout::channel::kRxFrequency, 14512500);
    putFrequency(ch1 + layout::channel::kTxFrequency, 14600000);
    std::uint8_t* ch16 = image.channel(16);
    putFrequency(ch16 + layout::channel::kRxFrequency, 14700000);
    putFrequency(ch16 + layout::channel::kTxFrequency, 14700000);
    return image;
}

QStringList datFiles(const QString& dir)
{
    return QDir(dir).entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name);
}

}  // namespace

class TestFieldUi : public QObject, public RadioViewFixture {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // Setup > Options
    void optionsOffByDefaultAndKeptPerUser();
    void optionsRefuseMissingFolder();
    void optionsF1Help();

    // Program > Write with the options
    void writeWithBackupVerifyAndTrace();
    void droppedBlockFailsVerifyByName_data();
    void droppedBlockFailsVerifyByName();
    void plainWriteMakesNoBackup();
    void backupFailureWritesNothing_data();
    void backupFailureWritesNothing();
    void processDialogNamesPort();
    void processDialogShowsTheWholePortLine();

    // The image check before a write
    void imageCheckQuestion_data();
    void imageCheckQuestion();
    void imageProblemsInChinese_data();
    void imageProblemsInChinese();

    // Program > Write to Several Radios
    void severalRadiosThreeInARow_data();
    void severalRadiosThreeInARow();
    void severalRadiosRefusedDuringTransfer();

    // COM Setup
    void comSetupMapsNameToDevice();
    void comSetupCancelKeepsMappings();
    void comSetupEnvironmentSaysSoUntilTheUserMaps();
    void comSetupBusyReasonInChinese();

    // Texts
    void openReasonsInChinese();
    void readPortOpenFailureInChinese();

private:
    void setUp(const QMap<QString, QString>& ports);
    // The interface language as the program sets it: the flag and the module.
    void useChinese(bool chinese);
    void setOptions(const FieldPreferences& prefs);
    // Puts a channel 1 into the grid that differs from radioImage()'s.
    void editChannelOne();

};

void TestFieldUi::initTestCase()
{
    HelpLauncher::setLaunchEnabled(false);
    setAppName(QStringLiteral("KQ-517 Programmer"));
}

void TestFieldUi::init()
{
    g_bChinese = false;
    HelpLauncher::clearRequests();
}

void TestFieldUi::cleanup() { tearDownView(); }

void TestFieldUi::setUp(const QMap<QString, QString>& ports)
{
    QVERIFY(setUpView(ports));
}

void TestFieldUi::useChinese(bool chinese)
{
    g_bChinese = chinese;
    LanguageModule::unload();
    QVERIFY(LanguageModule::load(chinese ? QStringLiteral("Chinese") : QStringLiteral("English"),
                                 QStringLiteral(KQ517_PROGRAM_DIR)));
}

void TestFieldUi::setOptions(const FieldPreferences& prefs)
{
    UserStore store = UserStore::fromSettings();
    prefs.save(store);
}

void TestFieldUi::editChannelOne()
{
    const QStringList cells = {QStringLiteral("150.00000"), QStringLiteral("151.00000"), QStringLiteral("None"),
                               QStringLiteral("None"), QStringLiteral("Yes")};
    putChannel(*m_view->GetDocument(), 1, cells);
}

// ---------------------------------------------------------------------------
// Setup > Options

void TestFieldUi::optionsOffByDefaultAndKeptPerUser()
{
    setUp({});
    QTemporaryDir tmp;
    const QString folder = tmp.filePath(QStringLiteral("backups \"quoted\" \\ here"));
    const QString trace = tmp.filePath(QStringLiteral("trace.txt"));

    QList<bool> defaults;
    {
        ModalAnswerer runner(ModalAnswerer::OtherDialogs);
        runner.answerOnce();
        runner.onDialog([&](QDialog* dialog) {
            for (int id : {CFieldOptionsDlg::IDC_BACKUP, CFieldOptionsDlg::IDC_VERIFY, CFieldOptionsDlg::IDC_TRACE})
                defaults << dialog->findChild<QCheckBox*>(QStringLiteral("id%1").arg(id))->isChecked();
            // The folder is chosen with Browse..., the file typed.
            auto* options = qobject_cast<CFieldOptionsDlg*>(dialog);
            QVERIFY(options);
            options->browse = [&](bool isFolder, const QString&) { return isFolder ? folder : QString(); };
            dialog->findChild<QCheckBox*>(QStringLiteral("id1201"))->click();
            dialog->findChild<QPushButton*>(QStringLiteral("id1203"))->click();
            dialog->findChild<QCheckBox*>(QStringLiteral("id1204"))->click();
            dialog->findChild<QCheckBox*>(QStringLiteral("id1205"))->click();
            dialog->findChild<QLineEdit*>(QStringLiteral("id1206"))->setText(trace);
            dialog->findChild<QPushButton*>(QStringLiteral("id1"))->click();
        });
        m_view->OnCommand(CKQ_517View::ID_SETUP_OPTIONS);
        QCOMPARE(runner.count(), 1);
    }
    QCOMPARE(defaults, (QList<bool>{false, false, false}));

    // Kept in the user's store, read back by a new load (a new program run).
    const FieldPreferences kept = FieldPreferences::load(UserStore::fromSettings());
    QVERIFY(kept.backup && kept.verify && kept.trace);
    QCOMPARE(kept.backupFolder, folder);
    QCOMPARE(kept.traceFile, trace);
    QVERIFY2(QFile(UserStore::fromSettings().location()).exists(), "kept in the per-user store file");

    // Shown again next time; Cancel after changes keeps what was there.
    QList<bool> shown;
    QString shownFolder;
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([&](QDialog* dialog) {
        for (int id : {1201, 1204, 1205})
            shown << dialog->findChild<QCheckBox*>(QStringLiteral("id%1").arg(id))->isChecked();
        shownFolder = dialog->findChild<QLineEdit*>(QStringLiteral("id1202"))->text();
        dialog->findChild<QCheckBox*>(QStringLiteral("id1204"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("id2"))->click();
    });
    m_view->OnCommand(CKQ_517View::ID_SETUP_OPTIONS);
    QCOMPARE(shown, (QList<bool>{true, true, true}));
    QCOMPARE(QDir::fromNativeSeparators(shownFolder), folder);
    QCOMPARE(FieldPreferences::load(UserStore::fromSettings()), kept);
}

void TestFieldUi::optionsRefuseMissingFolder()
{
    setUp({});
    bool stayedOpen = false;
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([&](QDialog* dialog) {
        dialog->findChild<QCheckBox*>(QStringLiteral("id1201"))->click();
        // No folder given: the warning comes up (answered by boxes) and the dialog stays.
        dialog->findChild<QPushButton*>(QStringLiteral("id1"))->click();
        stayedOpen = dialog->isVisible();
    });
    m_view->OnCommand(CKQ_517View::ID_SETUP_OPTIONS);
    QVERIFY(stayedOpen);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.last().text, QStringLiteral("Choose the folder for the backups."));
    QVERIFY(!FieldPreferences::load(UserStore::fromSettings()).backup);
}

void TestFieldUi::optionsF1Help()
{
    setUp({});
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([](QDialog* dialog) {
        QTest::keyClick(dialog->findChild<QLineEdit*>(QStringLiteral("id1206")), Qt::Key_F1);
        dialog->reject();
    });
    m_view->OnCommand(CKQ_517View::ID_SETUP_OPTIONS);
    QCOMPARE(HelpLauncher::requests().size(), 1);
    QCOMPARE(HelpLauncher::requests().at(0).context, int(CKQ_517View::ID_SETUP_OPTIONS));
}

// ---------------------------------------------------------------------------
// Program > Write with the options

void TestFieldUi::writeWithBackupVerifyAndTrace()
{
    QTemporaryDir tmp;
    const QString savePath = tmp.filePath(QStringLiteral("saved.dat"));
    const QString backups = tmp.filePath(QStringLiteral("backups"));
    const QString tracePath = tmp.filePath(QStringLiteral("trace.txt"));
    const MemoryImage radio = radioImage();
    SimProcess sim;
    QVERIFY(setUpRadio(sim, tmp, radio, {"--save", savePath, "--baud", "0"}));
    setOptions({.backup = true, .backupFolder = backups, .verify = true, .trace = true, .traceFile = tracePath});
    editChannelOne();

    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramWrite();
    QPointer<QDialog> window = m_view->m_pProcessDlg->window();
    QVERIFY(pressOkAndRun());
    QVERIFY2(watcher.seen().isEmpty(), qPrintable(watcher.last().text));
    // The last step shown was the verify.
    QVERIFY(window);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("stepLine"))->text(), QStringLiteral("Verifying..."));

    // The backup holds the radio's memory from before the write.
    const QStringList files = datFiles(backups);
    QCOMPARE(files.size(), 1);
    MemoryImage backup;
    QVERIFY(backup.loadFile(QDir(backups).filePath(files.first())));
    QCOMPARE(radioBytes(backup), radioBytes(radio));

    // The radio holds the document, channel 1 edited.
    sim.stop();
    MemoryImage saved;
    QVERIFY(saved.loadFile(savePath));
    QCOMPARE(radioBytes(saved), radioBytes(m_doc->image()));
    QVERIFY(radioBytes(saved) != radioBytes(radio));

    // The trace has both directions, from three port openings (backup, write, verify).
    QFile trace(tracePath);
    QVERIFY(trace.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = trace.readAll().split('\n');
    int toRadio = 0, fromRadio = 0;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 3)
            continue;
        toRadio += fields.at(1) == ">";
        fromRadio += fields.at(1) == "<";
    }
    QVERIFY2(toRadio > 3 * layout::kRadioRowCount, qPrintable(QString::number(toRadio)));
    QVERIFY(fromRadio > 0);
}

void TestFieldUi::droppedBlockFailsVerifyByName_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("message");
    QTest::newRow("english") << false
                             << QStringLiteral("verify: 1 block read back differs from what was written: 0x010 (channel 1)");
    QTest::newRow("chinese") << true << QStringLiteral("校验：1 个数据块读回的内容与写入的不同：0x010（信道 1）");
}

void TestFieldUi::droppedBlockFailsVerifyByName()
{
    QFETCH(bool, chinese);
    QFETCH(QString, message);
    QTemporaryDir tmp;
    SimProcess sim;
    QVERIFY(setUpRadio(sim, tmp, radioImage(), {"--baud", "0", "--drop-write-at", "2"}));
    FieldPreferences prefs;
    prefs.verify = true;
    setOptions(prefs);
    editChannelOne();
    useChinese(chinese);

    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramWrite();
    QVERIFY(pressOkAndRun());
    QCOMPARE(watcher.texts(), QStringList{message});
    QCOMPARE(watcher.last().icon, QMessageBox::Warning);
    QVERIFY(!m_view->isTransferRunning());
}

void TestFieldUi::plainWriteMakesNoBackup()
{
    // Options off (the default): nothing but the write itself.
    QTemporaryDir tmp;
    const QString savePath = tmp.filePath(QStringLiteral("saved.dat"));
    SimProcess sim;
    QVERIFY(setUpRadio(sim, tmp, radioImage(), {"--save", savePath, "--baud", "0", "--drop-write-at", "2"}));
    FieldPreferences prefs;
    prefs.backupFolder = tmp.filePath(QStringLiteral("backups"));  // folder known, option off
    setOptions(prefs);
    editChannelOne();
    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramWrite();
    QPointer<QDialog> window = m_view->m_pProcessDlg->window();
    QVERIFY(pressOkAndRun());
    // No verify: the dropped block goes unnoticed, as without the option.
    QVERIFY2(watcher.seen().isEmpty(), qPrintable(watcher.last().text));
    QVERIFY(!QDir(prefs.backupFolder).exists());
    QVERIFY(window);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("stepLine"))->text(), QString());
}

void TestFieldUi::backupFailureWritesNothing_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("message");  // %1: the folder
    QTest::newRow("english") << false << QStringLiteral("backup: cannot create the folder %1");
    QTest::newRow("chinese") << true << QStringLiteral("备份：无法创建文件夹 %1");
}

void TestFieldUi::backupFailureWritesNothing()
{
    QFETCH(bool, chinese);
    QFETCH(QString, message);
    QTemporaryDir tmp;
    const QString savePath = tmp.filePath(QStringLiteral("saved.dat"));
    // The backup folder would have to be made inside a plain file.
    QFile blocker(tmp.filePath(QStringLiteral("file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = tmp.filePath(QStringLiteral("file/backups"));
    SimProcess sim;
    QVERIFY(setUpRadio(sim, tmp, radioImage(), {"--save", savePath, "--baud", "0"}));
    FieldPreferences prefs;
    prefs.backup = true;
    prefs.backupFolder = folder;
    setOptions(prefs);
    editChannelOne();
    useChinese(chinese);
    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramWrite();
    QVERIFY(pressOkAndRun());
    QCOMPARE(watcher.texts(), QStringList{message.arg(folder)});
    sim.stop();
    QVERIFY(!QFile::exists(savePath));  // the write never started
}

void TestFieldUi::processDialogNamesPort()
{
    TestPty com2;
    setUp({{QStringLiteral("COM2"), com2.path()}});
    m_view->m_strPort = QStringLiteral("com2");
    m_view->OnProgramRead();
    QDialog* window = m_view->m_pProcessDlg->window();
    QVERIFY(window);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("portLine"))->text(),
             QStringLiteral("Port: COM2: ") + com2.path());
    processButton(2)->click();
    useChinese(true);
    m_view->OnProgramWrite();
    QCOMPARE(m_view->m_pProcessDlg->window()->findChild<QLabel*>(QStringLiteral("portLine"))->text(),
             QStringLiteral("串口：COM2: ") + com2.path());
    processButton(2)->click();
}

// The note that the environment chose the device is longer than the line the
// form leaves for it: the line and the window grow to show all of it.
void TestFieldUi::processDialogShowsTheWholePortLine()
{
    TestPty com1, fromEnvironment;
    setUp({{QStringLiteral("COM1"), com1.path()}});
    qputenv("KQ517_COM1", fromEnvironment.path().toUtf8());
    const auto restore = qScopeGuard([] { qunsetenv("KQ517_COM1"); });
    for (const bool chinese : {false, true}) {
        useChinese(chinese);
        m_view->OnProgramRead();
        QDialog* window = m_view->m_pProcessDlg->window();
        QVERIFY(window);
        auto* line = window->findChild<QLabel*>(QStringLiteral("portLine"));
        QVERIFY(line);
        QVERIFY(line->text().contains(QStringLiteral("KQ517_COM1")));
        QVERIFY2(line->width() >= line->sizeHint().width(), qPrintable(line->text()));
        QVERIFY(line->geometry().right() < window->width() - line->x() / 2);
        processButton(2)->click();
    }
}

// ---------------------------------------------------------------------------
// The image check

void TestFieldUi::imageCheckQuestion_data() { addBoolRows("writeAnyway", "cancel", "write anyway"); }

void TestFieldUi::imageCheckQuestion()
{
    QFETCH(bool, writeAnyway);
    QTemporaryDir tmp;
    const QString savePath = tmp.filePath(QStringLiteral("saved.dat"));
    const QString tracePath = tmp.filePath(QStringLiteral("trace.txt"));
    SimProcess sim;
    QVERIFY(setUpRadio(sim, tmp, radioImage(), {"--save", savePath, "--baud", "0"}));
    FieldPreferences prefs;
    prefs.trace = true;
    prefs.traceFile = tracePath;
    setOptions(prefs);
    m_doc->image().set(layout::kSquelchLevel, 0x77);  // no squelch level the radio knows

    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    boxes.setAnswers({writeAnyway ? QMessageBox::Yes : QMessageBox::Cancel});
    m_view->OnProgramWrite();
    QVERIFY(pressOkAndRun());

    QCOMPARE(boxes.count(), 1);
    const QString text = boxes.last().text;
    QCOMPARE(boxes.last().buttons, QMessageBox::Yes | QMessageBox::Cancel);
    QVERIFY2(text.startsWith(QStringLiteral("The radio would not accept this:\n- ")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("squelch level")), qPrintable(text));
    QVERIFY(!m_view->m_pProcessDlg->hasWindow());
    sim.stop();
    // Cancel sends nothing: no byte in a trace, no completed write in the radio.
    QCOMPARE(QFile::exists(tracePath), writeAnyway);
    QCOMPARE(QFile::exists(savePath), writeAnyway);
}

void TestFieldUi::imageProblemsInChinese_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("chinese");
    QTest::addColumn<QString>("english");
    const int ch3 = layout::channelOffset(3);
    const QString rx = QStringLiteral("%1").arg(ch3 + layout::channel::kRxFrequency, 3, 16, QLatin1Char('0'));
    const QString tone = QStringLiteral("%1").arg(ch3 + layout::channel::kDecodeToneLow, 3, 16, QLatin1Char('0'));
    QTest::newRow("option") << layout::kSquelchLevel << 0x77
                            << QStringLiteral("静噪等级（字节 0x3c1）为 119，对讲机只接受 0 至 9")
                            << QStringLiteral("squelch level (byte 0x3c1) is 119, the radio takes 0 to 9");
    QTest::newRow("not decimal") << ch3 + layout::channel::kRxFrequency << 0xAB
                                 << QStringLiteral("信道 3：接收频率（字节 0x%1）不是十进制数").arg(rx)
                                 << QStringLiteral("channel 3: receive frequency (bytes 0x%1) is not a decimal number").arg(rx);
    QTest::newRow("outside band") << ch3 + layout::channel::kTxFrequency + 3 << 0x09
                                  << QStringLiteral("信道 3：发射频率 95.00000 MHz 超出频段 130 - 160MHz")
                                  << QStringLiteral("channel 3: transmit frequency 95.00000 MHz is outside the band 130 - 160MHz");
    QTest::newRow("tone") << ch3 + layout::channel::kDecodeToneHigh << 0x0A
                          << QStringLiteral("信道 3：解码亚音（字节 0x%1：ff 0a）不是列表中的亚音").arg(tone)
                          << QStringLiteral("channel 3: decode tone (bytes 0x%1: ff 0a) is not a listed tone").arg(tone);
}

void TestFieldUi::imageProblemsInChinese()
{
    QFETCH(int, offset);
    QFETCH(int, value);
    QFETCH(QString, chinese);
    QFETCH(QString, english);
    // Channel 3 in use at 145 MHz both ways, then one byte spoilt.
    MemoryImage image = MemoryImage::newImage();
    std::uint8_t* ch3 = image.channel(3);
    putFrequency(ch3 + layout::channel::kRxFrequency, 14500000);
    putFrequency(ch3 + layout::channel::kTxFrequency, 14500000);
    image.set(offset, std::uint8_t(value));
    ImageCheckLimits limits;
    limits.bandText = QStringLiteral("130 - 160MHz");
    limits.bandLow = 13000000;
    limits.bandHigh = 16000000;
    const QList<ImageProblem> problems = checkImage(image, limits);
    QCOMPARE(problems.size(), 1);
    QCOMPARE(texts::imageProblem(problems.first(), chineseTable()), chinese);
    QCOMPARE(texts::imageProblem(problems.first(), texts::TextTable::english()), english);
    texts::setActive(chineseTable());
    const auto english_again = qScopeGuard([] { texts::setActive(texts::TextTable::english()); });
    QVERIFY(fieldtext::imageQuestion(problems).contains(chinese));
}

// ---------------------------------------------------------------------------
// Several radios

void TestFieldUi::severalRadiosThreeInARow_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("summary");
    QTest::newRow("all done") << false << QStringList()
                              << QStringList{QStringLiteral("Radio 1: done"), QStringLiteral("Radio 2: done"),
                                             QStringLiteral("Radio 3: done")}
                              << QStringLiteral("3 radios: 3 written, 0 failed verify, 0 not written");
    // Every radio acknowledges channel 1's first block without storing it.
    const QString failed = QStringLiteral("第 %1 台对讲机：失败：校验：1 个数据块读回的内容与写入的不同：0x010（信道 1）");
    QTest::newRow("verify fails, chinese")
        << true << QStringList{QStringLiteral("--drop-write-at"), QStringLiteral("2")}
        << QStringList{failed.arg(1), failed.arg(2), failed.arg(3)} << QStringLiteral("共 3 台对讲机：已写入 0 台，校验失败 3 台，未写入 0 台");
}

void TestFieldUi::severalRadiosThreeInARow()
{
    QFETCH(bool, chinese);
    QFETCH(QStringList, faults);
    QFETCH(QStringList, listed);
    QFETCH(QString, summary);
    QTemporaryDir tmp;
    const QString savePath = tmp.filePath(QStringLiteral("saved.dat"));
    const QString backups = tmp.filePath(QStringLiteral("backups"));
    SimProcess sim;
    QVERIFY(setUpRadio(sim, tmp, radioImage(), QStringList{"--save", savePath, "--baud", "0"} + faults));
    const QString tracePath = tmp.filePath(QStringLiteral("series.trace"));
    setOptions({.backup = true, .backupFolder = backups, .verify = true, .trace = true, .traceFile = tracePath});
    editChannelOne();
    useChinese(chinese);

    // The dialog runs each write inside its own event loop: a driver that
    // looks in between (never from inside a write) presses Next radio twice,
    // then Finish, and notes what the dialog showed after each radio.
    QStringList shown;
    QStringList statusAfterEach;
    int overlaps = 0;
    int dialogsSeen = 0;
    QPointer<CSeveralRadiosDlg> seenDialog;
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    QTimer driver;
    driver.setInterval(10);
    connect(&driver, &QTimer::timeout, this, [&] {
        auto* several = qobject_cast<CSeveralRadiosDlg*>(QApplication::activeModalWidget());
        if (!several || several->isWriting() || !several->nextButton()->isEnabled())
            return;
        if (several != seenDialog) {
            seenDialog = several;
            ++dialogsSeen;
        }
        const int done = several->resultList()->count();
        if (done <= statusAfterEach.size())
            return;
        statusAfterEach << several->statusLine()->text();
        // The dialog grew with the wrapped status: nothing covers the list.
        const QRect list = several->resultList()->geometry();
        for (const QWidget* w : {static_cast<QWidget*>(several->statusLine()), static_cast<QWidget*>(several->nextButton())})
            overlaps += w->geometry().intersects(list) ? 1 : 0;
        overlaps += several->statusLine()->height() < several->statusLine()->heightForWidth(several->statusLine()->width()) ? 1 : 0;
        if (done < 3) {
            several->nextButton()->click();
            return;
        }
        for (int i = 0; i < done; ++i)
            shown << several->resultList()->item(i)->text();
        several->finishButton()->click();
    });
    driver.start();
    // Whatever goes wrong, the dialog does not stay open for ever.
    QTimer::singleShot(60000, this, [] {
        if (auto* several = qobject_cast<CSeveralRadiosDlg*>(QApplication::activeModalWidget()))
            several->finishButton()->click();
    });
    m_view->OnCommand(CKQ_517View::ID_PROGRAM_WRITE_SEVERAL);
    driver.stop();
    QCOMPARE(dialogsSeen, 1);
    QVERIFY2(boxes.seen().isEmpty(), qPrintable(boxes.last().text));
    QCOMPARE(shown, listed);
    QVERIFY2(statusAfterEach.value(2).contains(summary), qPrintable(statusAfterEach.value(2)));
    QCOMPARE(overlaps, 0);
    // Every radio was backed up before its write: three backups.
    QCOMPARE(datFiles(backups).size(), 3);
    // One trace holds the whole series: a request for each row of the
    // backup, the write and the verify of each of the three radios.
    QFile trace(tracePath);
    QVERIFY(trace.open(QIODevice::ReadOnly));
    const qsizetype toRadio = trace.readAll().count(" > ");
    QVERIFY2(toRadio >= 3 * 3 * layout::kRadioRowCount, qPrintable(QString::number(toRadio)));
    QVERIFY(!m_view->isTransferRunning());
    sim.stop();
    MemoryImage saved;
    QVERIFY(saved.loadFile(savePath));
    QCOMPARE(radioBytes(saved) == radioBytes(m_doc->image()), faults.isEmpty());
}

void TestFieldUi::severalRadiosRefusedDuringTransfer()
{
    // A read runs on the first view (its pump passes deliver the command);
    // the several-radios command must not start a second transfer.
    QTemporaryDir tmp;
    SimProcess sim;
    QVERIFY(setUpRadio(sim, tmp, radioImage(), {"--baud", "9600"}));
    int dialogsShown = 0;
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.onDialog([&](QDialog* dialog) {
        ++dialogsShown;
        dialog->reject();
    });
    bool runningWhenAsked = false;
    QTimer::singleShot(50, m_view, [&] {
        runningWhenAsked = CKQ_517View::anyTransferRunning();
        m_view->OnCommand(CKQ_517View::ID_PROGRAM_WRITE_SEVERAL);
    });
    m_view->OnProgramRead();
    QVERIFY(pressOkAndRun());
    QVERIFY(runningWhenAsked);
    QCOMPARE(dialogsShown, 0);
}

// ---------------------------------------------------------------------------
// COM Setup

void TestFieldUi::comSetupMapsNameToDevice()
{
    TestPty com1, com2;
    setUp({{QStringLiteral("COM1"), com1.path()}, {QStringLiteral("COM2"), com2.path()}});
    QString labelAfterMap;
    bool comboOffersCom2Device = false;
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([&](QDialog* dialog) {
        auto* name = dialog->findChild<QComboBox*>(QStringLiteral("mapName"));
        auto* device = dialog->findChild<QComboBox*>(QStringLiteral("mapDevice"));
        QVERIFY(name && device);
        const int index = device->findData(com2.path());
        comboOffersCom2Device = index >= 0;
        name->setCurrentIndex(3);  // COM4
        device->setCurrentIndex(index);
        dialog->findChild<QPushButton*>(QStringLiteral("mapButton"))->click();
        labelAfterMap = dialog->findChild<QLabel*>(QStringLiteral("device1010"))->text();
        dialog->findChild<QRadioButton*>(QStringLiteral("id1010"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("id1"))->click();
    });
    m_view->OnSetupCom();
    QVERIFY(comboOffersCom2Device);
    QCOMPARE(labelAfterMap, com2.path());
    QCOMPARE(m_view->m_strPort, QStringLiteral("com4"));
    // Kept in [Ports] of the settings file on disk.
    CIniFile reread(4);
    QVERIFY(reread.Open(g_settings.path(), false, false, true, false));
    QCOMPARE(QString::fromUtf8(reread.GetString("Ports", "COM4")), com2.path());
    QCOMPARE(QString::fromUtf8(reread.GetString("Ports", "COM1")), com1.path());
}

void TestFieldUi::comSetupCancelKeepsMappings()
{
    TestPty com1, com2;
    setUp({{QStringLiteral("COM1"), com1.path()}, {QStringLiteral("COM2"), com2.path()}});
    const QByteArray before = m_dir->readFile();
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([&](QDialog* dialog) {
        auto* device = dialog->findChild<QComboBox*>(QStringLiteral("mapDevice"));
        device->setCurrentIndex(device->findData(com2.path()));  // COM1 -> COM2's device
        dialog->findChild<QPushButton*>(QStringLiteral("mapButton"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("id2"))->click();
    });
    m_view->OnSetupCom();
    QCOMPARE(m_dir->readFile(), before);
    QCOMPARE(QString::fromUtf8(g_settings.GetString("Ports", "COM1")), com1.path());
}

void TestFieldUi::comSetupEnvironmentSaysSoUntilTheUserMaps()
{
    TestPty com1, fromEnvironment;
    // COM2 on the same device, so that the device list offers it whatever COM1 shows.
    setUp({{QStringLiteral("COM1"), com1.path()}, {QStringLiteral("COM2"), com1.path()}});
    qputenv("KQ517_COM1", fromEnvironment.path().toUtf8());
    const auto restore = qScopeGuard([] { qunsetenv("KQ517_COM1"); });
    const QString note = QStringLiteral("%1, from KQ517_COM1 for this run").arg(fromEnvironment.path());
    QCOMPARE(fieldtext::portLine(QStringLiteral("COM1"), PortNames::device(QStringLiteral("COM1"))),
             QStringLiteral("Port: COM1 → ") + note);

    QString labelBefore;
    QString labelAfterMap;
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([&](QDialog* dialog) {
        labelBefore = dialog->findChild<QLabel*>(QStringLiteral("device1007"))->text();
        auto* name = dialog->findChild<QComboBox*>(QStringLiteral("mapName"));
        auto* device = dialog->findChild<QComboBox*>(QStringLiteral("mapDevice"));
        name->setCurrentIndex(0);  // COM1 back to the device of the settings file
        device->setCurrentIndex(device->findData(com1.path()));
        dialog->findChild<QPushButton*>(QStringLiteral("mapButton"))->click();
        labelAfterMap = dialog->findChild<QLabel*>(QStringLiteral("device1007"))->text();
        dialog->findChild<QPushButton*>(QStringLiteral("id1"))->click();
    });
    m_view->OnSetupCom();
    QCOMPARE(runner.count(), 1);
    QCOMPARE(labelBefore, note);
    QCOMPARE(labelAfterMap, com1.path());
    // The user's mapping decides at once, for this run too.
    QCOMPARE(PortNames::device(QStringLiteral("COM1")), com1.path());
    QVERIFY(!PortNames::environmentDecides(QStringLiteral("COM1")));
    QCOMPARE(fieldtext::portLine(QStringLiteral("COM1"), com1.path()), QStringLiteral("Port: COM1: ") + com1.path());
}

void TestFieldUi::comSetupBusyReasonInChinese()
{
    TestPty com1, com2;
    setUp({{QStringLiteral("COM1"), com1.path()}, {QStringLiteral("COM2"), com2.path()}});
    useChinese(true);
    SerialBytePort holder;  // keeps COM2's device busy
    PortOpenError error;
    QVERIFY2(holder.open(com2.path(), &error), qPrintable(texts::openReason(error)));
    QString tip;
    bool enabled = true;
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([&](QDialog* dialog) {
        auto* label = dialog->findChild<QLabel*>(QStringLiteral("device1008"));
        tip = label->toolTip();
        enabled = dialog->findChild<QRadioButton*>(QStringLiteral("id1008"))->isEnabled();
        dialog->reject();
    });
    m_view->OnSetupCom();
    QVERIFY(!enabled);
    QVERIFY2(tip.startsWith(com2.path() + QStringLiteral("\n") + com2.path() + QStringLiteral("：串口正被")),
             qPrintable(tip));
}

// ---------------------------------------------------------------------------
// Texts

void TestFieldUi::openReasonsInChinese()
{
    // Reasons as the serial port gives them, on this machine.
    const texts::TextTable& english = texts::TextTable::english();
    PortOpenError missing;
    QVERIFY(!SerialBytePort::canOpen(QStringLiteral("/nonexistent/kq517-tty"), &missing));
    QCOMPARE(texts::openReason(missing, chineseTable()), QStringLiteral("/nonexistent/kq517-tty：没有这个设备"));
    QCOMPARE(texts::openReason(missing, english), QStringLiteral("/nonexistent/kq517-tty: no such device"));

    TestPty pty;
    SerialBytePort holder;
    PortOpenError error;
    QVERIFY2(holder.open(pty.path(), &error), qPrintable(texts::openReason(error)));
    PortOpenError busy;
    QVERIFY(!SerialBytePort::canOpen(pty.path(), &busy));
    const QString chinese = texts::openReason(busy, chineseTable());
    QVERIFY2(chinese.startsWith(pty.path() + QStringLiteral("：串口正被")), qPrintable(chinese));
    QVERIFY2(chinese.endsWith(QStringLiteral("占用")), qPrintable(chinese));
    QVERIFY2(!chinese.contains(QStringLiteral("busy")), qPrintable(chinese));

    const QString permission = QStringLiteral("COM1 (/dev/ttyUSB0): no permission to use the device (add the user "
                                              "to the uucp group: sudo usermod -aG uucp $USER, then log in again)");
    PortOpenError refused;
    refused.kind = PortOpenError::Kind::NoPermission;
    refused.name = QStringLiteral("COM1");
    refused.device = QStringLiteral("/dev/ttyUSB0");
    refused.group = QStringLiteral("uucp");
    QCOMPARE(texts::openReason(refused, english), permission);
    QCOMPARE(texts::openReason(refused, chineseTable()),
             QStringLiteral("COM1 (/dev/ttyUSB0)：没有使用该设备的权限（请把用户加入 uucp 组：sudo usermod -aG uucp "
                            "$USER，然后重新登录）"));
}

void TestFieldUi::readPortOpenFailureInChinese()
{
    setUp({{QStringLiteral("COM1"), QStringLiteral("/nonexistent/kq517-tty")}});
    g_bChinese = true;
    LanguageModule::unload();
    QVERIFY(LanguageModule::load(QStringLiteral("Chinese"), QStringLiteral(KQ517_PROGRAM_DIR)));
    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramRead();
    QVERIFY(pressOkAndRun());
    QCOMPARE(watcher.texts(),
             QStringList{QStringLiteral("无法打开串口，请检查串口是否被占用或设备是否正常\n"
                                        "COM1 (/nonexistent/kq517-tty)：没有这个设备")});
    QVERIFY(!m_view->m_pProcessDlg->hasWindow());
}

QTEST_MAIN(TestFieldUi)
#include "tst_fieldui.moc"
