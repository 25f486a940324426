// Radio read and write from the channel view, end to end through a real
// pseudo-terminal against the simulated radio, and the COM Setup dialog.

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSerialPort>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <memory>

#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "link/ui/ComSetupDlg.h"
#include "link/ui/ProcessDlg.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/UserStore.h"
#include "settings/ui/AppMessage.h"
#include "settings/ui/HelpLauncher.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/ui/LanguageModule.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TestPty.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/RadioViewFixture.h"
#include "tests/support/TestSupport.h"
#include "view/KQ_517View.h"
#include "view/MSFlexGrid.h"

namespace {

const QString kMismatchText =
    QStringLiteral("Becuase the type of radio does not match,\ncommunications is interrupt.");

// The radio's memory in the tests: two channels, model 2 with its second
// band, a recognisable row 0 and rows 61 to 63 that must never travel.
MemoryImage radioImage()
{
    MemoryImage image = MemoryImage::newImage();
    for (int i = 0; i < 16; ++i)
        image.set(i, std::uint8_t(0x10 + i));
    std::uint8_t* ch1 = image.channel(1);
    putFrequency(ch1 + layout::channel::kRxFrequency, 14512500);
    putFrequency(ch1 + layout::channel::kTxFrequency, 14600000);
    ch1[layout::channel::kFlags] = 0xFE;  // busy lock on
    std::uint8_t* ch16 = image.channel(16);
    putFrequency(ch16 + layout::channel::kRxFrequency, 43000000);
    putFrequency(ch16 + layout::channel::kTxFrequency, 43000000);
    ch16[layout::channel::kFlags] = 0xFF;  // busy lock off
    image.set(layout::kModelIndex, 1);
    image.set(layout::kBandIndex, 1);
    for (int offset = layout::kRadioByteCount; offset < layout::kImageSize; ++offset)
        image.set(offset, 0xA5);
    return image;
}

}  // namespace

class TestLinkUi : public QObject, public RadioViewFixture {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void commandTitles_data();
    void commandTitles();
    void cancelBeforeOkOpensNothing();
    void readShowsRadioChannels();
    void laterCommandDecidesDirection();
    void writePutsGridIntoRadio();
    void cancelDuringTransfer();
    void otherViewCannotStartDuringTransfer();
    void failures_data();
    void failures();
    void portOpenFailureSaysWhy();

    void comSetupFirstUse();
    void comSetupRemembersChoiceCancelStoresNothing();
    void comSetupBusyPortGreyed();
    void portLockedByAnotherProgramIsBusy();
    void comSetupF1Help();

private:
    // Program directory with the example settings plus a second model and
    // COM mappings; the English module; a view on a new document.
    void setUp(const QMap<QString, QString>& ports);
    QStringList gridRows() const;

};

void TestLinkUi::initTestCase()
{
    HelpLauncher::setLaunchEnabled(false);
    // Message boxes without a caption of their own carry the application's name.
    setAppName(QStringLiteral("KQ-517 Programmer"));
}

void TestLinkUi::init()
{
    g_bChinese = false;
    HelpLauncher::clearRequests();
}

void TestLinkUi::cleanup() { tearDownView(); }

void TestLinkUi::setUp(const QMap<QString, QString>& ports)
{
    QVERIFY(setUpView(ports, QByteArrayLiteral("Type2=KQ-517U\nField2=400 - 470MHz|430 - 440MHz\n")));
}

