#include "shell/ChildFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

#include "codeplug/KQ_517Doc.h"
#include "shell/MainFrame.h"
#include "view/KQ_517View.h"

CChildFrame::CChildFrame(QWidget* parent) : QMdiSubWindow(parent)
{
    // Placed at the workspace's corner, large; the view shrinks it to its form
    // at its first update.
    setGeometry(0, 0, 1600, 1200);

    // The window menu's actions carry the desktop's own keys (Close is Ctrl+W
    // on Linux desktops), which would clash with Program > Write and silence
    // both while a document window has the focus. The menu keeps its items;
    // only their keys go.
    if (QMenu* menu = systemMenu()) {
        for (QAction* action : menu->actions())
            action->setShortcuts({});
    }
}

CChildFrame::~CChildFrame()
{
    // The view goes before the document it shows.
    if (QWidget* view = widget()) {
        setWidget(nullptr);
        delete view;
    }
    delete m_pDocument;
}

void CChildFrame::attach(CKQ_517Doc* document, CKQ_517View* view)
{
    m_pDocument = document;
    if (document) {
        document->setParent(nullptr);  // owned here, deleted after the view
        // The caption is the document's title and follows it (Open, Save As).
        setDocumentTitle(document->GetTitle());
        connect(document, &CKQ_517Doc::titleChanged, this, &CChildFrame::setDocumentTitle);
        setWindowModified(document->IsModified());
        connect(document, &CKQ_517Doc::modifiedChanged, this, &QWidget::setWindowModified);
    }
    setWidget(view);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

void CChildFrame::setDocumentTitle(const QString& title)
{
    // The placeholder at the end shows "*" while the document has unsaved
    // changes. A file name may hold the placeholder too; doubled, it shows as
    // written.
    QString caption = title;
    caption.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(caption + QStringLiteral("[*]"));
}

CKQ_517View* CChildFrame::view() const { return qobject_cast<CKQ_517View*>(widget()); }

void CChildFrame::closeEvent(QCloseEvent* event)
{
    // A document window never closes: it hides and keeps document, view and
    // every unsaved change. While a transfer runs it stays as it is.
    event->ignore();
    if (CKQ_517View::anyTransferRunning())
        return;
    if (CMainFrame* main = CMainFrame::instance())
        main->hideChildFrame(this);
    else
        hide();
}
