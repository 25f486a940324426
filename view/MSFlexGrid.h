#pragma once
// CMSFlexGrid: the channel grid. A QTableWidget with the operations the channel
// view, the table codec glue and printing ask of a grid: current cell, cell
// texts, column widths (twips), alignment, header colour, cell geometry (twips,
// relative to the grid's viewport) and the cell-leave / cell-enter / mouse-down
// notifications. Row 0 and column 0 are fixed (headers and channel numbers).

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

signals:
    void LeaveCell();  // while Row/Col still name the cell being left
    void EnterCell();  // Row/Col name the new cell
    void MouseDown(short button, short shift, long x, long y);
};
