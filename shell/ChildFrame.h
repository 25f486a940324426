#pragma once
// CChildFrame: a document window. Closing it only hides it; the document and
// its view stay and come back through Channel Information. It owns its document.

#include <QMdiSubWindow>

class CKQ_517Doc;
class CKQ_517View;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit CChildFrame(QWidget* parent = nullptr);
    ~CChildFrame() override;

    // Takes ownership of the document; the view becomes the window's widget.
    void attach(CKQ_517Doc* document, CKQ_517View* view);
    CKQ_517Doc* document() const { return m_pDocument; }
    CKQ_517View* view() const;

    // Shows title as the window's caption.
    void setDocumentTitle(const QString& title);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CKQ_517Doc* m_pDocument = nullptr;
};
