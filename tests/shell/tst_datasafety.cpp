// What the program does so that nothing a user typed, read or saved is lost:
// the modified mark and the save question before a document goes, reads that
// change the document only when complete, saves refused during a transfer.

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTreeWidget>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

#include <memory>

#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "link/ui/ProcessDlg.h"
#include "settings/Globals.h"
#include "settings/ui/OptionalFeaturesDlg.h"
#include "settings/ui/AppMessage.h"
#include "shell/ChildFrame.h"
#include "settings/ui/HelpLauncher.h"
#include "shell/KQ_517App.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/ui/LanguageDlg.h"
#include "settings/ui/LanguageModule.h"
#include "shell/MainFrame.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/SimProcess.h"
#include "tests/support/TestSupport.h"
#include "view/KQ_517View.h"
#include "view/MSFlexGrid.h"

namespace {

// One channel typed into row 1 of the active view, as one undo step.
void editChannel(CKQ_517View* view, const QString& rx)
{
    const ChannelViewState before = view->captureState();
    putChannel(*view->GetDocument(), 1, {rx, rx, QStringLiteral("None"), QStringLiteral("None"), QStringLiteral("Yes")});
    view->recordChange(QStringLiteral("edit"), before);
}

// A radio whose memory differs from a new image in every channel and option.
MemoryImage radioImage()
{
    MemoryImage image = MemoryImage::newImage();
    for (int ch = 1; ch <= layout::kChannelCount; ++ch) {
        std::uint8_t* rec = image.channel(ch);
        const std::uint8_t bytes[] = {0x00, 0x50, 0x45, 0x14, 0x00, 0x50, 0x45, 0x14,
                                      0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0x11, 0x22, 0x33};
        std::copy(std::begin(bytes), std::end(bytes), rec);
        rec[2] = std::uint8_t(0x40 + ch % 10);
    }
    image.set(layout::kSquelchLevel, 3);
    for (int offset = layout::kRadioByteCount; offset < layout::kImageSize; ++offset)
        image.set(offset, 0xA5);
    return image;
}

}  // namespace

class TestDataSafety : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        HelpLauncher::setLaunchEnabled(false);
        setAppName(QStringLiteral("KQ-517 Programmer"));
    }

    // First: the real file dialog keeps state across the process's windows,
    // so it runs before the other tests have opened and closed theirs.
    void saveAsAsksBeforeReplacing();
    void modifiedMarkInTitle();
    void exitAsks_data();
    void exitAsks();
    void hiddenDocumentsAskToo();
    void fileNewAsksAfterItsOwnQuestion();
    void languageChangeAsksFirst();
    void optionalFeaturesIsOneStep();
    void saveWaitsForRunningRead();
    void failedReadThenSaveAsGivesTheOpenFile();
    void refusedValueStopsTheCommand_data();
    void refusedValueStopsTheCommand();
    void gridHasTheFocus();
    void oddModelByteIsNotRemembered();
};

// Channel 2 of the active view holds 145 MHz; its Rx editor is open with
// 1455 typed (out of the band), nothing pressed yet.
static QLineEdit* typeRefusedValue(CMainFrame* frame)
{
    CKQ_517View* view = frame->activeView();
    putChannel(*view->GetDocument(), 2, {QStringLiteral("145.00000")});
    view->grid()->SetRowCol(2, 1);
    auto* edit = view->findChild<QLineEdit*>(QStringLiteral("id2127"));
    if (!edit || edit->isHidden())
        return nullptr;
    edit->selectAll();
    QTest::keyClicks(edit, "1455");
    return edit;
}

void TestDataSafety::refusedValueStopsTheCommand_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("Save") << int(CMainFrame::ID_FILE_SAVE);
    QTest::newRow("Save As") << int(CMainFrame::ID_FILE_SAVE_AS);
    QTest::newRow("Exit") << int(CMainFrame::ID_APP_EXIT);
    QTest::newRow("New") << int(CMainFrame::ID_FILE_NEW);
    QTest::newRow("Write") << int(CKQ_517View::ID_PROGRAM_WRITE);
    QTest::newRow("Write to Several Radios") << int(CKQ_517View::ID_PROGRAM_WRITE_SEVERAL);
    QTest::newRow("Print Preview") << int(CKQ_517View::ID_FILE_PRINT_PREVIEW);
    QTest::newRow("Export") << int(CKQ_517View::ID_FILE_EXPORT_CHANNELS);
    QTest::newRow("Copy") << int(CKQ_517View::ID_EDIT_COPY_ROWS);
    QTest::newRow("Undo") << int(CKQ_517View::ID_EDIT_UNDO);
}