QStringList TestLinkUi::gridRows() const
{
    QStringList rows;
    CMSFlexGrid* grid = m_view->grid();
    for (int r = 1; r <= 16; ++r) {
        QStringList cells;
        for (int c = 1; c <= 5; ++c)
            cells << grid->GetTextMatrix(r, c);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void TestLinkUi::commandTitles_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("title");
    QTest::newRow("read") << false << false << QStringLiteral("Read Data");
    QTest::newRow("write") << false << true << QStringLiteral("Write Data");
    QTest::newRow("read chinese") << true << false << QStringLiteral("读数据");
    QTest::newRow("write chinese") << true << true << QStringLiteral("写数据");
}

void TestLinkUi::commandTitles()
{
    QFETCH(bool, chinese);
    QFETCH(bool, write);
    QFETCH(QString, title);
    setUp({});
    g_bChinese = chinese;
    if (chinese) {
        // The title is the active language module's text.
        LanguageModule::unload();
        QVERIFY(LanguageModule::load(QStringLiteral("Chinese"), QStringLiteral(KQ517_PROGRAM_DIR)));
    }
    m_view->m_bWrite = !write;
    write ? m_view->OnProgramWrite() : m_view->OnProgramRead();
    QCOMPARE(m_view->m_bWrite, write);
    CProcessDlg* dlg = m_view->m_pProcessDlg;
    QVERIFY(dlg->hasWindow());
    QCOMPARE(dlg->window()->windowTitle(), title);
    QVERIFY(dlg->window()->isVisible());
    QVERIFY(!dlg->window()->isModal());
    auto* bar = dlg->window()->findChild<QProgressBar*>(QStringLiteral("id1001"));
    QVERIFY(bar);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 63);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(dlg->window()->findChild<QLabel*>(QStringLiteral("id1009"))->text(), QStringLiteral("0"));
    QVERIFY(processButton(1)->isEnabled());
}

void TestLinkUi::cancelBeforeOkOpensNothing()
{
    // A port that cannot be opened: any attempt to open it would bring up 61453.
    setUp({{QStringLiteral("COM1"), QStringLiteral("/nonexistent/kq517-tty")}});
    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramRead();
    QPointer<QDialog> window = m_view->m_pProcessDlg->window();
    QVERIFY(window);
    processButton(2)->click();
    QVERIFY(!m_view->m_pProcessDlg->hasWindow());
    QVERIFY(m_view->m_pProcessDlg->m_bCancel);
    QTest::qWait(100);  // anything posted would run now, boxes would be answered
    QVERIFY(window.isNull());
    QVERIFY(watcher.seen().isEmpty());
    QVERIFY(!m_view->isTransferRunning());

    // The window comes back fresh for the next command, cancel flag cleared.
    m_view->OnProgramWrite();
    QVERIFY(m_view->m_pProcessDlg->hasWindow());
    QVERIFY(!m_view->m_pProcessDlg->m_bCancel);
    // Closing the window is Cancel too.
    m_view->m_pProcessDlg->window()->close();
    QVERIFY(!m_view->m_pProcessDlg->hasWindow());
}

void TestLinkUi::readShowsRadioChannels()
{
    QTemporaryDir tmp;
    const QString imagePath = tmp.filePath(QStringLiteral("radio.dat"));
    const MemoryImage radio = radioImage();
    QVERIFY(radio.saveFile(imagePath));
    SimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--image"), imagePath, QStringLiteral("--baud"), QStringLiteral("0")}),
             qPrintable(sim.error()));
    setUp({{QStringLiteral("COM1"), sim.devicePath()}});

    const QStringList before = gridRows();
    const QByteArray tailBefore = m_doc->image().toByteArray().mid(layout::kRadioByteCount);
    QVERIFY(g_bNewDocument);
    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramRead();
    QPointer<QDialog> window = m_view->m_pProcessDlg->window();
    m_frame->hide();  // the user closed the document window meanwhile
    QVERIFY(pressOkAndRun());

    QVERIFY2(watcher.seen().isEmpty(), qPrintable(watcher.seen().value(0).text));
    QVERIFY(!m_frame->isHidden());  // shown again after the transfer
    QVERIFY(!m_view->m_pProcessDlg->hasWindow());
    QVERIFY(!m_view->isTransferRunning());
    // The bar stands at 61 of 63 and the static shows it.
    QVERIFY(window);
    QVERIFY(!window->isVisible());
    QCOMPARE(window->findChild<QProgressBar*>(QStringLiteral("id1001"))->value(), 61);
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("id1009"))->text(), QStringLiteral("61"));

    // Rows 0 to 60 came from the radio; 61 to 63 stay as they were.
    QCOMPARE(radioBytes(m_doc->image()), radioBytes(radio));
    QCOMPARE(m_doc->image().toByteArray().mid(layout::kRadioByteCount), tailBefore);
    QVERIFY(!g_bNewDocument);

    const QStringList rows = gridRows();
    QVERIFY(rows != before);
    QCOMPARE(rows.at(0), QStringLiteral("145.12500|146.00000|None|None|Yes"));
    QCOMPARE(rows.at(15), QStringLiteral("430.00000|430.00000|None|None|No"));
    QCOMPARE(rows.at(1), QStringLiteral("||||"));
    QVERIFY2(g_strMainTitle.contains(QStringLiteral("KQ-517U")), qPrintable(g_strMainTitle));
    QVERIFY2(g_strMainTitle.contains(QStringLiteral("430 - 440MHz")), qPrintable(g_strMainTitle));
    QCOMPARE(m_view->m_nBandLow, 43000000);
    QCOMPARE(m_view->m_nBandHigh, 44000000);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window.isNull());  // the window is destroyed, the dialog object stays
}

