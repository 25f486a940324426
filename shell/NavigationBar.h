#pragma once
// CNavigationBar: the panel docked at the main window's left edge. It paints
// its frame, a caption with the "Company" text and a small close button, holds
// the navigation tree (control 1031) and is resized by dragging the sizing edge
// on its right side. It never floats or moves to another edge.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>

class QRubberBand;
class QTreeWidget;

class CNavigationBar : public QWidget {
    Q_OBJECT
public:
    explicit CNavigationBar(QWidget* parent = nullptr);
    ~CNavigationBar() override;

    // Makes the font, the tree and the close button's tooltip; false on failure.
    bool InitContents();
    QTreeWidget* GetTreeCtrl() const { return m_pTree; }

    int width() const { return m_nWidth; }
    QString caption() const { return m_strCaption; }
    // Empty until the first paint, like the rectangles they stand for.
    QRect borderRect() const { return m_rcBorder; }
    QRect closeRect() const { return m_rcClose; }
    QRect sizingRect() const;
    bool isSizing() const { return m_bSizing; }
    bool isHot() const { return m_bHot; }
    bool isPushed() const { return m_bPushed; }
    // Where the tracking line stands during a drag (bar coordinates; x 0 when none).
    int trackingX() const { return m_ptTrack.x(); }

    // The tracking line's x for pointer x: never left of 80 nor right of half
    // the main window's client width.
    int trackingPosition(int x) const;
    // The width applied on release for pointer x: from 11 up to that half.
    int appliedWidth(int x) const;

    QSize sizeHint() const override;

signals:
    // The close button was released over: the main window hides the bar.
    void closeRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int halfClientWidth() const;
    int layoutHeight() const;
    void layoutTree();
    void computeRects();
    void showTrackingLine(int x);
    void hideTrackingLine();
    void updateCursor(const QPoint& pos);
    void leaveCloseButton();

    QFont m_font;
    QRect m_rcBorder;
    QString m_strCaption;
    int m_nCaptionHeight = 22;
    int m_nWidth = 220;
    QTreeWidget* m_pTree = nullptr;
    bool m_bSizing = false;
    QPoint m_ptTrack;  // bar coordinates here; (0, 0) means no line shown
    QRect m_rcClose;
    bool m_bMouseDown = false;
    bool m_bHot = false;
    bool m_bPushed = false;
    QRubberBand* m_trackLine = nullptr;
};
