// The program's shell: start-up and its failures, File New, document windows
// that hide, the navigation tree and bar, file open and save, the language
// change with its restart.

#include <QAbstractButton>
#include <QApplication>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QSignalSpy>
#include <QPageSetupDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

#include "codeplug/ImageLayout.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/SettingsFileLocation.h"
#include "settings/UserStore.h"
#include "settings/ui/OptionalFeaturesDlg.h"
#include "settings/ui/ProductInfoDlg.h"
#include "shell/AboutDlg.h"
#include "settings/ui/AppMessage.h"
#include "shell/ChildFrame.h"
#include "settings/ui/HelpLauncher.h"
#include "shell/KQ_517App.h"
#include "codeplug/KQ_517Doc.h"
#include "shell/KeyLockState.h"
#include "settings/ui/LanguageDlg.h"
#include "settings/ui/LanguageModule.h"
#include "shell/MainFrame.h"
#include "shell/NavigationBar.h"
#include "shell/WorkspaceBackground.h"
#include "link/ui/ProcessDlg.h"
#include "view/KQ_517View.h"
#include "view/MSFlexGrid.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace {

QByteArray newImageFile(std::uint8_t model, std::uint8_t band, int size = 1024)
{
    QByteArray bytes(size, char(0xFF));
    if (size > layout::kBandIndex) {
        bytes[layout::kModelIndex] = char(model);
        bytes[layout::kBandIndex] = char(band);
    }
    return bytes;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

}  // namespace

class TestShell : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        HelpLauncher::setLaunchEnabled(false);
        HelpLauncher::clearRequests();
        CMainFrame::setFileDialogHook({});
        CLanguageDlg::setRelaunchHook([](const QString&) {});
    }

    void startupWithoutModule_data();
    void startupWithoutModule();
    void startupLowerCaseChinese();
    void startupDefault();
    void startupOpensNamedFile();
    void startupRefusesUnreadableFile();
    void fileNewQuestion_data();
    void fileNewQuestion();
    void documentWindowsHide();
    void writeKeyFromTheGrid();
    void ctrlF4HidesTheDocumentWindow();
    void toolbarTickAlwaysTrue();
    void lockIndicatorsFollowTheKeyboard();
    void printSetupChoosesThePrinterOfPrint();
    void openFile_data();
    void openFile();
    void saveNewDocument();
    void saveFailureLeavesDocument();
    void documentWindowCaptions_data();
    void documentWindowCaptions();
    void treeNavigation();
    void treeKeyboardOpensNothing();
    void treeChineseTexts();
    void controlBarToggle();
    void navigationBarWidth_data();
    void navigationBarWidth();
    void navigationBarCloseButton();
    void modelBandAcrossFileNew();
    void languageChange_data();
    void languageChange();
    void languageChangeInReadOnlyFolder();
    void aboutBox();
    void dialogKeys();
    void helpContexts();
    void backgroundTiles_data();
    void backgroundTiles();
};

void TestShell::startupWithoutModule_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("message");
    QTest::newRow("English") << QByteArray("English") << QStringLiteral("Load language DLL fail");
    QTest::newRow("Chinese") << QByteArray("Chinese") << QStringLiteral("加载语言链接库失败");
    QTest::newRow("empty") << QByteArray("") << QStringLiteral("Load language DLL fail");
}

void TestShell::startupWithoutModule()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, message);
    ProgramFolder folder(false);
    folder.setLanguage(language);
    if (!language.isEmpty()) {
        // A module of another language does not stand in for the missing one.
        folder.copyModule(language == "English" ? QStringLiteral("Chinese517.rcc")
                                                : QStringLiteral("English517.rcc"));
    }
    ModalAnswerer answer;
    Started run(folder.dir.path());
    QCOMPARE(run.status, CKQ_517App::kStartupFailed);
    QCOMPARE(answer.count(), 1);
    QCOMPARE(answer.last().text, message);
    QCOMPARE(answer.last().caption, QStringLiteral("KQ_517"));
    QVERIFY(!CMainFrame::instance());
    QVERIFY(!LanguageModule::isLoaded());
}

void TestShell::startupLowerCaseChinese()
{
    ProgramFolder folder;
    folder.setLanguage("chinese");
    Started run(folder.dir.path());
    QCOMPARE(run.status, CKQ_517App::kRunMessageLoop);
    QVERIFY(LanguageModule::loadedPath().endsWith(QStringLiteral("Chinese517.rcc")));
    QCOMPARE(g_bChinese, false);
    QCOMPARE(g_strHelpFile, QStringLiteral("enHelp.chm"));
    // Resources are Chinese, the program's own texts English.
    QCOMPARE(LanguageModule::string(61452), QStringLiteral("所有数据将被清除！"));
    QTreeWidget* tree = run.frame()->tree();
    QCOMPARE(tree->topLevelItem(0)->child(0)->text(0), QStringLiteral("Product Information"));
    QCOMPARE(run.frame()->activeDocument()->GetTitle(), QStringLiteral("Channel Information"));
    // Qt's own buttons and dialogs follow the module's language.
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm"))
        QSKIP("Qt's Chinese translation is not installed");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
}