void TestLinkUi::laterCommandDecidesDirection()
{
    QTemporaryDir tmp;
    const QString imagePath = tmp.filePath(QStringLiteral("radio.dat"));
    const QString savePath = tmp.filePath(QStringLiteral("saved.dat"));
    QVERIFY(radioImage().saveFile(imagePath));
    SimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--image"), imagePath, QStringLiteral("--save"), savePath,
                        QStringLiteral("--baud"), QStringLiteral("0")}),
             qPrintable(sim.error()));
    setUp({{QStringLiteral("COM1"), sim.devicePath()}});

    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramWrite();
    m_view->OnProgramRead();  // while the Write dialog is still offered
    QCOMPARE(m_view->m_pProcessDlg->window()->windowTitle(), QStringLiteral("Write Data"));
    QVERIFY(pressOkAndRun());
    QVERIFY(watcher.seen().isEmpty());
    // It read: the radio's channel is in the grid, nothing was written.
    QCOMPARE(gridRows().at(0), QStringLiteral("145.12500|146.00000|None|None|Yes"));
    sim.stop();
    QVERIFY(!QFile::exists(savePath));  // the radio saves after every completed write
}

void TestLinkUi::writePutsGridIntoRadio()
{
    QTemporaryDir tmp;
    const QString imagePath = tmp.filePath(QStringLiteral("radio.dat"));
    const QString savePath = tmp.filePath(QStringLiteral("saved.dat"));
    const MemoryImage radio = radioImage();
    QVERIFY(radio.saveFile(imagePath));
    SimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--image"), imagePath, QStringLiteral("--save"), savePath,
                        QStringLiteral("--baud"), QStringLiteral("0")}),
             qPrintable(sim.error()));
    setUp({{QStringLiteral("COM1"), sim.devicePath()}});

    // An edit: the document holds it, and the write sends it.
    const QStringList cells = {QStringLiteral("150.00000"), QStringLiteral("151.00000"),
                               QStringLiteral("None"), QStringLiteral("None"), QStringLiteral("Yes")};
    putChannel(*m_doc, 2, cells);
    const QByteArray tailBefore = m_doc->image().toByteArray().mid(layout::kRadioByteCount);

    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramWrite();
    QVERIFY(pressOkAndRun());
    QVERIFY2(watcher.seen().isEmpty(), qPrintable(watcher.seen().value(0).text));
    QVERIFY(!m_view->m_pProcessDlg->hasWindow());

    // The image holds the encoded edit; a write changes nothing else in it.
    const std::uint8_t* ch2 = m_doc->image().channel(2);
    const std::uint8_t expected[] = {0x00, 0x00, 0x00, 0x15, 0x00, 0x00, 0x10, 0x15,
                                     0xFF, 0xFF, 0xFF, 0xFF};
    for (int i = 0; i < 12; ++i)
        QCOMPARE(int(ch2[i]), int(expected[i]));
    QCOMPARE(ch2[layout::channel::kFlags] & 1, 0);
    QCOMPARE(m_doc->image().toByteArray().mid(layout::kRadioByteCount), tailBefore);

    // The radio got rows 0 to 60 of the image and kept its own rows 61 to 63.
    sim.stop();
    MemoryImage saved;
    QVERIFY(saved.loadFile(savePath));
    QCOMPARE(radioBytes(saved), radioBytes(m_doc->image()));
    QCOMPARE(saved.toByteArray().mid(layout::kRadioByteCount),
             radio.toByteArray().mid(layout::kRadioByteCount));
}

