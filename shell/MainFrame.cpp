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
#include "view/KQ_517View.h"
#include "view/SharedPrinter.h"

namespace {
CMainFrame* g_mainFrame = nullptr;
CMainFrame::FileDialogHook g_fileDialogHook;

constexpr int kLockIndicatorIds[] = {59137, 59138, 59139};  // CAP, NUM, SCRL
constexpr int kHelpBase = 0x10000;   // help ids less what the help routine subtracts

const char* const kEnglishItems[] = {"Product Information", "Channel Information", "Optional Features"};
const char* const kChineseItems[] = {"类型设置", "信道信息", "可选功能"};

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

// A picture of the desktop's icon theme, or the style's arrow where the
// desktop has no theme.
QIcon themeIcon(const QString& name)
{
    const QStyle::StandardPixmap fallback =
        name.contains(QStringLiteral("redo")) ? QStyle::SP_ArrowForward : QStyle::SP_ArrowBack;
    return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

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

    const bool menusOk = createMenus();
    const bool toolbarOk = createToolBar();
    createStatusBar();
    const bool navOk = createNavigationBar();
    createAccelerators();
    m_bValid = menusOk && toolbarOk && navOk;
    updateMenus();
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

void CMainFrame::setFileDialogHook(FileDialogHook hook) { g_fileDialogHook = std::move(hook); }

QStringList CMainFrame::navigationTexts()
{
    QStringList texts;
    for (int i = 0; i < 3; ++i)
        texts << QString::fromUtf8(g_bChinese ? kChineseItems[i] : kEnglishItems[i]);
    return texts;
}

// ---------------------------------------------------------------- creation

bool CMainFrame::createMenus()
{
    const bool ok = !LanguageModule::json(QStringLiteral("menus/128.json")).isNull()
                    && !LanguageModule::json(QStringLiteral("menus/129.json")).isNull();
    return ok;
}

QMenu* CMainFrame::buildMenu(const QJsonArray& items, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->installEventFilter(this);  // F1 on an open menu
    for (const QJsonValue& value : items) {
        const QJsonObject item = value.toObject();
        if (item.value(QStringLiteral("separator")).toBool()) {
            menu->addSeparator();
            continue;
        }
        if (item.contains(QStringLiteral("items"))) {
            QMenu* sub = buildMenu(item.value(QStringLiteral("items")).toArray(), menu);
            sub->setTitle(item.value(QStringLiteral("text")).toString());
            menu->addMenu(sub);
            continue;
        }
        const int id = item.value(QStringLiteral("id")).toInt();
        QAction* action = menu->addAction(item.value(QStringLiteral("text")).toString());
        action->setData(id);
        const QStringList prompt = LanguageModule::string(id).split(QLatin1Char('\n'));
        action->setStatusTip(prompt.value(0));
        connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
        m_menuActions.insert(id, action);
    }
    return menu;
}

void CMainFrame::buildMenuBar(int id)
{
    m_nMenuId = id;
    m_menuActions.clear();
    QMenuBar* bar = new QMenuBar(this);
    const QJsonArray top = LanguageModule::json(QStringLiteral("menus/%1.json").arg(id))
                               .object()
                               .value(QStringLiteral("menu"))
                               .toArray();
    for (int i = 0; i < top.size(); ++i) {
        const QJsonObject entry = top.at(i).toObject();
        QMenu* menu = buildMenu(entry.value(QStringLiteral("items")).toArray(), bar);
        menu->setTitle(entry.value(QStringLiteral("text")).toString());
        bar->addMenu(menu);
        // The document menu's Help (sixth) menu: its first item is About,
        // shown with the language's "About Title".
        if (id == IDR_DOCUMENT && i == 5 && !m_strAboutText.isNull()) {
            const QList<QAction*> actions = menu->actions();
            if (!actions.isEmpty()) {
                QAction* about = actions.first();
                about->setText(m_strAboutText);
                about->setData(int(ID_APP_ABOUT));
                disconnect(about, &QAction::triggered, nullptr, nullptr);
                connect(about, &QAction::triggered, this, [this] { onCommand(ID_APP_ABOUT); });
                m_menuActions.insert(ID_APP_ABOUT, about);
            }
        }
    }
    setMenuBar(bar);  // deletes the previous bar
    connect(bar, &QMenuBar::hovered, this, [this](QAction* a) { setStatusPrompt(a->data().toInt()); });
    updateCommandStates();
}

void CMainFrame::updateMenus()
{
    const int wanted = childFrames().isEmpty() ? IDR_MAINFRAME : IDR_DOCUMENT;
    if (wanted != m_nMenuId)
        buildMenuBar(wanted);
    else
        updateCommandStates();
}

void CMainFrame::setAboutMenuText(const QString& text)
{
    m_strAboutText = text.isNull() ? QStringLiteral("") : text;
    if (m_nMenuId == IDR_DOCUMENT)
        buildMenuBar(IDR_DOCUMENT);
}

bool CMainFrame::createToolBar()
{
    const QJsonObject desc = LanguageModule::json(QStringLiteral("toolbar/128.json")).object();
    const QPixmap strip(LanguageModule::path(desc.value(QStringLiteral("bitmap")).toString()));
    if (desc.isEmpty() || strip.isNull())
        return false;
    const int w = desc.value(QStringLiteral("width")).toInt(18);
    const int h = desc.value(QStringLiteral("height")).toInt(19);
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(LanguageModule::controlName(ID_VIEW_TOOLBAR));
    // Fixed in place, without a gripper: the only way to hide it is View >
    // Toolbar, whose tick therefore always tells the truth.
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->toggleViewAction()->setEnabled(false);
    m_toolBar->setIconSize(QSize(w, h));
    int image = 0;
    for (const QJsonValue& v : desc.value(QStringLiteral("buttons")).toArray()) {
        // A number takes the strip's next picture; an object names a picture
        // of the desktop's icon theme instead (the undo arrows).
        const QJsonObject button = v.toObject();
        const int id = v.isObject() ? button.value(QStringLiteral("id")).toInt() : v.toInt();
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QIcon icon;
        if (v.isObject()) {
            icon = themeIcon(button.value(QStringLiteral("icon")).toString());
        } else {
            icon = QIcon(strip.copy(image * w, 0, w, h));
            ++image;
        }
        QAction* action = m_toolBar->addAction(icon, QString());
        const QStringList prompt = LanguageModule::string(id).split(QLatin1Char('\n'));
        action->setStatusTip(prompt.value(0));
        action->setToolTip(prompt.value(1));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
        m_otherActions.insert(id, action);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    return true;
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(LanguageModule::controlName(ID_VIEW_STATUS_BAR));
    m_readyLabel = new QLabel(LanguageModule::string(57345), bar);
    bar->addWidget(m_readyLabel, 1);
    for (int id : kLockIndicatorIds) {
        auto* indicator = new QLabel(LanguageModule::string(id), bar);
        indicator->setObjectName(LanguageModule::controlName(id));
        indicator->setFrameShape(QFrame::Panel);
        indicator->setFrameShadow(QFrame::Sunken);
        indicator->setAlignment(Qt::AlignCenter);
        indicator->setMinimumWidth(indicator->fontMetrics().horizontalAdvance(indicator->text()) + 12);
        bar->addPermanentWidget(indicator);
        m_lockIndicators.append(indicator);
    }
    updateLockIndicators();
    // The lights change with the keys, whichever window has the focus.
    qApp->installEventFilter(this);
}

void CMainFrame::updateLockIndicators()
{
    // An indicator shows its text while its lock is on and stays blank otherwise.
    const KeyLockState state = keylocks::current();
    const bool on[] = {state.caps, state.num, state.scroll};
    for (int i = 0; i < m_lockIndicators.size() && i < 3; ++i)
        m_lockIndicators.at(i)->setText(on[i] ? LanguageModule::string(kLockIndicatorIds[i]) : QString());
}

bool CMainFrame::createNavigationBar()
{
    m_navBar = new CNavigationBar(this);
    if (!m_navBar->InitContents())
        return false;
    // Template 130: the bar's font.
    if (QWidget* form = LanguageModule::loadDialog(130, nullptr)) {
        delete form;
    } else {
        return false;
    }
    m_navDock = new QDockWidget(this);
    m_navDock->setObjectName(QStringLiteral("navigationDock"));
    m_navDock->setFeatures(QDockWidget::NoDockWidgetFeatures);
    m_navDock->setAllowedAreas(Qt::LeftDockWidgetArea);
    auto* noTitle = new QWidget(m_navDock);  // the bar paints its own caption
    noTitle->setFixedSize(0, 0);
    m_navDock->setTitleBarWidget(noTitle);
    m_navDock->setWidget(m_navBar);
    addDockWidget(Qt::LeftDockWidgetArea, m_navDock);
    // The View menu's tick follows the bar however it was hidden (its close
    // button included), so that the next Control Bar command shows it again.
    connect(m_navBar, &CNavigationBar::closeRequested, this, [this] {
        m_navDock->hide();
        updateCommandStates();
    });

    QTreeWidget* treeCtrl = m_navBar->GetTreeCtrl();
    treeCtrl->setRootIsDecorated(true);
    treeCtrl->setItemsExpandable(true);
    auto* root = new QTreeWidgetItem(treeCtrl, {g_settings.GetText(g_strLanguage.toUtf8(), "Company", QString())});
    for (const QString& text : navigationTexts())
        new QTreeWidgetItem(root, {text});
    root->setExpanded(true);
    treeCtrl->setCurrentItem(root);
    connect(treeCtrl, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { OnTreeSelChanged(current); });
    return true;
}

void CMainFrame::createAccelerators()
{
    const QJsonArray table = LanguageModule::json(QStringLiteral("accelerators/128.json"))
                                 .object()
                                 .value(QStringLiteral("accelerators"))
                                 .toArray();
    for (const QJsonValue& v : table) {
        const QJsonObject entry = v.toObject();
        const int id = entry.value(QStringLiteral("id")).toInt();
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(entry.value(QStringLiteral("key")).toString()));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
        addAction(action);
        m_otherActions.insert(id, action);
    }
    // The platform's own Undo and Redo keys (Ctrl+Shift+Z on Linux) besides
    // the table's Ctrl+Z and Ctrl+Y.
    for (const auto& [standard, id] : {std::pair{QKeySequence::Undo, int(CKQ_517View::ID_EDIT_UNDO)},
                                       std::pair{QKeySequence::Redo, int(CKQ_517View::ID_EDIT_REDO)}}) {
        QList<QKeySequence> keys;
        for (const QKeySequence& key : QKeySequence::keyBindings(standard)) {
            bool taken = false;
            for (const QAction* other : m_otherActions.values(id))
                taken = taken || other->shortcuts().contains(key);
            if (!taken)
                keys << key;
        }
        if (keys.isEmpty())
            continue;
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { onCommand(id); });
        addAction(action);
        m_otherActions.insert(id, action);
    }
    // Ctrl+F4 hides the document window, as its close box does (its own
    // window menu's keys were taken away for Ctrl+W's sake).
    auto* closeChild = new QAction(this);
    closeChild->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    closeChild->setShortcutContext(Qt::WindowShortcut);
    connect(closeChild, &QAction::triggered, this, [this] { onCommand(ID_FILE_CLOSE); });
    addAction(closeChild);
    // F1: help on the main window.
    auto* help = new QAction(this);
    help->setShortcut(QKeySequence(Qt::Key_F1));
    connect(help, &QAction::triggered, this, [this] { onCommand(ID_HELP); });
    addAction(help);
}

void CMainFrame::updateCommandStates()
{
    if (QAction* a = m_menuActions.value(ID_VIEW_CONTROL_BAR)) {
        a->setCheckable(true);
        a->setChecked(m_navDock && !m_navDock->isHidden());
    }
    if (QAction* a = m_menuActions.value(ID_VIEW_TOOLBAR)) {
        a->setCheckable(true);
        a->setChecked(m_toolBar && !m_toolBar->isHidden());
    }
    if (QAction* a = m_menuActions.value(ID_VIEW_STATUS_BAR)) {
        a->setCheckable(true);
        a->setChecked(!statusBar()->isHidden());
    }
    const CKQ_517View* view = activeView();
    const QUndoStack* history = view ? view->undoStack() : nullptr;
    const bool canUndo = history && history->canUndo();
    const bool canRedo = history && history->canRedo();
    if (QAction* a = m_menuActions.value(CKQ_517View::ID_EDIT_UNDO))
        a->setEnabled(canUndo);
    if (QAction* a = m_menuActions.value(CKQ_517View::ID_EDIT_REDO))
        a->setEnabled(canRedo);
    for (QAction* a : m_otherActions.values(CKQ_517View::ID_EDIT_UNDO))
        a->setEnabled(canUndo);
    for (QAction* a : m_otherActions.values(CKQ_517View::ID_EDIT_REDO))
        a->setEnabled(canRedo);
}

void CMainFrame::setStatusPrompt(int id)
{
    const QString prompt = LanguageModule::string(id).section(QLatin1Char('\n'), 0, 0);
    if (!prompt.isEmpty())
        statusBar()->showMessage(prompt);
}

QAction* CMainFrame::menuAction(int id) const { return m_menuActions.value(id); }

QTreeWidget* CMainFrame::tree() const { return m_navBar ? m_navBar->GetTreeCtrl() : nullptr; }

QMenu* CMainFrame::createPopupMenu()
{
    // No context menu of bars: it would hide the toolbar or the navigation
    // bar behind the View menu's back.
    return nullptr;
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
    if (window && !m_bHidingChild && window->isVisible())
        m_activeChild = window;
    updateCommandStates();
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
            appMessageBox(this, error.isEmpty() ? QStringLiteral("Failed to open document.") : error);
        return nullptr;
    }
    m_activeChild = frame;
    if (CKQ_517View* view = frame->view()) {
        connect(view->undoStack(), &QUndoStack::indexChanged, this, [this] { updateCommandStates(); });
        connect(view->undoStack(), &QUndoStack::cleanChanged, this, [this] { updateCommandStates(); });
    }
    connect(frame, &QObject::destroyed, this, [this] { QMetaObject::invokeMethod(this, [this] { updateMenus(); }, Qt::QueuedConnection); });
    updateMenus();
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

// ---------------------------------------------------------------- commands

void CMainFrame::onCommand(int id)
{
    if (refusedDuringTransfer(id) && CKQ_517View::anyTransferRunning())
        return;
    if (isViewCommand(id)) {
        if (CKQ_517View* view = activeView())
            view->OnCommand(id);
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
        view->recordChange(undotext::optionalFeatures(g_bChinese), before);
}

void CMainFrame::OnProductInformation()
{
    CKQ_517View* view = activeView();
    const ChannelViewState before = view ? view->captureState() : ChannelViewState();
    m_dlgProductInfo->setTarget(activeDocument(), view);
    m_dlgProductInfo->DoModal();
    if (view && childViews().contains(view))
        view->recordChange(undotext::productInformation(g_bChinese), before);
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
    QString path = doc->GetPathName();
    // A document that has a file of its own is saved there; a new one always
    // asks, with the proposed name, rather than write over whatever file of
    // that name the current folder may hold.
    if (saveAs || !doc->hasFile() || path.isEmpty()) {
        QString proposed = path;
        if (!proposed.isEmpty() && QFileInfo(proposed).suffix().isEmpty())
            proposed += CKQ_517Doc::defaultExtension();
        if (g_fileDialogHook)
            path = g_fileDialogHook(true, proposed);
        else
            path = QFileDialog::getSaveFileName(this, QString(), proposed, CKQ_517Doc::fileFilter());
        if (path.isEmpty())
            return false;
        if (QFileInfo(path).suffix().isEmpty())
            path += CKQ_517Doc::defaultExtension();
    }
    // The grid is the working copy of the channels: it goes into the image first.
    CKQ_517View* view = frame->view();
    if (view) {
        view->CommitEditor();
        view->encodeTable();
    }
    QString error;
    if (!doc->OnSaveDocument(path, &error)) {
        appMessageBox(this, error.isEmpty() ? QStringLiteral("Failed to save document.") : error);
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
    // A value still in an editor counts as typed.
    if (CKQ_517View* view = frame->view())
        view->CommitEditor();
    if (!doc->IsModified())
        return true;
    // The question is about this document: it is shown, hidden or not.
    if (frame->isHidden())
        frame->showNormal();
    m_workspace->setActiveSubWindow(frame);
    const QString name = doc->GetTitle();
    const QString text = g_bChinese ? QStringLiteral("是否保存对“%1”的更改？").arg(name)
                                    : QStringLiteral("Save changes to \"%1\"?").arg(name);
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
