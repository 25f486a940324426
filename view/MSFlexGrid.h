#pragma once
// CMSFlexGrid: the channel grid. A QTableWidget with the operations the channel
// view, the table codec glue and printing ask of a grid: current cell, cell
// texts, column widths (twips), alignment, header colour, cell geometry (twips,
// relative to the grid's viewport) and the cell-leave / cell-enter / mouse-down
// notifications. Row 0 and column 0 are fixed (headers and channel numbers).

#include <QColor>
#include <QList>
#include <QTableWidget>

class CMSFlexGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit CMSFlexGrid(QWidget* parent = nullptr);  // 17 x 6 cells

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
    bool isFixed(int row, int col) const { return row == 0 || col == 0; }
    QTableWidgetItem* cellItem(int row, int col) const;
    void styleItem(QTableWidgetItem* item, int row, int col) const;

    // The current cell as callers see it: it changes between LeaveCell and
    // EnterCell, after the view's own current index has already moved.
    int m_nRow = 1;
    int m_nCol = 1;
    // The selected channel rows (0: none); the anchor is where Shift extends from.
    int m_nSelFirst = 0;
    int m_nSelLast = 0;
    int m_nSelAnchor = 0;
    bool m_bRowPress = false;  // the button went down to select rows
    QColor m_fixedTextColour;
    QList<Qt::Alignment> m_alignment;
};