void TestLinkUi::cancelDuringTransfer()
{
    QTemporaryDir tmp;
    const QString imagePath = tmp.filePath(QStringLiteral("radio.dat"));
    QVERIFY(radioImage().saveFile(imagePath));
    // At the real line speed, so that the read takes a while.
    SimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--image"), imagePath}), qPrintable(sim.error()));
    setUp({{QStringLiteral("COM1"), sim.devicePath()}});

    const QStringList before = gridRows();
    const QByteArray imageBefore = m_doc->image().toByteArray();
    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramRead();
    QPointer<QDialog> window = m_view->m_pProcessDlg->window();
    auto* bar = window->findChild<QProgressBar*>(QStringLiteral("id1001"));
    int cancelledAt = -1;
    int lastValue = 0;
    bool commandsRefused = false;
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
        lastValue = value;
        if (value == 10 && cancelledAt < 0) {
            // Commands arriving through the pump are refused meanwhile.
            QVERIFY(CKQ_517View::anyTransferRunning());
            QVERIFY(m_view->isTransferRunning());
            m_view->OnProgramWrite();
            commandsRefused = !m_view->m_bWrite && window->windowTitle() == QStringLiteral("Read Data");
            cancelledAt = value;
            QTimer::singleShot(0, processButton(2), &QPushButton::click);
        }
    });
    QVERIFY(pressOkAndRun());

    QCOMPARE(cancelledAt, 10);
    QVERIFY(commandsRefused);
    QVERIFY2(lastValue <= cancelledAt + 1, qPrintable(QString::number(lastValue)));  // within a row
    QVERIFY(watcher.seen().isEmpty());  // silently
    QVERIFY(!m_view->m_pProcessDlg->hasWindow());
    QVERIFY(!m_view->isTransferRunning());
    QVERIFY(!CKQ_517View::anyTransferRunning());
    QCOMPARE(gridRows(), before);  // an incomplete read does not redisplay
    QCOMPARE(m_doc->image().toByteArray(), imageBefore);  // nor reach the image
    QVERIFY(!m_doc->IsModified());
    QVERIFY(g_bNewDocument);
}

void TestLinkUi::otherViewCannotStartDuringTransfer()
{
    QTemporaryDir tmp;
    const QString imagePath = tmp.filePath(QStringLiteral("radio.dat"));
    QVERIFY(radioImage().saveFile(imagePath));
    SimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--image"), imagePath, QStringLiteral("--baud"), QStringLiteral("0")}),
             qPrintable(sim.error()));
    setUp({{QStringLiteral("COM1"), sim.devicePath()}});

    // A second document window whose Read is offered before the first one starts.
    CKQ_517Doc otherDoc;
    QVERIFY(otherDoc.OnNewDocument());
    QPointer<CKQ_517View> other = new CKQ_517View(&otherDoc);
    QPointer<QMdiSubWindow> otherFrame = m_area->addSubWindow(other);
    const auto removeOther = qScopeGuard([&otherFrame] { delete otherFrame; });
    otherFrame->show();
    other->OnInitialUpdate();
    other->OnProgramRead();
    QDialog* otherWindow = other->m_pProcessDlg->window();
    QVERIFY(otherWindow);
    auto* otherOk = otherWindow->findChild<QPushButton*>(LanguageModule::controlName(1));
    QVERIFY(otherOk);

    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramRead();
    auto* bar = m_view->m_pProcessDlg->window()->findChild<QProgressBar*>(QStringLiteral("id1001"));
    bool pressed = false;
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
        if (value == 10 && !pressed) {
            pressed = true;
            otherOk->click();  // its start arrives through the running transfer's pump
        }
    });
    QVERIFY(pressOkAndRun());

    QVERIFY(pressed);
    QVERIFY2(watcher.seen().isEmpty(), qPrintable(watcher.seen().value(0).text));
    QCOMPARE(gridRows().at(0), QStringLiteral("145.12500|146.00000|None|None|Yes"));
    // The other view did not start; its offer stands and can be taken up now.
    QVERIFY(!other->isTransferRunning());
    QVERIFY(other->m_pProcessDlg->hasWindow());
    QVERIFY(otherOk->isEnabled());
    QVERIFY(other->m_pProcessDlg->window()->isVisible());
}

