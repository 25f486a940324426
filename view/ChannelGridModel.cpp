#include "view/ChannelGridModel.h"

#include "codeplug/KQ_517Doc.h"

ChannelGridModel::ChannelGridModel(QObject* parent) : QAbstractTableModel(parent)
{
    m_alignment.fill(Qt::AlignLeft | Qt::AlignVCenter);
}

void ChannelGridModel::setDocument(CKQ_517Doc* document)
{
    if (m_document == document)
        return;
    beginResetModel();
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_document = document;
    if (m_document)
        connect(m_document, &CKQ_517Doc::channelsChanged, this, &ChannelGridModel::channelsChanged);
    endResetModel();
}

void ChannelGridModel::setWords(const WordSet& words)
{
    if (m_words == words)
        return;
    m_words = words;
    channelsChanged(1, layout::kChannelCount);
}

void ChannelGridModel::channelsChanged(int first, int last)
{
    emit dataChanged(index(first, ChannelTable::ColRx), index(last, ChannelTable::ColBusy), {Qt::DisplayRole});
}

int ChannelGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ChannelTable::kRows;
}

int ChannelGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ChannelTable::kCols;
}

QString ChannelGridModel::text(int row, int col) const
{
    if (row < 0 || row >= ChannelTable::kRows || col < 0 || col >= ChannelTable::kCols)
        return QString();
    if (isFixed(row, col))
        return m_fixed[row][col];
    return m_document ? m_document->channel(row).cellText(col, m_words) : QString();
}

QVariant ChannelGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int row = index.row();
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return text(row, col);
    case Qt::TextAlignmentRole:
        return int(m_alignment.at(col));
    case Qt::ForegroundRole:
        return isFixed(row, col) ? QVariant(QBrush(m_fixedTextColour)) : QVariant();
    case Qt::BackgroundRole:
        return isFixed(row, col) ? QVariant(m_fixedBackground) : QVariant();
    default:
        return QVariant();
    }
}

Qt::ItemFlags ChannelGridModel::flags(const QModelIndex& index) const
{
    // Fixed cells cannot become the current cell (not enabled); no cell is
    // edited by the grid itself, only through the view's in-place editors.
    if (!index.isValid() || isFixed(index.row(), index.column()))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void ChannelGridModel::setFixedText(int row, int col, const QString& text)
{
    if (row < 0 || row >= ChannelTable::kRows || col < 0 || col >= ChannelTable::kCols || !isFixed(row, col))
        return;
    m_fixed[row][col] = text;
    emit dataChanged(index(row, col), index(row, col), {Qt::DisplayRole});
}

void ChannelGridModel::setAlignment(int col, Qt::Alignment alignment)
{
    if (col < 0 || col >= ChannelTable::kCols)
        return;
    m_alignment[col] = alignment;
    emit dataChanged(index(0, col), index(ChannelTable::kRows - 1, col), {Qt::TextAlignmentRole});
}

void ChannelGridModel::setFixedTextColour(const QColor& colour)
{
    m_fixedTextColour = colour;
    emit dataChanged(index(0, 0), index(ChannelTable::kRows - 1, ChannelTable::kCols - 1), {Qt::ForegroundRole});
}

void ChannelGridModel::setFixedBackground(const QBrush& brush) { m_fixedBackground = brush; }