// A refused value in an open editor: the message, and the command stops
// there; nothing is saved, written, printed, exported or copied, no channel
// is emptied, and the editor still holds the text for the user to correct.
void TestDataSafety::refusedValueStopsTheCommand()
{
    QFETCH(int, command);
    ProgramFolder folder;
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("out.dat"));
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    CMainFrame::setFileDialogHook([&](bool, const QString&) { return path; });
    QLineEdit* edit = typeRefusedValue(frame);
    QVERIFY(edit);
    CKQ_517Doc* doc = frame->activeDocument();
    const QByteArray image = doc->image().toByteArray();
    QApplication::clipboard()->setText(QStringLiteral("untouched"));

    ModalAnswerer boxes;  // message boxes OK, any other dialog rejected
    frame->onCommand(command);
    // New asks its own question first; after the refusal nothing more comes
    // (no save question, dialog or transfer).
    QCOMPARE(boxes.count(), command == CMainFrame::ID_FILE_NEW ? 2 : 1);
    QCOMPARE(boxes.last().text, QStringLiteral("Out of range,please input again."));
    QVERIFY(!QFile::exists(path));
    QVERIFY(frame->isVisible());
    QCOMPARE(frame->activeDocument(), doc);
    QCOMPARE(doc->image().toByteArray(), image);
    QCOMPARE(frame->activeView()->grid()->GetTextMatrix(2, 1), QStringLiteral("145.00000"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("untouched"));
    QVERIFY(!edit->isHidden());
    QCOMPARE(edit->text(), QStringLiteral("1455"));
    QVERIFY(!frame->activeView()->m_pProcessDlg->hasWindow());
}

// After a file is opened, after New and after a dialog, typing goes into
// the grid: it has the keyboard focus.
void TestDataSafety::gridHasTheFocus()
{
    ProgramFolder folder;
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("in.dat"));
    QVERIFY(MemoryImage::newImage().saveFile(path));
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    frame->show();
    QApplication::setActiveWindow(frame);
    QVERIFY(QTest::qWaitForWindowActive(frame));
    auto gridFocused = [frame] {
        return frame->activeView() && QApplication::focusWidget() == frame->activeView()->grid();
    };

    CMainFrame::setFileDialogHook([&](bool, const QString&) { return path; });
    frame->onCommand(CMainFrame::ID_FILE_OPEN);
    QTRY_VERIFY(gridFocused());

    {
        ModalAnswerer answer;
        frame->onCommand(CMainFrame::ID_FILE_NEW);
    }
    // Headless, the window manager's part: the main window active again
    // once the message box is gone.
    QApplication::setActiveWindow(frame);
    QTRY_VERIFY(gridFocused());

    // A dialog opened from the navigation bar, closed again.
    frame->tree()->setFocus();
    {
        ModalAnswerer answer;
        frame->onCommand(CMainFrame::ID_OPTIONAL_FEATURES);
        QCOMPARE(answer.count(), 1);
    }
    QApplication::setActiveWindow(frame);
    QTRY_VERIFY(gridFocused());
    // And what is typed lands in the table.
    ModalAnswerer boxes;
    CMSFlexGrid* grid = frame->activeView()->grid();
    const QPoint cell(int(grid->GetCol()), int(grid->GetRow()));
    for (const char c : {'1', '4', '6'})
        QTest::keyClick(QApplication::focusWidget(), c);  // as a person types: into what has the focus
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(cell, QPoint(1, 1));
    QCOMPARE(grid->GetTextMatrix(1, 1), QStringLiteral("146.00000"));
}

