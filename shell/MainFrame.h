#pragma once
// CMainFrame: the main window: MDI workspace with its background, menus 128
// and 129, toolbar, status bar and the navigation bar with its tree. It owns
// the Optional Features and Product Information dialogs.

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>

class CChildFrame;
class CKQ_517Doc;
class CKQ_517View;
class CNavigationBar;
class COptionalFeaturesDlg;
class CProductInfoDlg;
class CWorkspaceBackground;
class QAction;
class QDockWidget;
class QJsonArray;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Command ids the main window handles itself or routes on.
    enum : int {
        ID_FILE_NEW = 57600,
        ID_FILE_OPEN = 57601,
        ID_FILE_CLOSE = 57602,
        ID_FILE_SAVE = 57603,
        ID_FILE_SAVE_AS = 57604,
        ID_FILE_PRINT_SETUP = 57606,
        ID_APP_ABOUT = 57664,
        ID_APP_EXIT = 57665,
        ID_HELP = 57670,
        ID_NEXT_PANE = 57680,
        ID_PREV_PANE = 57681,
        ID_VIEW_TOOLBAR = 59392,
        ID_VIEW_STATUS_BAR = 59393,
        ID_VIEW_CONTROL_BAR = 32780,
        ID_PRODUCT_INFO = 32786,
        ID_CHANNEL_INFO = 32787,
        ID_OPTIONAL_FEATURES = 32788,
        IDR_MAINFRAME = 128,
        IDR_DOCUMENT = 129,
    };

    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The one main window of the process (nullptr before it exists).
    static CMainFrame* instance();

    // False when a resource the window needs (menu 128 or 129, toolbar 128,
    // template 130) is missing from the language module.
    bool isValid() const { return m_bValid; }

    // The active document window, counted even while hidden; its view and document.
    QMdiSubWindow* activeChildFrame() const;
    CKQ_517View* activeView() const;
    CKQ_517Doc* activeDocument() const;
    // Every document window, hidden ones included.
    QList<CChildFrame*> childFrames() const;
    QList<CKQ_517View*> childViews() const;

    // Saves a document (Save As, or Save: a new document asks for a name);
    // false when nothing was saved. A saved document is unmodified.
    bool saveDocument(CChildFrame* frame, bool saveAs);
    // Asks Save / Don't Save / Cancel for a document with unsaved changes;
    // true when it may go (saved or not wanted), false on Cancel or a failed save.
    bool SaveModified(CChildFrame* frame);
    // The same question for every document window, hidden ones included.
    bool SaveAllModified();
    // Closes the program after the caller has asked SaveAllModified().
    void closeWithoutQuestion();

    // Sets the window caption (g_strMainTitle is the caller's to set).
    void setMainTitle(const QString& title);

    // Runs a command by its numeric id (menus, toolbar, accelerators, tree).
    void onCommand(int id);

    // A new document (path empty) or one opened from path in a new document
    // window; failures are shown in a message box. nullptr on failure.
    CChildFrame* openDocumentWindow(const QString& path);
    // Hides a document window; it stays the active one.
    void hideChildFrame(QMdiSubWindow* frame);
    // Destroys a document window with its document and view, without a question.
    void destroyChildFrame(QMdiSubWindow* frame);

    // The text of the document menu's About item (the language's "About Title").
    void setAboutMenuText(const QString& text);

    // Menu 128 or 129, whichever is shown now.
    int currentMenuId() const { return m_nMenuId; }
    // The action of a command in the current menu bar (nullptr if absent).
    QAction* menuAction(int id) const;
    QToolBar* toolBar() const { return m_toolBar; }
    QList<QLabel*> lockIndicators() const { return m_lockIndicators; }
    CNavigationBar* navigationBar() const { return m_navBar; }
    QDockWidget* navigationDock() const { return m_navDock; }
    QTreeWidget* tree() const;
    CWorkspaceBackground* workspace() const { return m_workspace; }
    COptionalFeaturesDlg* optionalFeaturesDlg() const { return m_dlgOptionalFeatures; }
    CProductInfoDlg* productInfoDlg() const { return m_dlgProductInfo; }

    // File dialogs go through this hook when set (tests answer them):
    // save = Save As, proposed = the proposed name; returns the chosen path or "".
    using FileDialogHook = std::function<QString(bool save, const QString& proposed)>;
    static void setFileDialogHook(FileDialogHook hook);

    // The texts of the tree's children in the current language, in tree order.
    static QStringList navigationTexts();

    QMenu* createPopupMenu() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // The main window made active again (a dialog closed, the user came
    // back): the keyboard goes to the active document's grid.
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void OnTreeSelChanged(QTreeWidgetItem* current);
    void onSubWindowActivated(QMdiSubWindow* window);
    // The keyboard focus to the active document's grid (or its open editor),
    // so that what the user types next goes into the table.
    void focusActiveView();

private:
    bool createMenus();
    void buildMenuBar(int id);
    QMenu* buildMenu(const QJsonArray& items, QWidget* parent);
    bool createToolBar();
    void createStatusBar();
    bool createNavigationBar();
    void createAccelerators();
    void updateMenus();
    void updateCommandStates();
    QAction* commandAction(int id);
    void setStatusPrompt(int id);
    void updateLockIndicators();

    void OnFileOpen();
    void OnFileClose();
    void OnOptionalFeatures();
    void OnProductInformation();
    void OnChannelInformation();
    void OnViewControlBar();
    void OnHelp();
    void OnAppAbout();

    bool m_bValid = false;
    CNavigationBar* m_navBar = nullptr;
    QDockWidget* m_navDock = nullptr;
    CWorkspaceBackground* m_workspace = nullptr;
    COptionalFeaturesDlg* m_dlgOptionalFeatures = nullptr;
    CProductInfoDlg* m_dlgProductInfo = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_readyLabel = nullptr;
    QList<QLabel*> m_lockIndicators;  // CAP, NUM, SCRL

    int m_nMenuId = 0;
    QString m_strAboutText;
    QHash<int, QAction*> m_menuActions;   // current menu bar's items by command
    QMultiHash<int, QAction*> m_otherActions;  // toolbar buttons and accelerators
    QPointer<QMdiSubWindow> m_activeChild;
    bool m_bHidingChild = false;
    bool m_bQuestionAnswered = false;
};