void TestShell::startupDefault()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    QCOMPARE(run.status, CKQ_517App::kRunMessageLoop);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    CMainFrame* frame = run.frame();
    QVERIFY(frame);
    QCOMPARE(frame->childFrames().size(), 1);
    QVERIFY(frame->childFrames().first()->isVisible());
    QVERIFY(frame->windowState() & Qt::WindowMaximized);
    QCOMPARE(frame->currentMenuId(), int(CMainFrame::IDR_DOCUMENT));
    QCOMPARE(g_strProgramDir, folder.dir.path() + QLatin1Char('/'));
    QVERIFY(g_bNewDocument);
    // Names from the language section.
    QCOMPARE(appName(), QStringLiteral("KQ-517 Programmer"));
    // Not the toolkit's display name: the window system would add it to every title.
    QVERIFY(QGuiApplication::applicationDisplayName() != appName());
    QAction* about = frame->menuAction(CMainFrame::ID_APP_ABOUT);
    QVERIFY(about);
    QCOMPARE(about->text(), QStringLiteral("About KQ-517 Programmer"));
    // The decode of the new document set the title with model and band.
    QCOMPARE(frame->windowTitle(), g_strMainTitle);
    QVERIFY2(g_strMainTitle.contains(QStringLiteral("KQ-517")) && g_strMainTitle.contains(QStringLiteral("130 - 160MHz")),
             qPrintable(g_strMainTitle));
    QCOMPARE(frame->tree()->topLevelItem(0)->text(0), QStringLiteral("KQ-517 Programmer"));
    QVERIFY(HelpLauncher::requests().isEmpty());
}

void TestShell::startupOpensNamedFile()
{
    ProgramFolder folder;
    QTemporaryDir files;
    const QString path = writeFile(files, QStringLiteral("radio.dat"), newImageFile(0, 0));
    Started run(folder.dir.path(), {path});
    QCOMPARE(run.status, CKQ_517App::kRunMessageLoop);
    QVERIFY(run.frame()->isVisible());  // the open did not close the main window
    QCOMPARE(run.frame()->childFrames().size(), 1);
    QCOMPARE(run.frame()->activeDocument()->GetPathName(), path);
    QVERIFY(!g_bNewDocument);
}

void TestShell::startupRefusesUnreadableFile()
{
    ProgramFolder folder;
    QTemporaryDir files;
    const QString path = writeFile(files, QStringLiteral("short.dat"), newImageFile(0, 0, 1023));
    ModalAnswerer answer;
    Started run(folder.dir.path(), {path});
    QCOMPARE(run.status, CKQ_517App::kStartupFailed);
    QCOMPARE(answer.count(), 1);
    QVERIFY(!answer.last().text.isEmpty());
}

void TestShell::fileNewQuestion_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("OK") << int(QMessageBox::Ok);
    QTest::newRow("Cancel") << int(QMessageBox::Cancel);
}

void TestShell::fileNewQuestion()
{
    QFETCH(int, button);
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    QPointer<QMdiSubWindow> before = frame->activeChildFrame();
    CKQ_517Doc* doc = frame->activeDocument();
    doc->image().set(layout::kBeep, 7);  // an edit that was never saved

    ModalAnswerer answer(static_cast<QMessageBox::StandardButton>(button));
    frame->onCommand(CMainFrame::ID_FILE_NEW);
    QCOMPARE(answer.count(), 1);
    QCOMPARE(answer.last().text, QStringLiteral("All data will be Cleared!"));
    QCOMPARE(answer.last().caption, QStringLiteral("KQ-517 Programmer"));
    QCOMPARE(frame->childFrames().size(), 1);
    if (button == QMessageBox::Ok) {
        QVERIFY(!before);  // destroyed, without a save question (only one box)
        QVERIFY(frame->activeChildFrame());
        QCOMPARE(frame->activeDocument()->image().at(layout::kBeep), std::uint8_t(1));
        // The new window stands at the workspace's corner, not outside it.
        QCOMPARE(frame->activeChildFrame()->pos(), QPoint(0, 0));
    } else {
        QVERIFY(before);
        QCOMPARE(frame->activeChildFrame(), before.data());
        QCOMPARE(frame->activeDocument()->image().at(layout::kBeep), std::uint8_t(7));
    }
}

void TestShell::documentWindowsHide()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    QMdiSubWindow* child = frame->activeChildFrame();
    CKQ_517Doc* doc = frame->activeDocument();
    doc->image().set(layout::kBeep + 1, 9);

    QVERIFY(!child->close());  // the close box only hides
    QVERIFY(child->isHidden());
    QCOMPARE(frame->activeChildFrame(), child);
    QCOMPARE(frame->currentMenuId(), int(CMainFrame::IDR_DOCUMENT));

    frame->onCommand(CMainFrame::ID_CHANNEL_INFO);
    QVERIFY(child->isVisible());
    QCOMPARE(frame->activeDocument(), doc);
    QCOMPARE(doc->image().at(layout::kBeep + 1), std::uint8_t(9));

    frame->onCommand(CMainFrame::ID_FILE_CLOSE);
    QVERIFY(child->isHidden());
    // File New still asks while the window is hidden.
    ModalAnswerer answer(QMessageBox::Cancel);
    frame->onCommand(CMainFrame::ID_FILE_NEW);
    QCOMPARE(answer.count(), 1);
    QCOMPARE(frame->activeChildFrame(), child);
}

