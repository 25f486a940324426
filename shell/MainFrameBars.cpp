// CMainFrame, its bars: menus 128 and 129 from the language module, the
// toolbar, the status bar with its lock indicators, the navigation bar and
// the accelerators, and the states of the commands they show.

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
#include "shell/ThemeIcon.h"
#include "shell/WorkspaceBackground.h"
#include "view/KQ_517View.h"
#include "view/SharedPrinter.h"

namespace {

constexpr int kLockIndicatorIds[] = {59137, 59138, 59139};  // CAP, NUM, SCRL

}  // namespace

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
            const QString name = button.value(QStringLiteral("icon")).toString();
            icon = ThemeIcon::icon(name, name.contains(QStringLiteral("redo")) ? QStyle::SP_ArrowForward
                                                                                : QStyle::SP_ArrowBack);
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
    // The channel-plan commands: on the active view, and only where they can act.
    for (auto it = m_menuActions.cbegin(); it != m_menuActions.cend(); ++it) {
        if (CKQ_517View::isPlanCommand(it.key()))
            it.value()->setEnabled(view && view->canRunPlanCommand(it.key()));
    }
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
