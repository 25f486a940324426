#pragma once
// CMultiDocTemplate: the one registration of document, frame and view. It
// makes a document (new or from a file), its document window and its channel
// view, and places them in the main window's workspace.

#include <QString>

#include <functional>

class CChildFrame;
class CKQ_517Doc;
class CKQ_517View;
class QMdiArea;

class CMultiDocTemplate {
public:
    using DocumentFactory = std::function<CKQ_517Doc*()>;
    using FrameFactory = std::function<CChildFrame*()>;
    using ViewFactory = std::function<CKQ_517View*(CKQ_517Doc*)>;

    CMultiDocTemplate(int resourceId, DocumentFactory document, FrameFactory frame, ViewFactory view);

    // The registration of this program: CKQ_517Doc, CChildFrame, CKQ_517View,
    // resource 129; it also names new documents (the interface's "Channel
    // Information" and [Setup] AppName as the proposed file name).
    static CMultiDocTemplate standard();

    int resourceId() const { return m_nResourceId; }

    // path empty: a new document (OnNewDocument); else the document opened from
    // path (OnOpenDocument). Returns the shown window, or nullptr with *error
    // set (empty when the document refused without a reason).
    CChildFrame* OpenDocumentFile(const QString& path, QMdiArea* area, QString* error) const;

private:
    int m_nResourceId;
    DocumentFactory m_createDocument;
    FrameFactory m_createFrame;
    ViewFactory m_createView;
};