// Ctrl+W is Program > Write even while the grid inside a document window has
// the focus: the document window's own menu must not claim the key.
void TestShell::writeKeyFromTheGrid()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    frame->show();
    QApplication::setActiveWindow(frame);
    QVERIFY(QTest::qWaitForWindowActive(frame));
    CKQ_517View* view = frame->activeView();
    view->grid()->setFocus();
    QTRY_VERIFY(view->grid()->hasFocus());

    QTest::keyClick(view->grid(), Qt::Key_W, Qt::ControlModifier);
    QVERIFY(view->m_pProcessDlg->hasWindow());
    QVERIFY(view->m_bWrite);
    view->m_pProcessDlg->OnCancel();  // offered only: closes at once
    QVERIFY(!view->m_pProcessDlg->hasWindow());
}

void TestShell::ctrlF4HidesTheDocumentWindow()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    frame->show();
    QApplication::setActiveWindow(frame);
    QVERIFY(QTest::qWaitForWindowActive(frame));
    QMdiSubWindow* child = frame->activeChildFrame();
    CKQ_517View* view = frame->activeView();
    view->grid()->setFocus();
    QTRY_VERIFY(view->grid()->hasFocus());

    QTest::keyClick(view->grid(), Qt::Key_F4, Qt::ControlModifier);
    QVERIFY(child->isHidden());
    QVERIFY(!view->m_pProcessDlg->hasWindow());  // not Write
    frame->onCommand(CMainFrame::ID_CHANNEL_INFO);
    QVERIFY(!child->isHidden());
}

// The toolbar can be hidden by View > Toolbar only, so the tick always matches it.
void TestShell::toolbarTickAlwaysTrue()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    QToolBar* bar = frame->toolBar();
    QVERIFY(!bar->isMovable());
    QVERIFY(!bar->isFloatable());
    QCOMPARE(frame->createPopupMenu(), static_cast<QMenu*>(nullptr));
    QVERIFY(!bar->toggleViewAction()->isEnabled());
    QAction* tick = frame->menuAction(CMainFrame::ID_VIEW_TOOLBAR);
    for (int i = 0; i < 2; ++i) {
        tick->trigger();
        QCOMPARE(tick->isChecked(), !bar->isHidden());
    }
    QVERIFY(tick->isChecked());
}

void TestShell::lockIndicatorsFollowTheKeyboard()
{
    KeyLockState lights;
    keylocks::setSource([&] { return lights; });
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    const QList<QLabel*> panes = frame->lockIndicators();
    QCOMPARE(panes.size(), 3);
    auto texts = [&] { return QStringList{panes[0]->text(), panes[1]->text(), panes[2]->text()}; };
    QCOMPARE(texts(), QStringList({QString(), QString(), QString()}));

    lights.caps = true;
    QTest::keyRelease(frame->activeView()->grid(), Qt::Key_CapsLock);
    QCOMPARE(texts(), QStringList({QStringLiteral("CAP"), QString(), QString()}));
    lights = {false, true, true};
    QTest::keyRelease(frame->activeView()->grid(), Qt::Key_NumLock);
    QCOMPARE(texts(), QStringList({QString(), QStringLiteral("NUM"), QStringLiteral("SCRL")}));
    keylocks::setSource({});
}

void TestShell::printSetupChoosesThePrinterOfPrint()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    QPrinter* chosen = nullptr;
    ModalAnswerer setup(ModalAnswerer::OtherDialogs);
    setup.answerOnce();
    setup.onDialog([&](QDialog* dialog) {
        auto* pageSetup = qobject_cast<QPageSetupDialog*>(dialog);
        QVERIFY2(pageSetup, dialog->metaObject()->className());
        chosen = pageSetup->printer();
        // The choice a user makes in the dialog: the dialog writes it into
        // its printer when accepted.
        auto* landscape = dialog->findChild<QRadioButton*>(QStringLiteral("landscape"));
        QVERIFY(landscape);
        landscape->click();
        dialog->accept();
    });
    frame->onCommand(CMainFrame::ID_FILE_PRINT_SETUP);
    QVERIFY(chosen);

    QPrinter* used = nullptr;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    ModalAnswerer print(ModalAnswerer::OtherDialogs);
    print.onDialog([&](QDialog* dialog) {
        if (auto* preview = qobject_cast<QPrintPreviewDialog*>(dialog)) {
            used = preview->printer();
            orientation = used->pageLayout().orientation();
        }
        dialog->reject();
    });
    frame->onCommand(CKQ_517View::ID_FILE_PRINT_PREVIEW);
    QCOMPARE(used, chosen);
    QCOMPARE(orientation, QPageLayout::Landscape);
    chosen->setPageOrientation(QPageLayout::Portrait);
}

