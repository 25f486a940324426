#include "shell/NavigationBar.h"

#include <QEvent>

#include <algorithm>

#include <QHelpEvent>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QStyle>
#include <QToolTip>
#include <QTreeWidget>

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/ui/LanguageModule.h"
#include "texts/TextTable.h"

namespace {
constexpr int kCloseTip = 62008;  // "Close", over the close button
constexpr int kTreeId = 1031;
constexpr int kMinTrackX = 80;
constexpr int kMinWidth = 11;
constexpr int kSizingEdge = 6;
}  // namespace

CNavigationBar::CNavigationBar(QWidget* parent) : QWidget(parent)
{
    // The settings file compares key names without regard to case, so "company"
    // finds the language section's "Company".
    m_strCaption = g_settings.GetText(g_strLanguage.toUtf8(), "company", QString());
    setObjectName(LanguageModule::controlName(100));
    setMouseTracking(true);
    setFixedWidth(m_nWidth);
    setMinimumHeight(120);  // room for the caption and a few tree rows
}

CNavigationBar::~CNavigationBar() = default;

bool CNavigationBar::InitContents()
{
    setWindowTitle(QStringLiteral("IE Control Bar"));
    // 14-pixel characters of a variable-pitch face able to show Chinese.
    m_font = QFont(QStringLiteral("Times New Roman"));
    m_font.setPixelSize(14);
    m_font.setWeight(QFont::Normal);
    setFont(m_font);

    m_pTree = new QTreeWidget(this);
    m_pTree->setObjectName(LanguageModule::controlName(kTreeId));
    m_pTree->setHeaderHidden(true);
    m_pTree->setFont(m_font);
    m_pTree->installEventFilter(this);  // the pointer entering the tree leaves the button
    m_pTree->show();
    layoutTree();
    return true;
}

QSize CNavigationBar::sizeHint() const { return QSize(m_nWidth, QWidget::sizeHint().height()); }

int CNavigationBar::halfClientWidth() const
{
    const QWidget* main = window();
    if (auto* mw = qobject_cast<const QMainWindow*>(main))
        return mw->width() / 2;
    return main ? main->width() / 2 : m_nWidth;
}

int CNavigationBar::trackingPosition(int x) const
{
    if (x < kMinTrackX)
        return kMinTrackX;
    const int half = halfClientWidth();
    return x > half ? half : x;
}

int CNavigationBar::appliedWidth(int x) const
{
    if (x < kMinWidth)
        return kMinWidth;
    const int half = halfClientWidth();
    return x > half ? half : x;
}

QRect CNavigationBar::sizingRect() const
{
    if (m_rcBorder.isEmpty())
        return QRect();
    // Right of the frame's border, over its whole height.
    return QRect(QPoint(m_rcBorder.right() + 1, m_rcBorder.top()),
                 QPoint(m_rcBorder.right() + kSizingEdge, m_rcBorder.bottom()));
}

namespace {
// The most of the layout height that may lie below the bar's own bottom: the
// frame's bottom line (49 pixels up) stays visible two pixels above it.
constexpr int kMostHiddenHeight = 47;
}  // namespace

int CNavigationBar::layoutHeight() const
{
    // The bar lays itself out for the height of the main window's client
    // area (below the menu bar), as tall as the window offers, not only for
    // the part the toolbar and status bar leave it: its frame's bottom margin
    // of 49 pixels is the room those two bars take, so the frame closes just
    // above the status bar.
    if (auto* main = qobject_cast<const QMainWindow*>(window())) {
        const QWidget* menu = main->menuWidget();
        const int client = main->height() - (menu && menu->isVisible() ? menu->height() : 0);
        // Where this style's bars take more than those 49 pixels, the frame
        // still closes inside the bar, not hidden under the status bar.
        return std::clamp(client, QWidget::height(), QWidget::height() + kMostHiddenHeight);
    }
    return QWidget::height();
}

void CNavigationBar::computeRects()
{
    const int w = QWidget::width();
    const int h = layoutHeight();
    // Border B = (4, 7, W - 6, H - 49) as left/top/right/bottom edges, right
    // and bottom excluded.
    m_rcBorder = QRect(QPoint(4, 7), QPoint(w - 6 - 1, h - 49 - 1));
    const int c = m_nCaptionHeight;
    // Close button K = (B.right - h + 2, B.top + 4, B.right - 4, B.top + h - 3).
    const int bRight = w - 6;
    m_rcClose = QRect(QPoint(bRight - c + 2, 7 + 4), QPoint(bRight - 4 - 1, 7 + c - 3 - 1));
}

void CNavigationBar::layoutTree()
{
    if (!m_pTree)
        return;
    const int top = m_nCaptionHeight + 9;
    m_pTree->setGeometry(5, top, qMax(0, m_nWidth - 13), qMax(0, layoutHeight() - 51 - top));
}

void CNavigationBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutTree();
}