// Save As with a name typed without its extension: the dialog adds ".dat"
// itself, sees that the file exists and asks before replacing it.
void TestDataSafety::saveAsAsksBeforeReplacing()
{
    ProgramFolder folder;
    QTemporaryDir tmp;
    const QString existing = tmp.filePath(QStringLiteral("radio.dat"));
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("precious");
    file.close();
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    CMainFrame::setFileDialogHook({});

    QStringList questions;
    int dialogs = 0;
    int steady = 0;
    bool missed = false;
    const QString wanted = QFileInfo(existing).absoluteFilePath();
    QTimer driver;
    connect(&driver, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            // A question about the proposed name means the typed one had not
            // reached the dialog yet: answered No, and the attempt is left.
            if (box->text().contains(QStringLiteral("radio.dat")))
                questions << box->text();
            else
                missed = true;
            box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click() : box->reject();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            // The name is typed once the dialog is up. The dialog may still be
            // loading the proposed folder and put the proposed name back when
            // that folder arrives, so it is accepted only after it has held the
            // typed name (with the suffix it adds) for a few ticks running.
            ++dialogs;
            const bool holdsName = dialog->selectedFiles() == QStringList{wanted};
            steady = holdsName ? steady + 1 : 0;
            if (!questions.isEmpty() || missed || dialogs > 250) {
                dialog->reject();  // answered No: the dialog stays open, and is left
            } else if (!holdsName && dialogs % 5 == 1) {
                dialog->selectFile(tmp.filePath(QStringLiteral("radio")));
            } else if (steady == 5) {
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            }
        }
    });
    // Driving a real dialog from a timer now and then misses its moment on a
    // busy machine; the dialog is then opened again. The file must survive
    // every attempt, and one of them must end in the question.
    for (int attempt = 0; attempt < 5 && questions.isEmpty(); ++attempt) {
        dialogs = 0;
        steady = 0;
        missed = false;
        driver.start(20);
        frame->onCommand(CMainFrame::ID_FILE_SAVE_AS);
        driver.stop();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("precious"));
        file.close();
    }
    if (questions.isEmpty())
        QSKIP("the file dialog could not be driven in time; the file survived every attempt");
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions.first().contains(QStringLiteral("radio.dat")), qPrintable(questions.first()));
}

// A file whose model byte the settings do not list: it is shown, but the
// byte is not remembered as the last model, so a later File New still has
// its title and band.
void TestDataSafety::oddModelByteIsNotRemembered()
{
    ProgramFolder folder;
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("odd.dat"));
    MemoryImage odd = MemoryImage::newImage();
    odd.set(layout::kModelIndex, 9);
    QVERIFY(odd.saveFile(path));
    Started run(folder.dir.path(), {path});
    CMainFrame* frame = run.frame();
    QVERIFY(frame->activeDocument());
    QCOMPARE(int(frame->activeDocument()->image().at(layout::kModelIndex)), 9);
    QVERIFY(frame->windowTitle().contains(QStringLiteral("Type:KQ-517  Fre:130 - 160MHz")));
    QCOMPARE(frame->activeView()->m_nBandHigh, 16000000);

    ModalAnswerer answer;
    frame->onCommand(CMainFrame::ID_FILE_NEW);
    QCOMPARE(int(frame->activeDocument()->image().at(layout::kModelIndex)), 0);
    QVERIFY(frame->windowTitle().contains(QStringLiteral("Type:KQ-517  Fre:130 - 160MHz")));
    QCOMPARE(frame->activeView()->m_nBandLow, 13000000);
}