void TestShell::openFile_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("opens");
    QTest::newRow("1024 bytes") << 1024 << true;
    QTest::newRow("1025 bytes") << 1025 << true;
    QTest::newRow("1023 bytes") << 1023 << false;
    QTest::newRow("empty") << 0 << false;
}

void TestShell::openFile()
{
    QFETCH(int, size);
    QFETCH(bool, opens);
    ProgramFolder folder;
    QTemporaryDir files;
    const QString path = writeFile(files, QStringLiteral("in.dat"), newImageFile(0, 0, size));
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    QMdiSubWindow* first = frame->activeChildFrame();
    CMainFrame::setFileDialogHook([&](bool save, const QString&) { return save ? QString() : path; });
    ModalAnswerer answer;
    frame->onCommand(CMainFrame::ID_FILE_OPEN);
    if (opens) {
        QCOMPARE(answer.count(), 0);
        QCOMPARE(frame->childFrames().size(), 2);
        QVERIFY(first->isHidden());
        QVERIFY(frame->activeChildFrame() != first);
        QCOMPARE(frame->activeDocument()->GetPathName(), path);
        QVERIFY(!g_bNewDocument);
    } else {
        QCOMPARE(answer.count(), 1);
        QVERIFY(!answer.last().text.isEmpty());
        QCOMPARE(frame->childFrames().size(), 1);
        QVERIFY(first->isVisible());
        QCOMPARE(frame->activeChildFrame(), first);
        QVERIFY(g_bNewDocument);
    }
}

void TestShell::saveNewDocument()
{
    ProgramFolder folder;
    QTemporaryDir files;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    QString proposed;
    const QString target = files.filePath(QStringLiteral("saved"));
    CMainFrame::setFileDialogHook([&](bool save, const QString& name) {
        proposed = name;
        return save ? target : QString();
    });
    frame->onCommand(CMainFrame::ID_FILE_SAVE);
    // A new document proposes [Setup] AppName and gets the default extension.
    QCOMPARE(proposed, QStringLiteral("KQ-517 Programmer.dat"));
    QFile file(target + QStringLiteral(".dat"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.size(), 1024);
    QCOMPARE(quint8(bytes.at(0x01C)), quint8(0xFB));
    QCOMPARE(bytes.mid(0x3C0, 6), QByteArray::fromHex("01040302" "0C0A"));
    QCOMPARE(frame->activeDocument()->GetPathName(), file.fileName());

    // Saved once, Save writes to the same file without asking.
    proposed = QStringLiteral("not asked");
    frame->onCommand(CMainFrame::ID_FILE_SAVE);
    QCOMPARE(proposed, QStringLiteral("not asked"));
}

void TestShell::saveFailureLeavesDocument()
{
    ProgramFolder folder;
    QTemporaryDir files;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    const QString before = frame->activeDocument()->GetPathName();
    CMainFrame::setFileDialogHook(
        [&](bool, const QString&) { return files.filePath(QStringLiteral("missing/folder/x.dat")); });
    ModalAnswerer answer;
    frame->onCommand(CMainFrame::ID_FILE_SAVE_AS);
    QCOMPARE(answer.count(), 1);
    QVERIFY(!answer.last().text.isEmpty());
    QCOMPARE(frame->activeDocument()->GetPathName(), before);
    QVERIFY(!frame->activeDocument()->hasFile());
}

void TestShell::documentWindowCaptions_data()
{
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QString>("newTitle");
    QTest::newRow("English") << QByteArray("English") << QStringLiteral("Channel Information");
    QTest::newRow("Chinese") << QByteArray("Chinese") << QStringLiteral("信道信息");
}

// A document window is captioned with its document's title: the language's
// name for a new document, then the name of the file it was opened from or
// last saved to.
void TestShell::documentWindowCaptions()
{
    QFETCH(QByteArray, language);
    QFETCH(QString, newTitle);
    ProgramFolder folder;
    folder.setLanguage(language);
    QTemporaryDir files;
    const QString opened = writeFile(files, QStringLiteral("in.dat"), newImageFile(0, 0));
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    QMdiSubWindow* first = frame->activeChildFrame();
    QVERIFY(first);
    // The placeholder at the end marks unsaved changes (none yet).
    newTitle += QStringLiteral("[*]");
    QCOMPARE(first->windowTitle(), newTitle);
    QVERIFY(!first->isWindowModified());

    QString answer = opened;
    CMainFrame::setFileDialogHook([&](bool, const QString&) { return answer; });
    frame->onCommand(CMainFrame::ID_FILE_OPEN);
    QMdiSubWindow* second = frame->activeChildFrame();
    QVERIFY(second && second != first);
    QCOMPARE(second->windowTitle(), QStringLiteral("in.dat[*]"));
    QCOMPARE(first->windowTitle(), newTitle);

    // Save As renames the window; a failed one leaves it.
    answer = files.filePath(QStringLiteral("renamed"));
    frame->onCommand(CMainFrame::ID_FILE_SAVE_AS);
    QCOMPARE(second->windowTitle(), QStringLiteral("renamed.dat[*]"));
    answer = files.filePath(QStringLiteral("missing/folder/x.dat"));
    ModalAnswerer failure;
    frame->onCommand(CMainFrame::ID_FILE_SAVE_AS);
    QCOMPARE(failure.count(), 1);
    QCOMPARE(second->windowTitle(), QStringLiteral("renamed.dat[*]"));
    QCOMPARE(first->windowTitle(), newTitle);
}

namespace {
// Puts the pointer over a tree item (or far away) and selects that item.
void selectUnderPointer(QTreeWidget* tree, QTreeWidgetItem* item, bool pointerOnItem = true)
{
    const QRect rect = tree->visualItemRect(item);
    QCursor::setPos(pointerOnItem ? tree->viewport()->mapToGlobal(rect.center()) : QPoint(-500, -500));
    tree->setCurrentItem(item);
}
}  // namespace

void TestShell::treeNavigation()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    frame->showNormal();
    frame->resize(1000, 600);
    QTreeWidget* tree = frame->tree();
    QTreeWidgetItem* root = tree->topLevelItem(0);
    QCOMPARE(root->childCount(), 3);
    QVERIFY(root->isExpanded());

    // Optional Features opens its dialog each time it is clicked.
    for (int round = 1; round <= 2; ++round) {
        ModalAnswerer answer;
        selectUnderPointer(tree, root->child(2));
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.last().className, QStringLiteral("COptionalFeaturesDlg"));
        QCOMPARE(tree->currentItem(), root);
    }
    {
        ModalAnswerer answer;
        selectUnderPointer(tree, root->child(0));
        QCOMPARE(answer.count(), 1);
        QCOMPARE(answer.last().className, QStringLiteral("CProductInfoDlg"));
        QCOMPARE(tree->currentItem(), root);
    }
    // Channel Information brings a hidden document window back.
    QMdiSubWindow* child = frame->activeChildFrame();
    child->close();
    QVERIFY(child->isHidden());
    selectUnderPointer(tree, root->child(1));
    QVERIFY(child->isVisible());
    QCOMPARE(tree->currentItem(), root);
    // Re-selecting the root does nothing.
    ModalAnswerer answer;
    selectUnderPointer(tree, root->child(2));
    selectUnderPointer(tree, root);
    QCOMPARE(answer.count(), 1);
}

