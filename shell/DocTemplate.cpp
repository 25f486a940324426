#include "shell/DocTemplate.h"

#include <QMdiArea>

#include "shell/ChildFrame.h"
#include "shell/KQ_517Doc.h"
#include "view/KQ_517View.h"

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
    return CMultiDocTemplate(
        129, [] { return new CKQ_517Doc; }, [] { return new CChildFrame; },
        [](CKQ_517Doc* doc) { return new CKQ_517View(doc); });
}

CChildFrame* CMultiDocTemplate::OpenDocumentFile(const QString& path, QMdiArea* area,
                                                 QString* error) const
{
    CKQ_517Doc* doc = m_createDocument();
    QString why;
    const bool ok = path.isEmpty() ? doc->OnNewDocument() : doc->OnOpenDocument(path, &why);
    if (!ok) {
        delete doc;
        if (error)
            *error = why;
        return nullptr;
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
    view->OnInitialUpdate();
    return frame;
}
