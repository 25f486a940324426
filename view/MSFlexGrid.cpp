#include "view/MSFlexGrid.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <utility>

#include "codeplug/ChannelTable.h"
#include "view/ChannelGridModel.h"

namespace {

// The grid holds the channel table: headers, labels and 16 channels.
constexpr int kRows = ChannelTable::kRows;
constexpr int kCols = ChannelTable::kCols;
constexpr int kTwipsPerInch = 1440;
// Form-time sizes in pixels, the least the grid starts with: rows grow to the
// font's height, and the view widens the columns to its headers (and the grid
// to its cells) before the first update.
constexpr int kDefaultRowHeight = 15;
constexpr int kDefaultColWidth = 60;
// Room a row keeps around the font's height.
constexpr int kRowPadding = 4;

Qt::Alignment alignmentFor(short value)
{
    switch (value) {
    case 0: return Qt::AlignLeft | Qt::AlignTop;
    case 1: return Qt::AlignLeft | Qt::AlignVCenter;
    case 2: return Qt::AlignLeft | Qt::AlignBottom;
    case 3: return Qt::AlignHCenter | Qt::AlignTop;
    case 4: return Qt::AlignCenter;
    case 5: return Qt::AlignHCenter | Qt::AlignBottom;
    case 6: return Qt::AlignRight | Qt::AlignTop;
    case 7: return Qt::AlignRight | Qt::AlignVCenter;
    case 8: return Qt::AlignRight | Qt::AlignBottom;
    default: return Qt::AlignLeft | Qt::AlignVCenter;  // general
    }
}

}  // namespace

CMSFlexGrid::CMSFlexGrid(QWidget* parent) : QTableView(parent), m_model(new ChannelGridModel(this))
{
    setModel(m_model);
    m_model->setFixedTextColour(palette().color(QPalette::ButtonText));
    m_model->setFixedBackground(palette().brush(QPalette::Button));
    setObjectName(QStringLiteral("id1000"));
    setFont(QFont(QStringLiteral("Times New Roman"), 9));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    // Minimums first: a default below the header's own minimum would be
    // raised to it.
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(kDefaultColWidth);
    verticalHeader()->setDefaultSectionSize(
        std::max(kDefaultRowHeight, fontMetrics().height() + kRowPadding));
    // The in-place editors of the view are the only editors.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // Off: hiding a focused in-place editor asks its parents for the next
    // focus, which would move the current cell. The view moves it on Tab and
    // Shift+Tab itself.
    setTabKeyNavigation(false);
    selectionModel()->setCurrentIndex(model()->index(m_nRow, m_nCol),
                                      QItemSelectionModel::ClearAndSelect);
}

void CMSFlexGrid::setDocument(CKQ_517Doc* document) { m_model->setDocument(document); }

bool CMSFlexGrid::navigate(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    int row = m_nRow;
    int col = m_nCol;
    switch (key) {
    case Qt::Key_Up: --row; break;
    case Qt::Key_Down: ++row; break;
    case Qt::Key_Left: --col; break;
    case Qt::Key_Right: ++col; break;
    case Qt::Key_Home:
        col = 1;
        if (ctrl)
            row = 1;
        break;
    case Qt::Key_End:
        col = kCols - 1;
        if (ctrl)
            row = kRows - 1;
        break;
    case Qt::Key_PageUp: row = 1; break;
    case Qt::Key_PageDown: row = kRows - 1; break;
    default: return false;
    }
    SetRowCol(std::clamp(row, 1, kRows - 1), std::clamp(col, 1, kCols - 1));
    return true;
}

long CMSFlexGrid::GetRows() const { return kRows; }
long CMSFlexGrid::GetCols() const { return kCols; }
long CMSFlexGrid::GetRow() const { return m_nRow; }
long CMSFlexGrid::GetCol() const { return m_nCol; }

void CMSFlexGrid::SetRow(long row) { SetRowCol(row, m_nCol); }
void CMSFlexGrid::SetCol(long col) { SetRowCol(m_nRow, col); }

void CMSFlexGrid::SetRowCol(long row, long col)
{
    if (row < 0 || row >= kRows || col < 0 || col >= kCols)
        return;
    if (row == m_nRow && col == m_nCol)
        return;
    if (m_leaveCheck && !m_leaveCheck())
        return;
    // Through the selection model rather than setCurrentCell, so the program
    // may also name a fixed cell; currentChanged() sends the notifications.
    selectionModel()->setCurrentIndex(model()->index(int(row), int(col)),
                                      QItemSelectionModel::ClearAndSelect);
}

void CMSFlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (!current.isValid() || (current.row() == m_nRow && current.column() == m_nCol))
        return;
    // Moving the current cell ends a row selection.
    m_nSelFirst = m_nSelLast = m_nSelAnchor = 0;
    emit LeaveCell();  // Row/Col still answer the old cell
    m_nRow = current.row();
    m_nCol = current.column();
    emit EnterCell();
}

