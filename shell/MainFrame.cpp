// CMainFrame, the frame itself: creation, the document windows and which one
// is active, closing. Its bars are in MainFrameBars.cpp, its commands in
// MainFrameCommands.cpp.

#include "shell/MainFrame.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
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
#include "shell/StartupTrace.h"
#include "shell/WorkspaceBackground.h"
#include "texts/TextTable.h"
#include "view/KQ_517View.h"
#include "view/SharedPrinter.h"

namespace {
CMainFrame* g_mainFrame = nullptr;

// The navigation tree's items: Product Information, Channel Information,
// Optional Features.
constexpr int kNavigationTextIds[] = {62010, 62011, 62012};
constexpr int kOpenFailedText = 62006;
}  // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    g_mainFrame = this;
    CKQ_517View::setMainWindow(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    resize(1000, 600);  // the restored size; start-up shows the window maximised
    setWindowTitle(LanguageModule::string(IDR_MAINFRAME));
    setWindowIcon(LanguageModule::icon(128));

    m_workspace = new CWorkspaceBackground(this);
    setCentralWidget(m_workspace);
    connect(m_workspace, &QMdiArea::subWindowActivated, this, &CMainFrame::onSubWindowActivated);

    m_dlgOptionalFeatures = new COptionalFeaturesDlg(this);
    // The language change restarts the program: unsaved documents are asked
    // about first, and this window closes without asking again.
    CLanguageDlg::setProgramHooks({[this] { return SaveAllModified(); }, [this] { closeWithoutQuestion(); }});
    m_dlgProductInfo = new CProductInfoDlg(this);
    connect(m_dlgProductInfo, &CProductInfoDlg::mainTitleChanged, this, &CMainFrame::setMainTitle);

    StartupTrace::phase("main window: workspace and dialogs");
    const bool menusOk = createMenus();
    const bool toolbarOk = createToolBar();
    StartupTrace::phase("main window: toolbar");
    createStatusBar();
    StartupTrace::phase("main window: status bar");
    // Paste is offered while the clipboard holds text.
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { updateCommandStates(); });
    const bool navOk = createNavigationBar();
    StartupTrace::phase("main window: navigation bar");
    createAccelerators();
    m_bValid = menusOk && toolbarOk && navOk;
    updateMenus();
    StartupTrace::phase("main window: menus and accelerators");
}

CMainFrame::~CMainFrame()
{
    CLanguageDlg::setProgramHooks({});
    // Document windows (and their views) go while the main window still exists.
    const QList<QMdiSubWindow*> frames = m_workspace ? m_workspace->subWindowList() : QList<QMdiSubWindow*>();
    for (QMdiSubWindow* frame : frames)
        delete frame;
    if (g_mainFrame == this) {
        g_mainFrame = nullptr;
        CKQ_517View::setMainWindow(nullptr);
    }
}

CMainFrame* CMainFrame::instance() { return g_mainFrame; }


QStringList CMainFrame::navigationTexts()
{
    QStringList items;
    for (const int id : kNavigationTextIds)
        items << texts::text(id);
    return items;
}

// ---------------------------------------------------------------- windows

QList<CChildFrame*> CMainFrame::childFrames() const
{
    QList<CChildFrame*> frames;
    if (!m_workspace)
        return frames;
    for (QMdiSubWindow* w : m_workspace->subWindowList())
        if (auto* frame = qobject_cast<CChildFrame*>(w))
            frames.append(frame);
    return frames;
}

void CMainFrame::onSubWindowActivated(QMdiSubWindow* window)
{
    // The active document window stays the active one while hidden: the
    // workspace's own choice of another window on hiding does not count.
    if (window && !m_bHidingChild && window->isVisible()) {
        m_activeChild = window;
        // Queued as well: the workspace gives the window its own focus
        // widget back after this notification.
        focusActiveView();
        QMetaObject::invokeMethod(this, [this] { focusActiveView(); }, Qt::QueuedConnection);
    }
    updateCommandStates();
}

void CMainFrame::focusActiveView()
{
    QMdiSubWindow* frame = activeChildFrame();
    if (!frame || frame->isHidden())
        return;
    if (CKQ_517View* view = qobject_cast<CKQ_517View*>(frame->widget()))
        view->focusGrid();
}

void CMainFrame::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Queued: the toolkit gives the window its old focus widget back after
    // this notification.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(this, [this] { focusActiveView(); }, Qt::QueuedConnection);
}

QMdiSubWindow* CMainFrame::activeChildFrame() const
{
    if (m_activeChild)
        return m_activeChild;
    const QList<CChildFrame*> frames = childFrames();
    return frames.isEmpty() ? nullptr : frames.last();
}

CKQ_517View* CMainFrame::activeView() const
{
    QMdiSubWindow* frame = activeChildFrame();
    return frame ? qobject_cast<CKQ_517View*>(frame->widget()) : nullptr;
}

CKQ_517Doc* CMainFrame::activeDocument() const
{
    auto* frame = qobject_cast<CChildFrame*>(activeChildFrame());
    return frame ? frame->document() : nullptr;
}

void CMainFrame::setMainTitle(const QString& title) { setWindowTitle(title); }

CChildFrame* CMainFrame::openDocumentWindow(const QString& path)
{
    QString error;
    CChildFrame* frame = CKQ_517App::docTemplate().OpenDocumentFile(path, m_workspace, &error);
    if (!frame) {
        if (!path.isEmpty())
            appMessageBox(this, error.isEmpty() ? texts::text(kOpenFailedText) : error);
        return nullptr;
    }
    m_activeChild = frame;
    if (CKQ_517View* view = frame->view()) {
        connect(view->undoStack(), &QUndoStack::indexChanged, this, [this] { updateCommandStates(); });
        connect(view->undoStack(), &QUndoStack::cleanChanged, this, [this] { updateCommandStates(); });
        connect(view, &CKQ_517View::selectionChanged, this, [this] { updateCommandStates(); });
    }
    connect(frame, &QObject::destroyed, this, [this] { QMetaObject::invokeMethod(this, [this] { updateMenus(); }, Qt::QueuedConnection); });
    updateMenus();
    focusActiveView();
    return frame;
}

void CMainFrame::hideChildFrame(QMdiSubWindow* frame)
{
    m_bHidingChild = true;
    frame->hide();
    m_bHidingChild = false;
}

void CMainFrame::destroyChildFrame(QMdiSubWindow* frame)
{
    if (!frame)
        return;
    if (m_activeChild == frame)
        m_activeChild = nullptr;
    m_workspace->removeSubWindow(frame);
    delete frame;
    updateMenus();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (CKQ_517View::anyTransferRunning()) {
        event->ignore();
        return;
    }
    // Documents with unsaved changes ask first; Cancel keeps the program and
    // every document as they are.
    if (!m_bQuestionAnswered && !SaveAllModified()) {
        event->ignore();
        return;
    }
    event->accept();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::ApplicationActivate) {
        // A key release: the light of a lock key has changed by now.
        if (event->type() == QEvent::ApplicationActivate || watched->isWidgetType())
            updateLockIndicators();
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
        if (auto* menu = qobject_cast<QMenu*>(watched)) {
            // Help on a menu command: its context is the command id.
            const QAction* action = menu->activeAction();
            const int id = action ? action->data().toInt() : 0;
            if (id != 0) {
                HelpLauncher::showContext(id);
                return true;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
