// Commands the main window refuses while a radio transfer runs: each one is
// triggered through its menu action in the middle of a real read or write
// (against the simulated radio on a pseudo-terminal), and must open no dialog,
// leave the document, its window and the transfer alone.

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

#include "codeplug/MemoryImage.h"
#include "link/ui/ProcessDlg.h"
#include "settings/ui/HelpLauncher.h"
#include "shell/KQ_517App.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/ui/LanguageDlg.h"
#include "settings/ui/LanguageModule.h"
#include "shell/MainFrame.h"
#include "view/KQ_517View.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TestSupport.h"

namespace {

// The radio's memory: every byte different from its neighbours, so that a
// read that went astray shows.
MemoryImage radioImage()
{
    MemoryImage image = MemoryImage::newImage();
    for (int i = 0; i < 0x3D0; ++i)
        image.set(i, std::uint8_t((i * 7 + 3) & 0xFF));
    return image;
}

QByteArray imageBytes(const CKQ_517Doc* doc) { return doc ? doc->image().toByteArray() : QByteArray(); }

}  // namespace

class TestRefusedCommands : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void refusedDuringTransfer_data();
    void refusedDuringTransfer();
};

void TestRefusedCommands::initTestCase()
{
    HelpLauncher::setLaunchEnabled(false);
}

void TestRefusedCommands::refusedDuringTransfer_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("write");

    // One line per refused command; each runs once during a read and once
    // during a write (Read is only seen to be refused during a write, Write
    // during a read: the other way round it would change nothing).
    // Commands by their numeric ids, as the menus carry them.
    const QList<QPair<const char*, int>> refused = {
        {"File New", 57600},
        {"File Open", 57601},
        {"File Close", 57602},
        {"File Save", 57603},
        {"File Save As", 57604},
        {"Exit", 57665},
        {"Language", 32799},
        {"Program Read", 32773},
        {"Program Write", 32774},
        {"COM Setup", 32777},
    };
    for (const auto& [name, id] : refused) {
        QTest::addRow("%s during read", name) << id << false;
        QTest::addRow("%s during write", name) << id << true;
    }
}

