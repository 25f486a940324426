#include "shell/DocTemplate.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "shell/ChildFrame.h"
#include "shell/MainFrame.h"
#include "codeplug/KQ_517Doc.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "texts/ImageFileTexts.h"
#include "texts/TextTable.h"
#include "view/KQ_517View.h"

namespace {
constexpr int kNewDocumentTitle = 62000;  // "Channel Information"
}  // namespace

CMultiDocTemplate::CMultiDocTemplate(int resourceId, DocumentFactory document, FrameFactory frame,
                                     ViewFactory view)
    : m_nResourceId(resourceId),
      m_createDocument(std::move(document)),
      m_createFrame(std::move(frame)),
      m_createView(std::move(view))
{
}

CMultiDocTemplate CMultiDocTemplate::standard()
{
    // A new document is named in the interface's language and proposes the
    // settings file's AppName as its file name.
    CKQ_517Doc::setNewDocumentDefaults([] {
        return CKQ_517Doc::NewDocumentDefaults{texts::text(kNewDocumentTitle),
                                               decodeSettingsText(g_settings.GetString("Setup", "AppName", ""))};
    });
    return CMultiDocTemplate(
        129, [] { return new CKQ_517Doc; }, [] { return new CChildFrame; },
        [](CKQ_517Doc* doc) { return new CKQ_517View(doc); });
}

CChildFrame* CMultiDocTemplate::OpenDocumentFile(const QString& path, QMdiArea* area,
                                                 QString* error) const
{
    CKQ_517Doc* doc = m_createDocument();
    ImageFileProblem why;
    const bool ok = path.isEmpty() ? doc->OnNewDocument() : doc->OnOpenDocument(path, &why);
    if (!ok) {
        delete doc;
        if (error)
            *error = texts::imageFileProblem(why);
        return nullptr;
    }
    // An opened document gets a window of its own and the window that was
    // active hides. With no document window yet (a file named on the command
    // line) there is nothing to hide, and the main window is left alone.
    if (!path.isEmpty()) {
        if (CMainFrame* main = CMainFrame::instance()) {
            if (QMdiSubWindow* active = main->activeChildFrame())
                active->close();
        }
    }
    CChildFrame* frame = m_createFrame();
    CKQ_517View* view = m_createView(doc);
    frame->attach(doc, view);
    area->addSubWindow(frame);
    frame->show();
    // A visible workspace places a new window by its own rule, which puts one
    // larger than the workspace outside it (off to the left after File New);
    // it belongs at the workspace's corner.
    frame->move(0, 0);
    area->setActiveSubWindow(frame);
    if (CMainFrame* main = CMainFrame::instance())
        QObject::connect(view, &CKQ_517View::mainTitleChanged, main, &CMainFrame::setMainTitle);
    view->OnInitialUpdate();
    return frame;
}