void CMSFlexGrid::mousePressEvent(QMouseEvent* event)
{
    // A click on a channel number selects its row, Shift+click extends the
    // selection from the row selected first (or the current row); the current
    // cell stays where it is and no editor opens.
    const QModelIndex at = indexAt(event->position().toPoint());
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    // A value being edited is stored before anything else is picked; a
    // refused one keeps its cell (and the click does nothing).
    const bool picksOther = at.isValid() && at.row() >= 1 && (at.row() != m_nRow || at.column() != m_nCol);
    if (picksOther && m_leaveCheck && !m_leaveCheck()) {
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton && at.isValid() && at.row() >= 1 && (at.column() == 0 || extend)) {
        const int anchor = extend ? (m_nSelAnchor ? m_nSelAnchor : m_nRow) : at.row();
        selectRows(anchor, at.row());
        m_nSelAnchor = anchor;
        m_bRowPress = true;
        setFocus();
        emit RowsSelected();
        return;
    }
    m_bRowPress = false;
    // The press moves the current cell first (LeaveCell, EnterCell), then
    // MouseDown follows, as the view expects.
    QTableView::mousePressEvent(event);
    short button = 0;
    if (event->button() == Qt::LeftButton)
        button = 1;
    else if (event->button() == Qt::RightButton)
        button = 2;
    else if (event->button() == Qt::MiddleButton)
        button = 4;
    short shift = 0;
    if (event->modifiers() & Qt::ShiftModifier)
        shift |= 1;
    if (event->modifiers() & Qt::ControlModifier)
        shift |= 2;
    if (event->modifiers() & Qt::AltModifier)
        shift |= 4;
    const QPoint pos = event->position().toPoint();
    emit MouseDown(button, shift, pixelsToTwipsX(pos.x()), pixelsToTwipsY(pos.y()));
}

void CMSFlexGrid::mouseMoveEvent(QMouseEvent* event)
{
    // A row-selecting press never drags the current cell along.
    if (!m_bRowPress)
        QTableView::mouseMoveEvent(event);
}

void CMSFlexGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (std::exchange(m_bRowPress, false))
        return;
    QTableView::mouseReleaseEvent(event);
}

void CMSFlexGrid::keyPressEvent(QKeyEvent* event)
{
    // Shift+Up / Shift+Down extend the row selection from the current row.
    const int key = event->key();
    if ((event->modifiers() & Qt::ShiftModifier) && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        const int anchor = m_nSelAnchor ? m_nSelAnchor : m_nRow;
        const int end = m_nSelFirst ? (m_nSelFirst == anchor ? m_nSelLast : m_nSelFirst) : m_nRow;
        const int next = std::clamp(end + (key == Qt::Key_Up ? -1 : 1), 1, kRows - 1);
        selectRows(anchor, next);
        m_nSelAnchor = anchor;
        emit RowsSelected();
        return;
    }
    // Navigation keys only move the current cell, through the same check as
    // any other move.
    if (!(event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier)) && navigate(key, event->modifiers())) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

QList<int> CMSFlexGrid::selectedRows() const
{
    QList<int> rows;
    if (!m_nSelFirst) {
        if (m_nRow >= 1)
            rows << m_nRow;
        return rows;
    }
    for (int r = m_nSelFirst; r <= m_nSelLast; ++r)
        rows << r;
    return rows;
}

void CMSFlexGrid::selectRows(int first, int last)
{
    if (first > last)
        std::swap(first, last);
    first = std::clamp(first, 1, kRows - 1);
    last = std::clamp(last, 1, kRows - 1);
    m_nSelFirst = first;
    m_nSelLast = last;
    m_nSelAnchor = first;
    const QItemSelection rows(model()->index(first, 1), model()->index(last, kCols - 1));
    selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
}

void CMSFlexGrid::clearRowSelection()
{
    m_nSelFirst = m_nSelLast = m_nSelAnchor = 0;
    selectionModel()->select(model()->index(m_nRow, m_nCol), QItemSelectionModel::ClearAndSelect);
}

QString CMSFlexGrid::GetText() const { return GetTextMatrix(m_nRow, m_nCol); }

void CMSFlexGrid::SetText(const QString& text) { SetTextMatrix(m_nRow, m_nCol, text); }

QString CMSFlexGrid::GetTextMatrix(long row, long col) const { return m_model->text(int(row), int(col)); }

void CMSFlexGrid::SetTextMatrix(long row, long col, const QString& text)
{
    m_model->setFixedText(int(row), int(col), text);
}

long CMSFlexGrid::pixelsToTwipsX(int px) const { return long(px) * kTwipsPerInch / logicalDpiX(); }
long CMSFlexGrid::pixelsToTwipsY(int px) const { return long(px) * kTwipsPerInch / logicalDpiY(); }
int CMSFlexGrid::twipsToPixelsX(long twips) const { return int(twips * logicalDpiX() / kTwipsPerInch); }
int CMSFlexGrid::twipsToPixelsY(long twips) const { return int(twips * logicalDpiY() / kTwipsPerInch); }

long CMSFlexGrid::GetColWidth(long col) const
{
    if (col < 0 || col >= kCols)
        return 0;
    return pixelsToTwipsX(columnWidth(int(col)));
}

void CMSFlexGrid::SetColWidth(long col, long twips)
{
    if (col < 0 || col >= kCols || twips < 0)
        return;
    setColumnWidth(int(col), twipsToPixelsX(twips));
}

void CMSFlexGrid::SetColumnAlignment(long col, short value)
{
    if (col < 0 || col >= kCols)
        return;
    m_model->setAlignment(int(col), alignmentFor(value));
}

void CMSFlexGrid::SetFixedCellTextColour(quint32 bgr)
{
    m_model->setFixedTextColour(QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)));
}

long CMSFlexGrid::GetCellLeft() const
{
    return pixelsToTwipsX(visualRect(model()->index(m_nRow, m_nCol)).left());
}

long CMSFlexGrid::GetCellTop() const
{
    return pixelsToTwipsY(visualRect(model()->index(m_nRow, m_nCol)).top());
}

long CMSFlexGrid::GetCellWidth() const
{
    return pixelsToTwipsX(visualRect(model()->index(m_nRow, m_nCol)).width());
}

long CMSFlexGrid::GetCellHeight() const
{
    return pixelsToTwipsY(visualRect(model()->index(m_nRow, m_nCol)).height());
}