void TestRefusedCommands::refusedDuringTransfer()
{
    QFETCH(int, command);
    QFETCH(bool, write);

    QTemporaryDir files;
    const QString radioPath = files.filePath(QStringLiteral("radio.dat"));
    QVERIFY(radioImage().saveFile(radioPath));
    SimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--image"), radioPath, QStringLiteral("--baud"), QStringLiteral("0")}),
             qPrintable(sim.error()));

    TempUserStore store;
    TempProgramDir dir;
    QVERIFY(store.isValid() && dir.isValid());
    QVERIFY(dir.copyDefaultSettings());
    QByteArray ini = dir.readFile();
    if (!ini.endsWith('\n'))
        ini += '\n';
    // COM1 leads to the simulated radio (in the file's own [Ports] section, the last).
    if (!ini.contains("[Ports]"))
        ini += "[Ports]\n";
    ini += "COM1=" + sim.devicePath().toUtf8() + '\n';
    QVERIFY(dir.writeSettings(ini));
    for (const char* module : {"English517.rcc", "Chinese517.rcc"})
        QVERIFY(QFile::copy(QStringLiteral(KQ517_PROGRAM_DIR "/") + QLatin1String(module),
                            dir.filePath(QLatin1String(module))));

    // Anything that would open a file or restart the program is only noted.
    QStringList fileDialogs;
    CMainFrame::setFileDialogHook([&fileDialogs](bool save, const QString&) {
        fileDialogs << (save ? QStringLiteral("save") : QStringLiteral("open"));
        return QString();
    });
    QStringList relaunches;
    CLanguageDlg::setRelaunchHook([&relaunches](const QString& language) { relaunches << language; });
    const auto unhook = qScopeGuard([] {
        CMainFrame::setFileDialogHook({});
        CLanguageDlg::setRelaunchHook([](const QString&) {});
    });

    CKQ_517App app;
    app.setProgramDirectory(dir.path());
    QCOMPARE(app.InitInstance({}), CKQ_517App::kRunMessageLoop);
    const auto exitApp = qScopeGuard([&app] { app.ExitInstance(); });
    CMainFrame* frame = CMainFrame::instance();
    QVERIFY(frame && frame->isVisible());
    const QPointer<CKQ_517View> view = frame->activeView();
    const QPointer<QMdiSubWindow> child = frame->activeChildFrame();
    const QPointer<CKQ_517Doc> doc = frame->activeDocument();
    QVERIFY(view && child && doc);
    const int childCount = frame->childFrames().size();

    QAction* action = frame->menuAction(command);
    QVERIFY2(action, "the command is on the document window's menus");
    QAction* start = frame->menuAction(write ? 32774 : 32773);  // Program > Write or Read
    QVERIFY(start);

    // New's question, if it came, is answered Cancel so that nothing is destroyed.
    ModalAnswerer modals(QMessageBox::Cancel);
    start->trigger();
    QDialog* process = view->m_pProcessDlg->window();
    QVERIFY(process);
    const QString processTitle = process->windowTitle();
    QCOMPARE(processTitle, write ? QStringLiteral("Write Data") : QStringLiteral("Read Data"));
    auto* bar = process->findChild<QProgressBar*>(QStringLiteral("id1001"));
    QVERIFY(bar);

    // Ten rows in, the command is queued; the transfer's next pump pass
    // delivers it, as it would a click on the menu.
    QByteArray imageBefore;
    int triggeredAtRow = -1;
    int lastRow = 0;
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
        lastRow = value;
        if (value != 10)
            return;
        imageBefore = imageBytes(doc);
        QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
    });
    // Connected after the main window's own handler: runs once the command is done.
    bool seenDuringTransfer = false;
    bool stateKept = false;
    QString whatChanged;
    connect(action, &QAction::triggered, this, [&] {
        triggeredAtRow = lastRow;
        seenDuringTransfer = CKQ_517View::anyTransferRunning();
        QStringList changed;
        if (modals.count() != 0)
            changed << QStringLiteral("a window came up: %1 %2").arg(modals.last().className, modals.last().text);
        if (!fileDialogs.isEmpty())
            changed << QStringLiteral("file dialog: ") + fileDialogs.join(QLatin1Char(','));
        if (!relaunches.isEmpty())
            changed << QStringLiteral("relaunch");
        if (!frame->isVisible())
            changed << QStringLiteral("main window closed");
        if (!child || child->isHidden())
            changed << QStringLiteral("document window closed or hidden");
        if (frame->activeChildFrame() != child.data() || frame->childFrames().size() != childCount)
            changed << QStringLiteral("other document window");
        if (!doc || imageBytes(doc) != imageBefore)
            changed << QStringLiteral("image changed");
        if (!view || view->m_bWrite != write || process->windowTitle() != processTitle)
            changed << QStringLiteral("transfer direction changed");
        whatChanged = changed.join(QStringLiteral("; "));
        stateKept = changed.isEmpty();
    });

    auto* ok = process->findChild<QAbstractButton*>(LanguageModule::controlName(1));
    QVERIFY(ok);
    ok->click();
    QCoreApplication::sendPostedEvents(view, QEvent::MetaCall);  // the transfer runs here

    QCOMPARE(triggeredAtRow, 10);
    QVERIFY(seenDuringTransfer);
    QVERIFY2(stateKept, qPrintable(whatChanged));
    // The transfer went on to its end, with no message.
    QVERIFY2(modals.count() == 0, qPrintable(modals.last().className + QLatin1Char(' ') + modals.last().text));
    QCOMPARE(lastRow, 61);
    QVERIFY(view && !view->isTransferRunning());
    QVERIFY(!view->m_pProcessDlg->hasWindow());
    if (!write)
        QCOMPARE(imageBytes(doc).left(0x3D0), radioImage().toByteArray().left(0x3D0));
    // The command was refused, not put off: nothing happens afterwards either.
    QCoreApplication::processEvents();
    QVERIFY(fileDialogs.isEmpty());
    QVERIFY(relaunches.isEmpty());
    QVERIFY(frame->isVisible());
    QVERIFY(child && child->isVisible());
    QCOMPARE(frame->childFrames().size(), childCount);
}

QTEST_MAIN(TestRefusedCommands)
#include "tst_refusedcommands.moc"
