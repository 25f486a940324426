// CMainFrame, its commands: routing a command id to the frame or the active
// view, the commands refused while a transfer runs, the file commands with
// the save question, and the launching of the frame's dialogs.

#include "shell/MainFrame.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QUndoStack>
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/ui/OptionalFeaturesDlg.h"
#include "settings/ui/ProductInfoDlg.h"
#include "settings/ui/SaveFileDialog.h"
#include "shell/AboutDlg.h"
#include "settings/ui/AppMessage.h"
#include "shell/ChildFrame.h"
#include "shell/DocTemplate.h"
#include "settings/ui/HelpLauncher.h"
#include "settings/ui/LanguageDlg.h"
#include "shell/KQ_517App.h"
#include "codeplug/KQ_517Doc.h"
#include "shell/KeyLockState.h"
#include "settings/ui/LanguageModule.h"
#include "shell/NavigationBar.h"
#include "shell/WorkspaceBackground.h"
#include "texts/ImageFileTexts.h"
#include "view/KQ_517View.h"
#include "view/SharedPrinter.h"
#include "texts/TextTable.h"

namespace {
CMainFrame::FileDialogHook g_fileDialogHook;

constexpr int kSaveQuestionText = 62001;  // "Save changes to \"%1\"?"
constexpr int kSaveFailedText = 62007;
constexpr int kHelpBase = 0x10000;   // help ids less what the help routine subtracts

bool isViewCommand(int id)
{
    switch (id) {
    case CKQ_517View::ID_PROGRAM_READ:
    case CKQ_517View::ID_PROGRAM_WRITE:
    case CKQ_517View::ID_SETUP_COM:
    case CKQ_517View::ID_SETUP_OPTIONS:
    case CKQ_517View::ID_PROGRAM_WRITE_SEVERAL:
    case CKQ_517View::ID_LANGUAGE:
    case CKQ_517View::ID_FILE_PRINT:
    case CKQ_517View::ID_FILE_PRINT_DIRECT:
    case CKQ_517View::ID_FILE_PRINT_PREVIEW:
    case CKQ_517View::ID_EDIT_UNDO:
    case CKQ_517View::ID_EDIT_REDO:
        return true;
    default:
        return CKQ_517View::isPlanCommand(id);
    }
}

// Commands that would start a second transfer, close a view, a document or
// the program, or save a document whose image a read is filling, wait until a
// running transfer ends.
bool refusedDuringTransfer(int id)
{
    switch (id) {
    case CMainFrame::ID_FILE_NEW:
    case CMainFrame::ID_FILE_OPEN:
    case CMainFrame::ID_FILE_CLOSE:
    case CMainFrame::ID_FILE_SAVE:
    case CMainFrame::ID_FILE_SAVE_AS:
    case CMainFrame::ID_APP_EXIT:
    case CKQ_517View::ID_PROGRAM_READ:
    case CKQ_517View::ID_PROGRAM_WRITE:
    case CKQ_517View::ID_PROGRAM_WRITE_SEVERAL:
    case CKQ_517View::ID_LANGUAGE:
        return true;
    default:
        return false;
    }
}

}  // namespace

void CMainFrame::setFileDialogHook(FileDialogHook hook) { g_fileDialogHook = std::move(hook); }

// ---------------------------------------------------------------- commands