void TestDataSafety::modifiedMarkInTitle()
{
    ProgramFolder folder;
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("plan.dat"));
    QVERIFY(MemoryImage::newImage().saveFile(path));
    Started run(folder.dir.path(), {path});
    QCOMPARE(run.status, CKQ_517App::kRunMessageLoop);
    CMainFrame* frame = run.frame();
    QMdiSubWindow* child = frame->activeChildFrame();
    CKQ_517View* view = frame->activeView();
    // Just opened: clean.
    QVERIFY(!frame->activeDocument()->IsModified());
    QVERIFY(!child->isWindowModified());
    QCOMPARE(child->windowTitle(), QStringLiteral("plan.dat[*]"));

    editChannel(view, QStringLiteral("145.00000"));
    QVERIFY(child->isWindowModified());
    QVERIFY(frame->menuAction(CKQ_517View::ID_EDIT_UNDO)->isEnabled());
    QVERIFY(!frame->menuAction(CKQ_517View::ID_EDIT_REDO)->isEnabled());

    // Save writes the edit and makes the document clean again.
    ModalAnswerer none;
    frame->onCommand(CMainFrame::ID_FILE_SAVE);
    QCOMPARE(none.count(), 0);
    QVERIFY(!child->isWindowModified());
    MemoryImage saved;
    QVERIFY(saved.loadFile(path));
    QCOMPARE(int(saved.channel(1)[layout::channel::kRxFrequency + 3]), 0x14);

    // Undo after a save: modified again, and Redo is offered.
    frame->onCommand(CKQ_517View::ID_EDIT_UNDO);
    QVERIFY(child->isWindowModified());
    QVERIFY(frame->menuAction(CKQ_517View::ID_EDIT_REDO)->isEnabled());
    QCOMPARE(view->grid()->GetTextMatrix(1, 1), QString());
}

void TestDataSafety::exitAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saves");
    QTest::newRow("Save") << int(QMessageBox::Save) << true << true;
    QTest::newRow("Don't Save") << int(QMessageBox::Discard) << true << false;
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false << false;
}

void TestDataSafety::exitAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    QFETCH(bool, saves);
    ProgramFolder folder;
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("new.dat"));
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    QStringList proposed;
    CMainFrame::setFileDialogHook([&](bool save, const QString& name) {
        proposed << (save ? name : QString());
        return path;
    });
    CKQ_517View* view = frame->activeView();
    editChannel(view, QStringLiteral("146.50000"));

    ModalAnswerer boxes(static_cast<QMessageBox::StandardButton>(answer), ModalAnswerer::MessageBoxes);
    frame->onCommand(CMainFrame::ID_APP_EXIT);
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.last().text, QStringLiteral("Save changes to \"Channel Information\"?"));
    QCOMPARE(boxes.last().buttons, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    QCOMPARE(boxes.last().caption, QStringLiteral("KQ-517 Programmer"));
    QCOMPARE(frame->isVisible(), !closes);
    QCOMPARE(QFile::exists(path), saves);
    if (saves) {
        QCOMPARE(proposed.size(), 1);  // a new document asks for its name
        MemoryImage saved;
        QVERIFY(saved.loadFile(path));
        QCOMPARE(int(saved.channel(1)[layout::channel::kRxFrequency + 3]), 0x14);
    }
    if (!closes) {
        QVERIFY(frame->activeDocument()->IsModified());
        QCOMPARE(view->grid()->GetTextMatrix(1, 1), QStringLiteral("146.50000"));
    }
}

// A hidden document window still holds its changes; Exit shows it and asks.
void TestDataSafety::hiddenDocumentsAskToo()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    QMdiSubWindow* child = frame->activeChildFrame();
    editChannel(frame->activeView(), QStringLiteral("147.00000"));
    frame->onCommand(CMainFrame::ID_FILE_CLOSE);
    QVERIFY(child->isHidden());

    ModalAnswerer boxes(QMessageBox::Cancel, ModalAnswerer::MessageBoxes);
    QVERIFY(!frame->close());
    QCOMPARE(boxes.count(), 1);
    QVERIFY(!child->isHidden());

    // An unmodified program closes without a word.
    frame->activeView()->undoStack()->setClean();
    QVERIFY(frame->close());
    QCOMPARE(boxes.count(), 1);
}