void TestShell::treeKeyboardOpensNothing()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    QTreeWidget* tree = run.frame()->tree();
    QTreeWidgetItem* root = tree->topLevelItem(0);
    ModalAnswerer answer;
    selectUnderPointer(tree, root->child(2), false);
    QTest::qWait(30);
    QCOMPARE(answer.count(), 0);
    QCOMPARE(tree->currentItem(), root);
}

void TestShell::treeChineseTexts()
{
    ProgramFolder folder;
    folder.setLanguage("Chinese");
    Started run(folder.dir.path());
    QCOMPARE(run.status, CKQ_517App::kRunMessageLoop);
    QVERIFY(g_bChinese);
    QCOMPARE(g_strHelpFile, QStringLiteral("chHelp.chm"));
    QTreeWidgetItem* root = run.frame()->tree()->topLevelItem(0);
    QCOMPARE(root->text(0), QStringLiteral("KQ-517 编程软件"));
    QCOMPARE(root->child(0)->text(0), QStringLiteral("类型设置"));
    QCOMPARE(root->child(1)->text(0), QStringLiteral("信道信息"));
    QCOMPARE(root->child(2)->text(0), QStringLiteral("可选功能"));
    QCOMPARE(run.frame()->activeDocument()->GetTitle(), QStringLiteral("信道信息"));
    run.frame()->showNormal();
    ModalAnswerer answer;
    selectUnderPointer(run.frame()->tree(), root->child(2));
    QCOMPARE(answer.last().className, QStringLiteral("COptionalFeaturesDlg"));
}

void TestShell::controlBarToggle()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    QAction* item = frame->menuAction(CMainFrame::ID_VIEW_CONTROL_BAR);
    QVERIFY(item);
    QVERIFY(frame->navigationDock()->isVisible());
    QVERIFY(item->isChecked());
    frame->onCommand(CMainFrame::ID_VIEW_CONTROL_BAR);
    QVERIFY(frame->navigationDock()->isHidden());
    QVERIFY(!item->isChecked());
    frame->onCommand(CMainFrame::ID_VIEW_CONTROL_BAR);
    QVERIFY(frame->navigationDock()->isVisible());
    QVERIFY(item->isChecked());
}

