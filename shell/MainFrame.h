#pragma once
// CMainFrame: the main window: MDI workspace with its background, menus 128
// and 129, toolbar, status bar and the navigation bar with its tree. It owns
// the Optional Features and Product Information dialogs.

#include <QMainWindow>
#include <QString>

class CKQ_517Doc;
class CKQ_517View;
class QMdiArea;
class QMdiSubWindow;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The one main window of the process (nullptr before it exists).
    static CMainFrame* instance();

    // The active document window, counted even while hidden; its view and document.
    QMdiSubWindow* activeChildFrame() const;
    CKQ_517View* activeView() const;
    CKQ_517Doc* activeDocument() const;

    // Sets the window caption (g_strMainTitle is the caller's to set).
    void setMainTitle(const QString& title);

    // Runs a command by its numeric id (menus, toolbar, accelerators, tree).
    void onCommand(int id);
};