void CMainFrame::onCommand(int id)
{
    if (refusedDuringTransfer(id) && CKQ_517View::anyTransferRunning())
        return;
    if (isViewCommand(id)) {
        if (CKQ_517View* view = activeView()) {
            view->OnCommand(id);
            if (isActiveWindow())
                focusActiveView();
        }
        return;
    }
    switch (id) {
    case ID_FILE_NEW:
        CKQ_517App::OnFileNew();
        break;
    case ID_FILE_OPEN:
        OnFileOpen();
        break;
    case ID_FILE_CLOSE:
        OnFileClose();
        break;
    case ID_FILE_SAVE:
        saveDocument(qobject_cast<CChildFrame*>(activeChildFrame()), false);
        break;
    case ID_FILE_SAVE_AS:
        saveDocument(qobject_cast<CChildFrame*>(activeChildFrame()), true);
        break;
    case ID_FILE_PRINT_SETUP: {
        // Without a printer on the system the page set-up is that of the PDF
        // files prints then go to; the toolkit offers none for a printer
        // that does not exist.
        if (QPrinterInfo::availablePrinterNames().isEmpty())
            sharedPrinter().setOutputFormat(QPrinter::PdfFormat);
        QPageSetupDialog dialog(&sharedPrinter(), this);
        dialog.exec();
        break;
    }
    case ID_APP_ABOUT:
        CKQ_517App::OnAppAbout();
        break;
    case ID_APP_EXIT:
        close();
        break;
    case ID_HELP:
        OnHelp();
        break;
    case ID_NEXT_PANE:
        m_workspace->activateNextSubWindow();
        break;
    case ID_PREV_PANE:
        m_workspace->activatePreviousSubWindow();
        break;
    case ID_VIEW_TOOLBAR:
        if (m_toolBar)
            m_toolBar->setVisible(m_toolBar->isHidden());
        break;
    case ID_VIEW_STATUS_BAR:
        statusBar()->setVisible(statusBar()->isHidden());
        break;
    case ID_VIEW_CONTROL_BAR:
        OnViewControlBar();
        break;
    case ID_PRODUCT_INFO:
        OnProductInformation();
        break;
    case ID_CHANNEL_INFO:
        OnChannelInformation();
        break;
    case ID_OPTIONAL_FEATURES:
        OnOptionalFeatures();
        break;
    default:
        break;
    }
    updateCommandStates();
    // A dialog or message box of the command has closed: typing goes on
    // into the grid.
    if (isActiveWindow())
        focusActiveView();
}

void CMainFrame::OnFileOpen()
{
    QString path;
    if (g_fileDialogHook)
        path = g_fileDialogHook(false, QString());
    else
        path = QFileDialog::getOpenFileName(this, QString(), QString(), CKQ_517Doc::fileFilter());
    if (!path.isEmpty())
        openDocumentWindow(path);
}

void CMainFrame::OnFileClose()
{
    if (QMdiSubWindow* frame = activeChildFrame())
        frame->close();  // hides
}

void CMainFrame::OnOptionalFeatures()
{
    CKQ_517View* view = activeView();
    const ChannelViewState before = view ? view->captureState() : ChannelViewState();
    m_dlgOptionalFeatures->setTarget(activeDocument());
    m_dlgOptionalFeatures->DoModal();
    // The dialog may have gone on to another document meanwhile; the step
    // belongs to the view it started on, when that one still exists.
    if (view && childViews().contains(view))
        view->recordChange(undotext::optionalFeatures(), before);
}

void CMainFrame::OnProductInformation()
{
    CKQ_517View* view = activeView();
    const ChannelViewState before = view ? view->captureState() : ChannelViewState();
    m_dlgProductInfo->setTarget(activeDocument(), view);
    m_dlgProductInfo->DoModal();
    if (view && childViews().contains(view))
        view->recordChange(undotext::productInformation(), before);
}

QList<CKQ_517View*> CMainFrame::childViews() const
{
    QList<CKQ_517View*> views;
    for (CChildFrame* frame : childFrames())
        if (CKQ_517View* view = frame->view())
            views.append(view);
    return views;
}

bool CMainFrame::saveDocument(CChildFrame* frame, bool saveAs)
{
    CKQ_517Doc* doc = frame ? frame->document() : nullptr;
    if (!doc)
        return false;
    // The document holds every edit; a value still in an editor goes in
    // first, and a refused one saves nothing.
    CKQ_517View* view = frame->view();
    if (view && !view->CommitEditor())
        return false;
    QString path = doc->GetPathName();
    // A document that has a file of its own is saved there; a new one always
    // asks, with the proposed name, rather than write over whatever file of
    // that name the current folder may hold.
    if (saveAs || !doc->hasFile() || path.isEmpty()) {
        QString proposed = path;
        if (!proposed.isEmpty() && QFileInfo(proposed).suffix().isEmpty())
            proposed += CKQ_517Doc::defaultExtension();
        const QString suffix = CKQ_517Doc::defaultExtension().mid(1);
        if (g_fileDialogHook)
            path = savefiledialog::withDefaultSuffix(g_fileDialogHook(true, proposed), suffix);
        else
            path = savefiledialog::ask(this, QString(), proposed, {CKQ_517Doc::fileFilter()}, {suffix});
        if (path.isEmpty())
            return false;
    }
    ImageFileProblem problem;
    if (!doc->OnSaveDocument(path, &problem)) {
        const QString error = texts::imageFileProblem(problem);
        appMessageBox(this, error.isEmpty() ? texts::text(kSaveFailedText) : error);
        return false;
    }
    if (view)
        view->undoStack()->setClean();
    return true;
}

