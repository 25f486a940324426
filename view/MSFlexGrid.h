#pragma once
// CMSFlexGrid: the channel grid. A table view over a ChannelGridModel with
// the operations the channel view and its tests ask of a grid: current cell,
// cell texts, column widths (twips), alignment, header colour, cell geometry
// (twips, relative to the grid's viewport) and the cell-leave / cell-enter /
// mouse-down notifications. Row 0 and column 0 are fixed (headers and channel
// numbers); the channel cells show the document the model is given.

#include <QList>
#include <QTableView>

#include <functional>

class CKQ_517Doc;
class ChannelGridModel;

class CMSFlexGrid : public QTableView {
    Q_OBJECT
public:
    explicit CMSFlexGrid(QWidget* parent = nullptr);  // 17 x 6 cells

    ChannelGridModel* gridModel() const { return m_model; }
    void setDocument(CKQ_517Doc* document);
    // Asked before the current cell moves away (by the program, a click or a
    // key); false keeps the current cell where it is. The channel view stores
    // its open editor here, and a refused value keeps the cell.
    void setLeaveCheck(std::function<bool()> check) { m_leaveCheck = std::move(check); }
    // Moves the current cell as a navigation key does: arrows by one cell,
    // Home/End to the first/last column (with Ctrl: of the first/last row),
    // Page Up/Down to the first/last row. Never past the channel cells.
    bool navigate(int key, Qt::KeyboardModifiers modifiers);

    long GetRows() const;
    long GetCols() const;
    long GetRow() const;
    void SetRow(long row);  // emits LeaveCell before and EnterCell after a change
    long GetCol() const;
    void SetCol(long col);
    // Moves the current cell to (row, col) in one step: one LeaveCell, one EnterCell.
    void SetRowCol(long row, long col);
    QString GetText() const;  // current cell
    void SetText(const QString& text);
    QString GetTextMatrix(long row, long col) const;
    // Headers and channel numbers only: the channel cells show the document.
    void SetTextMatrix(long row, long col, const QString& text);
    long GetColWidth(long col) const;  // twips
    void SetColWidth(long col, long twips);
    void SetColumnAlignment(long col, short value);  // 4 = centred
    void SetFixedCellTextColour(quint32 bgr);         // 0x00BBGGRR
    long GetCellLeft() const;  // current cell, twips
    long GetCellTop() const;
    long GetCellWidth() const;
    long GetCellHeight() const;

    // Whole-row selection (a click on a channel number, Shift+click or
    // Shift+Up/Down): the channel rows it covers, in order; the current row
    // alone when no rows are selected. The current cell stays the one cell
    // that is edited.
    QList<int> selectedRows() const;
    void selectRows(int first, int last);
    void clearRowSelection();
    bool hasRowSelection() const { return m_nSelFirst != 0; }

    // Twips <-> pixels of this grid's screen (1440 twips per logical inch).
    long pixelsToTwipsX(int px) const;
    long pixelsToTwipsY(int px) const;
    int twipsToPixelsX(long twips) const;
    int twipsToPixelsY(long twips) const;

signals:
    void LeaveCell();  // while Row/Col still name the cell being left
    void EnterCell();  // Row/Col name the new cell
    void MouseDown(short button, short shift, long x, long y);
    void RowsSelected();  // the row selection was made or extended by the user

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Typed text never moves the current cell: the view opens the cell's
    // editor with it instead.
    void keyboardSearch(const QString&) override {}

private:
    ChannelGridModel* m_model;
    std::function<bool()> m_leaveCheck;

    // The current cell as callers see it: it changes between LeaveCell and
    // EnterCell, after the view's own current index has already moved.
    int m_nRow = 1;
    int m_nCol = 1;
    // The selected channel rows (0: none); the anchor is where Shift extends from.
    int m_nSelFirst = 0;
    int m_nSelLast = 0;
    int m_nSelAnchor = 0;
    bool m_bRowPress = false;  // the button went down to select rows
};