void TestShell::navigationBarWidth_data()
{
    QTest::addColumn<int>("pointerX");
    QTest::addColumn<int>("lineX");
    QTest::addColumn<int>("width");
    // Main window 1000 wide: half is 500.
    QTest::newRow("40") << 40 << 80 << 40;
    QTest::newRow("5") << 5 << 80 << 11;
    QTest::newRow("300") << 300 << 300 << 300;
    QTest::newRow("beyond half") << 700 << 500 << 500;
}

void TestShell::navigationBarWidth()
{
    QFETCH(int, pointerX);
    QFETCH(int, lineX);
    QFETCH(int, width);
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    frame->showNormal();
    frame->resize(1000, 600);
    CNavigationBar* bar = frame->navigationBar();
    QCOMPARE(bar->width(), 220);
    QVERIFY(bar->sizingRect().isEmpty() || !bar->borderRect().isEmpty());
    bar->grab();  // one paint: the rectangles exist from here on
    const QRect s = bar->sizingRect();
    QVERIFY(!s.isEmpty());
    QTest::mousePress(bar, Qt::LeftButton, {}, s.center());
    QVERIFY(bar->isSizing());
    QMouseEvent move(QEvent::MouseMove, QPointF(pointerX, s.center().y()), bar->mapToGlobal(QPointF(pointerX, s.center().y())),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QCOMPARE(bar->trackingX(), lineX);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(pointerX, s.center().y()));
    QVERIFY(!bar->isSizing());
    QCOMPARE(bar->trackingX(), 0);
    QCOMPARE(bar->width(), width);
    QCOMPARE(bar->QWidget::width(), width);

    // Hidden and shown again, the bar keeps its width.
    frame->onCommand(CMainFrame::ID_VIEW_CONTROL_BAR);
    frame->onCommand(CMainFrame::ID_VIEW_CONTROL_BAR);
    QCOMPARE(bar->width(), width);
}

void TestShell::navigationBarCloseButton()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    frame->showNormal();
    CNavigationBar* bar = frame->navigationBar();
    bar->grab();
    const QRect k = bar->closeRect();
    QCOMPARE(k.size(), QSize(16, 15));

    // Pressed on the button, moved off and released elsewhere: nothing.
    QTest::mousePress(bar, Qt::LeftButton, {}, k.center());
    QVERIFY(bar->isPushed());
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(20, 100));
    QVERIFY(frame->navigationDock()->isVisible());
    QVERIFY(!bar->isPushed() && !bar->isHot());

    // Pressed on the caption and released over the button: the bar hides.
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(20, 15));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, k.center());
    QVERIFY(frame->navigationDock()->isHidden());
    QVERIFY(!frame->menuAction(CMainFrame::ID_VIEW_CONTROL_BAR)->isChecked());
    frame->onCommand(CMainFrame::ID_VIEW_CONTROL_BAR);
    QVERIFY(frame->navigationDock()->isVisible());
    QVERIFY(frame->menuAction(CMainFrame::ID_VIEW_CONTROL_BAR)->isChecked());

    // A double-click changes nothing.
    QTest::mouseDClick(bar, Qt::LeftButton, {}, QPoint(20, 15));
    QVERIFY(frame->navigationDock()->isVisible());
    QCOMPARE(bar->width(), 220);

    // Raised under the pointer; plain again once the pointer leaves the bar
    // or moves onto the tree.
    auto hover = [bar](QPoint at) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), bar->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
    };
    hover(k.center());
    QVERIFY(bar->isHot());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(bar, &leave);
    QVERIFY(!bar->isHot());
    hover(k.center());
    QVERIFY(bar->isHot());
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(frame->tree(), &enter);
    QVERIFY(!bar->isHot() && !bar->isPushed());

    // The frame: grey outline with white lines just outside its right and bottom sides.
    const QImage image = bar->grab().toImage();
    const QColor grey = bar->palette().color(QPalette::Disabled, QPalette::WindowText);
    const int w = image.width();
    const int h = image.height();
    QCOMPARE(image.pixelColor(w - 7, h / 2), grey);
    QCOMPARE(image.pixelColor(w - 6, h / 2), QColor(Qt::white));
    // The bar is laid out for the main window's client height (below the
    // menu bar): its frame closes 49 pixels above that height's bottom,
    // just above the status bar, not 49 pixels above the bar's own bottom.
    // Where the toolbar and status bar take more than those 49 pixels, the
    // frame still closes inside the bar.
    const int client = frame->height() - frame->menuWidget()->height();
    QVERIFY(client > h);
    const int layoutHeight = std::min(client, h + 47);
    const int bottom = layoutHeight - 50;
    QVERIFY(bottom < h && bottom > h - 49);
    QCOMPARE(image.pixelColor(w / 2, bottom), grey);
    // The tree ends two pixels above it.
    QCOMPARE(frame->tree()->geometry().y() + frame->tree()->geometry().height(), layoutHeight - 51);
}