bool CMainFrame::SaveModified(CChildFrame* frame)
{
    CKQ_517Doc* doc = frame ? frame->document() : nullptr;
    if (!doc)
        return true;
    // A value still in an editor counts as typed; a refused one stops the
    // exit, New or language change right there.
    if (CKQ_517View* view = frame->view()) {
        if (!view->CommitEditor())
            return false;
    }
    if (!doc->IsModified())
        return true;
    // The question is about this document: it is shown, hidden or not.
    if (frame->isHidden())
        frame->showNormal();
    m_workspace->setActiveSubWindow(frame);
    const QString name = doc->GetTitle();
    const QString text = texts::text(kSaveQuestionText, name);
    switch (appMessageBox(this, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                          QMessageBox::Question)) {
    case QMessageBox::Save:
        return saveDocument(frame, false);
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

bool CMainFrame::SaveAllModified()
{
    for (CChildFrame* frame : childFrames()) {
        if (!SaveModified(frame))
            return false;
    }
    return true;
}

void CMainFrame::closeWithoutQuestion()
{
    m_bQuestionAnswered = true;
    close();
    m_bQuestionAnswered = false;
}

void CMainFrame::OnChannelInformation()
{
    QMdiSubWindow* frame = activeChildFrame();
    if (!frame) {
        showNormal();  // the active frame is the main window itself
        return;
    }
    frame->showNormal();
    m_workspace->setActiveSubWindow(frame);
    m_activeChild = frame;
}

void CMainFrame::OnViewControlBar()
{
    if (!m_navDock)
        return;
    m_navDock->setVisible(m_navDock->isHidden());
}

void CMainFrame::OnHelp()
{
    // No command tracked: help on the window itself, the document window's
    // resource when one exists, else the main window's.
    const int resource = childFrames().isEmpty() ? IDR_MAINFRAME : IDR_DOCUMENT;
    HelpLauncher::showContext(kHelpBase + resource);
}

void CMainFrame::OnTreeSelChanged(QTreeWidgetItem*)
{
    QTreeWidget* treeCtrl = tree();
    if (!treeCtrl)
        return;
    // The item under the pointer is acted upon, not the one the selection
    // names: moving the selection with the keyboard opens nothing.
    const QPoint pos = treeCtrl->viewport()->mapFromGlobal(QCursor::pos());
    QTreeWidgetItem* item = treeCtrl->viewport()->rect().contains(pos) ? treeCtrl->itemAt(pos) : nullptr;
    const QString text = item ? item->text(0) : QString();
    const QStringList texts = navigationTexts();  // Product, Channel, Optional

    // The root is selected again at once, quietly, so that the same child can
    // be clicked again; the quiet selection keeps the action from repeating
    // for an item the pointer still rests on after a dialog closes.
    auto reselectRoot = [treeCtrl] {
        if (QTreeWidgetItem* root = treeCtrl->topLevelItem(0)) {
            const QSignalBlocker blocker(treeCtrl);
            treeCtrl->setCurrentItem(root);
        }
    };
    reselectRoot();
    if (!item || text.isEmpty())
        return;
    if (text == texts.at(1))
        OnChannelInformation();
    else if (text == texts.at(2))
        OnOptionalFeatures();
    else if (text == texts.at(0))
        OnProductInformation();
    reselectRoot();
    focusActiveView();
}