void TestDataSafety::fileNewAsksAfterItsOwnQuestion()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    QPointer<QMdiSubWindow> before = frame->activeChildFrame();
    editChannel(frame->activeView(), QStringLiteral("148.00000"));

    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    boxes.setAnswers({QMessageBox::Ok, QMessageBox::Cancel});
    frame->onCommand(CMainFrame::ID_FILE_NEW);
    QCOMPARE(boxes.texts(), QStringList({QStringLiteral("All data will be Cleared!"),
                                         QStringLiteral("Save changes to \"Channel Information\"?")}));
    QVERIFY(before);
    QCOMPARE(frame->activeChildFrame(), before.data());
    QCOMPARE(frame->activeView()->grid()->GetTextMatrix(1, 1), QStringLiteral("148.00000"));

    boxes.setAnswers({QMessageBox::Ok, QMessageBox::Discard});
    frame->onCommand(CMainFrame::ID_FILE_NEW);
    QCOMPARE(boxes.count(), 4);
    QVERIFY(!before);
    QVERIFY(!frame->activeDocument()->IsModified());
}

void TestDataSafety::languageChangeAsksFirst()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    editChannel(frame->activeView(), QStringLiteral("149.00000"));
    QStringList launched;
    CLanguageDlg::setRelaunchHook([&](const QString& program) { launched << program; });

    // The question comes up inside the dialog's OK: a second answerer takes it.
    ModalAnswerer boxes(QMessageBox::Cancel, ModalAnswerer::MessageBoxes);
    ModalAnswerer answer(ModalAnswerer::OtherDialogs);
    answer.onDialog([](QDialog* dialog) {
        auto* language = qobject_cast<CLanguageDlg*>(dialog);
        QVERIFY(language);
        dialog->findChild<QAbstractButton*>(LanguageModule::controlName(1007))->click();
        language->OnOK();
    });
    frame->onCommand(CKQ_517View::ID_LANGUAGE);
    QCOMPARE(answer.count(), 1);
    QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Save changes to \"Channel Information\"?")});
    QVERIFY(launched.isEmpty());
    QVERIFY(frame->isVisible());
    QVERIFY(folder.dir.readFile().contains("Language=English"));
    QVERIFY(!folder.dir.readFile().contains("Language=Chinese"));
    CLanguageDlg::setRelaunchHook({});
}

void TestDataSafety::optionalFeaturesIsOneStep()
{
    ProgramFolder folder;
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    CKQ_517Doc* doc = frame->activeDocument();
    const std::uint8_t squelch = doc->image().at(layout::kSquelchLevel);
    ModalAnswerer answer(ModalAnswerer::OtherDialogs);
    answer.onDialog([](QDialog* dialog) {
        auto* combo = dialog->findChild<QComboBox*>(LanguageModule::controlName(COptionalFeaturesDlg::IDC_COMBO_SQUELCH));
        QVERIFY(combo);
        combo->setCurrentIndex((combo->currentIndex() + 1) % combo->count());
        dialog->accept();
    });
    frame->onCommand(CMainFrame::ID_OPTIONAL_FEATURES);
    QCOMPARE(answer.count(), 1);
    QUndoStack* history = frame->activeView()->undoStack();
    QCOMPARE(history->count(), 1);
    QVERIFY(doc->IsModified());
    const QByteArray changed = doc->image().toByteArray();
    frame->onCommand(CKQ_517View::ID_EDIT_UNDO);
    QCOMPARE(doc->image().at(layout::kSquelchLevel), squelch);
    QVERIFY(!doc->IsModified());
    frame->onCommand(CKQ_517View::ID_EDIT_REDO);
    QCOMPARE(doc->image().toByteArray(), changed);
}