void TestShell::modelBandAcrossFileNew()
{
    ProgramFolder folder;
    // Two models; the second with two bands.
    QByteArray text = folder.dir.readFile();
    text.replace("Field1=130 - 160MHz", "Field1=130 - 160MHz\r\nType2=KQ-518\r\nField2=400 - 470MHz|450 - 520MHz");
    QVERIFY(folder.dir.writeSettings(text));
    QTemporaryDir files;
    const QString path = writeFile(files, QStringLiteral("second.dat"), newImageFile(1, 1));
    Started run(folder.dir.path(), {path});
    QCOMPARE(run.status, CKQ_517App::kRunMessageLoop);
    QVERIFY2(run.frame()->windowTitle().contains(QStringLiteral("450 - 520MHz")), qPrintable(run.frame()->windowTitle()));

    // The opened file's model and band became the last choice; a new document takes them.
    ModalAnswerer answer(QMessageBox::Ok);
    run.frame()->onCommand(CMainFrame::ID_FILE_NEW);
    QCOMPARE(answer.count(), 1);
    CKQ_517Doc* doc = run.frame()->activeDocument();
    QVERIFY(g_bNewDocument);
    QCOMPARE(doc->image().at(layout::kModelIndex), std::uint8_t(1));
    QCOMPARE(doc->image().at(layout::kBandIndex), std::uint8_t(1));
    QVERIFY(run.frame()->windowTitle().contains(QStringLiteral("KQ-518")));
}

void TestShell::languageChange_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<int>("choice");  // 0 English, 1 Chinese, -1 Cancel
    QTest::addColumn<QByteArray>("written");  // empty: nothing written, no restart
    QTest::newRow("English to Chinese") << QByteArray("English") << 1 << QByteArray("Chinese");
    QTest::newRow("Chinese to English") << QByteArray("Chinese") << 0 << QByteArray("English");
    QTest::newRow("OK unchanged") << QByteArray("English") << 0 << QByteArray();
    QTest::newRow("Cancel") << QByteArray("English") << -1 << QByteArray();
}

void TestShell::languageChange()
{
    QFETCH(QByteArray, from);
    QFETCH(int, choice);
    QFETCH(QByteArray, written);
    ProgramFolder folder;
    folder.setLanguage(from);
    Started run(folder.dir.path());
    QCOMPARE(run.status, CKQ_517App::kRunMessageLoop);

    QStringList launched;
    QByteArray settingsAtLaunch;
    CLanguageDlg::setRelaunchHook([&](const QString& program) {
        launched << program;
        settingsAtLaunch = folder.dir.readFile();
    });
    ModalAnswerer answer;
    answer.onDialog([choice](QDialog* dialog) {
        auto* language = qobject_cast<CLanguageDlg*>(dialog);
        QVERIFY(language);
        if (choice < 0) {
            dialog->reject();
            return;
        }
        dialog->findChild<QAbstractButton*>(LanguageModule::controlName(choice == 1 ? 1007 : 1006))->click();
        language->OnOK();
    });
    HelpLauncher::clearRequests();
    run.frame()->onCommand(CKQ_517View::ID_LANGUAGE);
    QCOMPARE(answer.count(), 1);
    QCOMPARE(answer.last().className, QStringLiteral("CLanguageDlg"));
    if (written.isEmpty()) {
        QVERIFY(launched.isEmpty());
        QVERIFY(!QFile::exists(folder.dir.filePath(QStringLiteral("Halvorn.ini"))));
        QVERIFY(run.frame()->isVisible());
        return;
    }
    QCOMPARE(launched, QStringList{QCoreApplication::applicationFilePath()});
    QVERIFY(settingsAtLaunch.contains("Language=" + written));
    QVERIFY(folder.dir.readFile(QStringLiteral("Halvorn.ini")).contains("Language=" + written));
    QVERIFY(!run.frame()->isVisible());  // this instance ends
}

namespace {
QString g_readOnlyFolder;
bool writableOutsideReadOnlyFolder(const QString& filePath)
{
    return !filePath.startsWith(g_readOnlyFolder + QLatin1Char('/'));
}
}  // namespace

// Installed, the program folder may not be written: the new language goes to
// the user's copy of the settings file before the restart, and the restarted
// program starts in it; the program folder keeps its files as they were.
void TestShell::languageChangeInReadOnlyFolder()
{
    ProgramFolder folder;
    const QByteArray shipped = folder.dir.readFile();
    g_readOnlyFolder = folder.dir.path();
    const auto previousCheck = SettingsFileLocation::setWritableCheck(writableOutsideReadOnlyFolder);
    const auto restore = qScopeGuard([&] {
        SettingsFileLocation::setWritableCheck(previousCheck);
        g_settings.Close();
    });
    const QString copy = UserStore::folder() + QStringLiteral("/KQ-517.ini");

    QByteArray copyAtLaunch;
    {
        Started run(folder.dir.path());
        QCOMPARE(run.status, CKQ_517App::kRunMessageLoop);
        QVERIFY(!g_bChinese);
        CLanguageDlg::setRelaunchHook([&](const QString&) {
            QFile file(copy);
            copyAtLaunch = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
        });
        ModalAnswerer answer;
        answer.onDialog([](QDialog* dialog) {
            dialog->findChild<QAbstractButton*>(LanguageModule::controlName(1007))->click();
            qobject_cast<CLanguageDlg*>(dialog)->OnOK();
        });
        run.frame()->onCommand(CKQ_517View::ID_LANGUAGE);
        QCOMPARE(answer.count(), 1);
    }
    QVERIFY2(copyAtLaunch.contains("Language=Chinese"), copyAtLaunch.constData());  // before the restart
    QVERIFY(copyAtLaunch.contains("Type1=KQ-517"));  // the rest of the shipped file came along
    QCOMPARE(folder.dir.readFile(), shipped);
    QVERIFY(!QFile::exists(folder.dir.filePath(QStringLiteral("Halvorn.ini"))));

    Started again(folder.dir.path());
    QCOMPARE(again.status, CKQ_517App::kRunMessageLoop);
    QVERIFY(g_bChinese);
    QCOMPARE(g_settings.path(), copy);
}