void TestLinkUi::failures_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<QStringList>("texts");  // message ids as numbers, or literal texts
    QTest::addColumn<int>("rowsReceived");

    QTest::newRow("wrong radio") << QStringList{QStringLiteral("--ident"), QStringLiteral("P4107ABC")}
                                 << QList<QMessageBox::StandardButton>{}
                                 << QStringList{kMismatchText} << 0;
    QTest::newRow("silent radio, retry then cancel")
        << QStringList{QStringLiteral("--silent")}
        << QList<QMessageBox::StandardButton>{QMessageBox::Retry, QMessageBox::Cancel}
        << QStringList{QStringLiteral("61451"), QStringLiteral("61451")} << 0;
    QTest::newRow("radio stops in row 20")
        << QStringList{QStringLiteral("--no-ack-at"), QStringLiteral("40")}
        << QList<QMessageBox::StandardButton>{} << QStringList{QStringLiteral("61454")} << 20;
    QTest::newRow("radio stops in row 60, the last")
        << QStringList{QStringLiteral("--no-ack-at"), QStringLiteral("120")}
        << QList<QMessageBox::StandardButton>{} << QStringList{QStringLiteral("61454")} << 60;
}

void TestLinkUi::failures()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(QStringList, texts);
    QFETCH(int, rowsReceived);

    QTemporaryDir tmp;
    const QString imagePath = tmp.filePath(QStringLiteral("radio.dat"));
    const MemoryImage radio = radioImage();
    QVERIFY(radio.saveFile(imagePath));
    SimProcess sim;
    QVERIFY2(sim.start(QStringList{QStringLiteral("--image"), imagePath, QStringLiteral("--baud"),
                                   QStringLiteral("0")} +
                       simArgs),
             qPrintable(sim.error()));
    setUp({{QStringLiteral("COM1"), sim.devicePath()}});

    const QStringList before = gridRows();
    const QByteArray imageBefore = m_doc->image().toByteArray();
    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    watcher.setAnswers(answers);
    m_view->OnProgramRead();
    int rowsMoved = 0;
    auto* bar = m_view->m_pProcessDlg->window()->findChild<QProgressBar*>(QStringLiteral("id1001"));
    QVERIFY(bar);
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) { rowsMoved = std::max(rowsMoved, value); });
    QVERIFY(pressOkAndRun());

    QCOMPARE(watcher.seen().size(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        const ModalAnswerer::Seen& seen = watcher.seen().at(i);
        bool isId = false;
        const int id = texts.at(i).toInt(&isId);
        if (isId) {
            QCOMPARE(seen.text, LanguageModule::string(id));
            QCOMPARE(seen.caption, QStringLiteral("KQ-517 Programmer"));
        } else {
            // The model check: the view's own box, OK only, no icon.
            QCOMPARE(seen.text, texts.at(i));
            QCOMPARE(seen.caption, QStringLiteral("Caution"));
            QCOMPARE(seen.icon, QMessageBox::NoIcon);
            QCOMPARE(seen.parent, static_cast<QWidget*>(m_view.data()));
        }
        if (id == 61451)
            QCOMPARE(seen.buttons, QMessageBox::Retry | QMessageBox::Cancel);
        else
            QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    QVERIFY(!m_view->m_pProcessDlg->hasWindow());
    QVERIFY(!m_view->isTransferRunning());
    // The grid is as it was; the rows received before the failure are in the image.
    // The grid and the image are as they were: the rows received before the
    // failure never reach the document, and it stays unmodified.
    QCOMPARE(gridRows(), before);
    QVERIFY(g_bNewDocument);
    QCOMPARE(m_doc->image().toByteArray(), imageBefore);
    QVERIFY(!m_doc->IsModified());
    QVERIFY(!m_view->undoStack()->canUndo());
    // The radio did send rows before the failure (as many as asked for on a
    // quiet machine; a slow one may time out a reply earlier): whatever
    // arrived stayed out of the document.
    QVERIFY2(rowsMoved <= rowsReceived && (rowsReceived == 0) == (rowsMoved == 0),
             qPrintable(QString::number(rowsMoved)));
}

void TestLinkUi::portOpenFailureSaysWhy()
{
    setUp({{QStringLiteral("COM1"), QStringLiteral("/nonexistent/kq517-tty")}});
    const QStringList before = gridRows();
    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramWrite();
    QVERIFY(pressOkAndRun());
    QCOMPARE(watcher.seen().size(), 1);
    const QStringList lines = watcher.seen().at(0).text.split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), LanguageModule::string(61453));
    QVERIFY(lines.size() >= 2 && !lines.at(1).trimmed().isEmpty());
    QCOMPARE(watcher.seen().at(0).buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(!m_view->m_pProcessDlg->hasWindow());
    QVERIFY(!m_view->isTransferRunning());
    QCOMPARE(gridRows(), before);
}