void CNavigationBar::paintEvent(QPaintEvent*)
{
    computeRects();
    QPainter p(this);
    const QPalette pal = palette();
    const int w = QWidget::width();
    const int h = layoutHeight();
    // Frame F = (3, 6, W - 6, H - 49) in grey with a white inner highlight.
    const QRect f(QPoint(3, 6), QPoint(w - 6, h - 49));
    // The outline stands inside F: its right and bottom sides one pixel in
    // from F's right and bottom edges, where the white lines run.
    p.setPen(pal.color(QPalette::Disabled, QPalette::WindowText));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.adjusted(0, 0, -2, -2));
    p.setPen(Qt::white);
    p.drawLine(f.left() + 1, f.top() + 1, f.left() + 1, f.bottom() - 2);
    p.drawLine(f.left() + 1, f.top() + 1, f.right() - 2, f.top() + 1);
    p.drawLine(f.right(), f.top(), f.right(), f.bottom() - 1);
    p.drawLine(f.left(), f.bottom(), f.right(), f.bottom());

    // Caption, centred in its band, and the separator under it.
    p.setFont(font());
    const int textWidth = p.fontMetrics().horizontalAdvance(m_strCaption);
    const QRect band(m_rcBorder.left() + 5, m_rcBorder.top(), textWidth, m_nCaptionHeight);
    p.setPen(pal.color(QPalette::WindowText));
    p.drawText(band, Qt::AlignCenter | Qt::TextSingleLine, m_strCaption);
    p.setPen(pal.color(QPalette::Disabled, QPalette::WindowText));
    const int sepY = m_rcBorder.top() + m_nCaptionHeight;
    p.drawLine(m_rcBorder.left() + 1, sepY, m_rcBorder.right(), sepY);

    // Close button: raised while hot, sunken while pushed.
    if (m_bHot || m_bPushed) {
        const QColor light = pal.color(QPalette::Light);
        const QColor dark = pal.color(QPalette::Dark);
        const QColor topLeft = m_bHot ? light : dark;
        const QColor bottomRight = m_bHot ? dark : light;
        const QRect k = m_rcClose;
        p.setPen(topLeft);
        p.drawLine(k.topLeft(), k.topRight());
        p.drawLine(k.topLeft(), k.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(k.bottomLeft(), k.bottomRight());
        p.drawLine(k.topRight(), k.bottomRight());
    }
    const QIcon close = LanguageModule::icon(131);
    if (!close.isNull())
        p.drawPixmap(m_rcClose.topLeft(), close.pixmap(16, 16));
}

bool CNavigationBar::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        if (!m_rcClose.isEmpty() && m_rcClose.contains(help->pos()))
            QToolTip::showText(help->globalPos(), texts::text(kCloseTip), this, m_rcClose);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(e);
}

void CNavigationBar::updateCursor(const QPoint& pos)
{
    if (m_rcBorder.isEmpty())
        return;
    if (m_bSizing || sizingRect().contains(pos))
        setCursor(LanguageModule::cursor(132, QCursor(Qt::SizeHorCursor)));
    else
        setCursor(Qt::ArrowCursor);
}

void CNavigationBar::showTrackingLine(int x)
{
    if (!m_trackLine) {
        m_trackLine = new QRubberBand(QRubberBand::Line, window());
    }
    // A thin vertical line over the bar's height, less the bottom margin.
    const QPoint top = mapTo(window(), QPoint(x, 0));
    m_trackLine->setGeometry(top.x(), top.y(), 3, qMax(1, QWidget::height() - 43));
    m_trackLine->show();
    m_trackLine->raise();
    m_ptTrack = QPoint(x, 0);
}

void CNavigationBar::hideTrackingLine()
{
    if (m_trackLine)
        m_trackLine->hide();
    m_ptTrack = QPoint();
}

void CNavigationBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    if (!m_rcClose.isEmpty()) {
        m_bMouseDown = true;
        m_bHot = false;
        if (m_rcClose.contains(pos))
            m_bPushed = true;
        update(m_rcClose);
    }
    if (sizingRect().contains(pos))
        m_bSizing = true;
}

void CNavigationBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    updateCursor(pos);
    if (m_bSizing)
        showTrackingLine(trackingPosition(pos.x()));
    if (m_rcClose.isEmpty())
        return;
    if (m_rcClose.contains(pos)) {
        if (m_bHot)
            return;
        m_bHot = !m_bMouseDown;
        m_bPushed = m_bMouseDown;
        update(m_rcClose);
    } else {
        leaveCloseButton();
    }
}

void CNavigationBar::leaveCloseButton()
{
    if (m_bHot || m_bPushed) {
        m_bHot = false;
        m_bPushed = false;
        update(m_rcClose);
    }
}

void CNavigationBar::leaveEvent(QEvent* event)
{
    // Moves stop reaching the bar once the pointer is off it (no button held):
    // the button must not stay raised.
    leaveCloseButton();
    QWidget::leaveEvent(event);
}

bool CNavigationBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pTree && event->type() == QEvent::Enter)
        leaveCloseButton();
    return QWidget::eventFilter(watched, event);
}

void CNavigationBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint pos = event->position().toPoint();
    m_bPushed = false;
    m_bHot = false;
    m_bMouseDown = false;
    if (!m_ptTrack.isNull())
        hideTrackingLine();
    if (!m_rcClose.isEmpty()) {
        update(m_rcClose);
        // The press need not have started on the button.
        if (m_rcClose.contains(pos))
            emit closeRequested();
    }
    if (m_bSizing) {
        m_nWidth = appliedWidth(pos.x());
        setFixedWidth(m_nWidth);
        layoutTree();
        updateGeometry();
    }
    m_bSizing = false;
    updateCursor(pos);
}

void CNavigationBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Ignored: the bar neither floats nor re-docks.
    event->accept();
}