void TestShell::aboutBox()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    QString version, copyright, owner, title;
    ModalAnswerer answer;
    answer.onDialog([&](QDialog* dialog) {
        auto* about = qobject_cast<CAboutDlg*>(dialog);
        QVERIFY(about);
        title = about->windowTitle();
        version = about->versionText()->text();
        copyright = about->copyrightText()->text();
        owner = about->ownerText()->text();
        QTest::keyClick(about, Qt::Key_F1);
        dialog->accept();
    });
    HelpLauncher::clearRequests();
    run.frame()->onCommand(CMainFrame::ID_APP_ABOUT);
    QCOMPARE(answer.count(), 1);
    QCOMPARE(title, QStringLiteral("About KQ-517 Programmer"));
    QCOMPARE(version, QStringLiteral("KQ-517 Programmer Version 1.0"));
    QCOMPARE(copyright, QStringLiteral("Copyright (C) 2026"));
    QCOMPARE(owner, QStringLiteral("KQ-517 Radio Team"));
    QCOMPARE(HelpLauncher::requests().size(), 1);
    QCOMPARE(HelpLauncher::requests().first().context, 0x10000 + 100);
}

void TestShell::dialogKeys()
{
    // Escape closes the whole dialog, F1 asks for the dialog's own context,
    // whatever control has the focus.
    ProgramFolder folder;
    Started run(folder.dir.path());
    struct Case {
        int command;
        int focusControl;
        int context;
    };
    for (const Case& c : {Case{CKQ_517View::ID_LANGUAGE, 1007, 32799},
                          Case{CMainFrame::ID_APP_ABOUT, 1, 0x10000 + 100}}) {
        HelpLauncher::clearRequests();
        bool closedByEscape = false;
        ModalAnswerer answer;
        answer.answerOnce();
        answer.onDialog([&](QDialog* dialog) {
            auto* control = dialog->findChild<QWidget*>(LanguageModule::controlName(c.focusControl));
            QVERIFY(control);
            QTest::keyClick(control, Qt::Key_F1);
            QTest::keyClick(control, Qt::Key_Escape);
            closedByEscape = !dialog->isVisible();
            if (dialog->isVisible())
                dialog->reject();
        });
        run.frame()->onCommand(c.command);
        QCOMPARE(answer.count(), 1);
        QVERIFY(closedByEscape);
        QCOMPARE(HelpLauncher::requests().size(), 1);
        QCOMPARE(HelpLauncher::requests().first().context, c.context);
    }
    QVERIFY(run.frame()->isVisible());  // no language change, no restart
}

void TestShell::helpContexts()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    run.frame()->onCommand(CMainFrame::ID_HELP);
    QCOMPARE(HelpLauncher::requests().size(), 1);
    QCOMPARE(HelpLauncher::requests().first().file, QStringLiteral("enHelp.chm"));
    QCOMPARE(HelpLauncher::requests().first().command, 15);
    QCOMPARE(HelpLauncher::requests().first().context, 0x10000 + 129);
}

void TestShell::backgroundTiles_data()
{
    QTest::addColumn<QSize>("area");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::newRow("smaller than the picture") << QSize(100, 100) << 1 << 1;
    QTest::newRow("exactly twice as wide") << QSize(476, 157) << 3 << 2;
    QTest::newRow("one pixel more") << QSize(477, 158) << 3 << 2;
    QTest::newRow("empty") << QSize(0, 0) << 1 << 1;
}

void TestShell::backgroundTiles()
{
    QFETCH(QSize, area);
    QFETCH(int, columns);
    QFETCH(int, rows);
    const QList<QPoint> tiles = CWorkspaceBackground::tileOrigins(QRect(QPoint(0, 0), area), QSize(238, 157));
    QCOMPARE(tiles.size(), columns * rows);
    QCOMPARE(tiles.last(), QPoint((columns - 1) * 238, (rows - 1) * 157));
    QVERIFY(CWorkspaceBackground::tileOrigins(QRect(QPoint(0, 0), area), QSize()).isEmpty());
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