void TestLinkUi::comSetupFirstUse()
{
    TestPty com1;
    QVERIFY(!com1.path().isEmpty());
    setUp({{QStringLiteral("COM1"), com1.path()}});
    int selected = -2;
    QString deviceText;
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([&](QDialog* dialog) {
        selected = m_view->m_dlgComSetup->m_nPort;
        QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("id1007"))->isChecked());
        QVERIFY(dialog->findChild<QRadioButton*>(QStringLiteral("id1007"))->isEnabled());
        deviceText = dialog->findChild<QLabel*>(QStringLiteral("device1007"))->text();
        dialog->findChild<QPushButton*>(QStringLiteral("id1"))->click();
    });
    m_view->OnSetupCom();
    QCOMPARE(runner.count(), 1);
    QCOMPARE(selected, 0);
    QCOMPARE(deviceText, com1.path());
    QCOMPARE(m_view->m_strPort, QStringLiteral("com1"));
    QCOMPARE(UserStore::fromSettings().read(QStringLiteral("com"), std::uint32_t{0}), 1u);
}

void TestLinkUi::comSetupRemembersChoiceCancelStoresNothing()
{
    TestPty com1, com3;
    setUp({{QStringLiteral("COM1"), com1.path()}, {QStringLiteral("COM3"), com3.path()}});
    {
        ModalAnswerer runner(ModalAnswerer::OtherDialogs);
        runner.answerOnce();
        runner.onDialog([](QDialog* dialog) {
            dialog->findChild<QRadioButton*>(QStringLiteral("id1009"))->click();
            dialog->findChild<QPushButton*>(QStringLiteral("id1"))->click();
        });
        m_view->OnSetupCom();
        QCOMPARE(runner.count(), 1);
    }
    QCOMPARE(m_view->m_strPort, QStringLiteral("com3"));
    QCOMPARE(UserStore::fromSettings().read(QStringLiteral("com"), std::uint32_t{0}), 3u);

    // A new view starts on COM1 again, but the dialog shows the remembered COM3.
    m_area.reset();
    QVERIFY(makeView());
    QCOMPARE(m_view->m_strPort, QStringLiteral("COM1"));
    bool com3Checked = false;
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([&](QDialog* dialog) {
        com3Checked = dialog->findChild<QRadioButton*>(QStringLiteral("id1009"))->isChecked();
        dialog->findChild<QRadioButton*>(QStringLiteral("id1007"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("id2"))->click();
    });
    m_view->OnSetupCom();
    QCOMPARE(runner.count(), 1);
    QVERIFY(com3Checked);
    // Cancel after changing the selection stores nothing.
    QCOMPARE(m_view->m_strPort, QStringLiteral("COM1"));
    QCOMPARE(UserStore::fromSettings().read(QStringLiteral("com"), std::uint32_t{0}), 3u);
}

void TestLinkUi::comSetupBusyPortGreyed()
{
    TestPty com1, com2;
    setUp({{QStringLiteral("COM1"), com1.path()},
           {QStringLiteral("COM2"), com2.path()},
           {QStringLiteral("COM4"), QStringLiteral("/nonexistent/kq517-tty")}});
    // Another program holds COM2.
    QSerialPort holder(com2.path());
    QVERIFY(holder.open(QIODevice::ReadWrite));
    // A stored 0 (OK pressed with nothing selected) selects no button.
    UserStore::fromSettings().write(QStringLiteral("com"), 0);

    QList<bool> enabled, checked;
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([&](QDialog* dialog) {
        for (int id = 1007; id <= 1010; ++id) {
            auto* radio = dialog->findChild<QRadioButton*>(LanguageModule::controlName(id));
            enabled << radio->isEnabled();
            checked << radio->isChecked();
        }
        dialog->findChild<QPushButton*>(QStringLiteral("id1"))->click();
    });
    m_view->OnSetupCom();
    QCOMPARE(runner.count(), 1);
    QCOMPARE(enabled, (QList<bool>{true, false, false, false}));  // COM3 unmapped: no such device
    QCOMPARE(checked, (QList<bool>{false, false, false, false}));
    // OK with nothing selected: "com0", 0 stored.
    QCOMPARE(m_view->m_strPort, QStringLiteral("com0"));
    QCOMPARE(UserStore::fromSettings().read(QStringLiteral("com"), std::uint32_t{9}), 0u);
}

// A program that is not built on Qt holds COM1 with an advisory lock: COM Setup
// greys it out and a transfer on it says the port could not be opened, and why.
void TestLinkUi::portLockedByAnotherProgramIsBusy()
{
    TestPty com1, com2;
    setUp({{QStringLiteral("COM1"), com1.path()}, {QStringLiteral("COM2"), com2.path()}});
    const int holder = ::open(QFile::encodeName(com1.path()).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(holder >= 0);
    const auto closeHolder = qScopeGuard([holder] { ::close(holder); });
    QCOMPARE(::flock(holder, LOCK_EX | LOCK_NB), 0);

    QList<bool> enabled;
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([&](QDialog* dialog) {
        for (int id = 1007; id <= 1008; ++id)
            enabled << dialog->findChild<QRadioButton*>(LanguageModule::controlName(id))->isEnabled();
        dialog->findChild<QPushButton*>(QStringLiteral("id2"))->click();
    });
    m_view->OnSetupCom();
    QCOMPARE(runner.count(), 1);
    QCOMPARE(enabled, (QList<bool>{false, true}));

    m_view->m_strPort = QStringLiteral("COM1");
    const QByteArray imageBefore = m_doc->image().toByteArray();
    ModalAnswerer watcher(ModalAnswerer::MessageBoxes);
    m_view->OnProgramRead();
    QVERIFY(pressOkAndRun());
    QCOMPARE(watcher.seen().size(), 1);
    const QStringList lines = watcher.seen().at(0).text.split(QLatin1Char('\n'));
    QCOMPARE(lines.value(0), LanguageModule::string(61453));
    QVERIFY2(lines.value(1).contains(QStringLiteral("busy")), qPrintable(watcher.seen().at(0).text));
    QCOMPARE(m_doc->image().toByteArray(), imageBefore);
}

void TestLinkUi::comSetupF1Help()
{
    setUp({});
    ModalAnswerer runner(ModalAnswerer::OtherDialogs);
    runner.answerOnce();
    runner.onDialog([](QDialog* dialog) {
        auto* radio = dialog->findChild<QRadioButton*>(QStringLiteral("id1008"));
        QTest::keyClick(radio, Qt::Key_F1);
        dialog->findChild<QPushButton*>(QStringLiteral("id2"))->click();
    });
    m_view->OnSetupCom();
    QCOMPARE(runner.count(), 1);
    QCOMPARE(HelpLauncher::requests().size(), 1);
    QCOMPARE(HelpLauncher::requests().at(0).context, 32777);
    QCOMPARE(HelpLauncher::requests().at(0).command, HelpLauncher::kHelpContextCommand);
}

QTEST_MAIN(TestLinkUi)
#include "tst_linkui.moc"