// Save pressed while a read fills the image used to encode the old grid into
// it, and the read then showed and saved the old channels.
void TestDataSafety::saveWaitsForRunningRead()
{
    QTemporaryDir tmp;
    const QString radioPath = tmp.filePath(QStringLiteral("radio.dat"));
    const MemoryImage radio = radioImage();
    QVERIFY(radio.saveFile(radioPath));
    // Unpaced: the Save commands arrive through the read's own pump passes,
    // whatever the line speed.
    SimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--image"), radioPath, QStringLiteral("--baud"), QStringLiteral("0")}),
             qPrintable(sim.error()));
    ProgramFolder folder;
    folder.mapPort("COM1", sim.devicePath());
    Started run(folder.dir.path());
    CMainFrame* frame = run.frame();
    CKQ_517View* view = frame->activeView();
    const QString savePath = tmp.filePath(QStringLiteral("saved.dat"));
    int fileDialogs = 0;
    CMainFrame::setFileDialogHook([&](bool, const QString&) {
        ++fileDialogs;
        return savePath;
    });

    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    frame->onCommand(CKQ_517View::ID_PROGRAM_READ);
    QDialog* window = view->m_pProcessDlg->window();
    QVERIFY(window);
    auto* bar = window->findChild<QProgressBar*>(QStringLiteral("id1001"));
    bool tried = false;
    connect(bar, &QProgressBar::valueChanged, this, [&](int value) {
        if (value == 10 && !tried) {
            tried = true;
            frame->onCommand(CMainFrame::ID_FILE_SAVE);
            frame->onCommand(CMainFrame::ID_FILE_SAVE_AS);
        }
    });
    window->findChild<QPushButton*>(LanguageModule::controlName(1))->click();
    QCoreApplication::sendPostedEvents(view, QEvent::MetaCall);
    QVERIFY(tried);
    QCOMPARE(fileDialogs, 0);
    QVERIFY(!QFile::exists(savePath));
    QVERIFY2(boxes.seen().isEmpty(), qPrintable(boxes.texts().join(QLatin1Char('\n'))));

    // The read is whole, one undo step, and what a save then writes.
    QVERIFY(frame->activeDocument()->IsModified());
    QCOMPARE(view->undoStack()->count(), 1);
    frame->onCommand(CMainFrame::ID_FILE_SAVE);
    QCOMPARE(fileDialogs, 1);
    const QByteArray saved = readFile(savePath);
    QCOMPARE(saved.left(layout::kRadioByteCount), radio.toByteArray().left(layout::kRadioByteCount));
}

// A read that fails at the last row, then Save As: the file that was open
// before, byte for byte, odd bytes in its channels included.
void TestDataSafety::failedReadThenSaveAsGivesTheOpenFile()
{
    QTemporaryDir tmp;
    const QString radioPath = tmp.filePath(QStringLiteral("radio.dat"));
    QVERIFY(radioImage().saveFile(radioPath));
    SimProcess sim;
    QVERIFY2(sim.start({QStringLiteral("--image"), radioPath, QStringLiteral("--baud"), QStringLiteral("0"),
                        QStringLiteral("--no-ack-at"), QStringLiteral("120")}),
             qPrintable(sim.error()));
    ProgramFolder folder;
    folder.mapPort("COM1", sim.devicePath());

    MemoryImage original = MemoryImage::newImage();
    std::uint8_t* ch2 = original.channel(2);
    const std::uint8_t channel[] = {0x00, 0x50, 0x45, 0x14, 0x00, 0x50, 0x45, 0x14,
                                    0x50, 0x06, 0x23, 0x80, 0xFE, 0x01, 0x02, 0x03};
    std::copy(std::begin(channel), std::end(channel), ch2);
    const QString openPath = tmp.filePath(QStringLiteral("open.dat"));
    QVERIFY(original.saveFile(openPath));
    const QByteArray openBytes = readFile(openPath);

    Started run(folder.dir.path(), {openPath});
    CMainFrame* frame = run.frame();
    CKQ_517View* view = frame->activeView();
    ModalAnswerer boxes(ModalAnswerer::MessageBoxes);
    frame->onCommand(CKQ_517View::ID_PROGRAM_READ);
    view->m_pProcessDlg->window()->findChild<QPushButton*>(LanguageModule::controlName(1))->click();
    QCoreApplication::sendPostedEvents(view, QEvent::MetaCall);
    QCOMPARE(boxes.texts(), QStringList{LanguageModule::string(61454)});
    QVERIFY(!frame->activeDocument()->IsModified());

    const QString savePath = tmp.filePath(QStringLiteral("after.dat"));
    CMainFrame::setFileDialogHook([&](bool, const QString&) { return savePath; });
    frame->onCommand(CMainFrame::ID_FILE_SAVE_AS);
    QCOMPARE(readFile(savePath), openBytes);
}

QTEST_MAIN(TestDataSafety)
#include "tst_datasafety.moc"
