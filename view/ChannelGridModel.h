#pragma once
// ChannelGridModel: the channel table as a Qt table model over a document:
// row 0 the column headers, column 0 the channel numbers, rows 1 to 16 the
// document's channels as the texts the channel table shows. The channel cells
// are read from the document each time they are asked for, so the grid shows
// what the document holds and nothing else; the model edits nothing itself.

#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QPointer>
#include <QString>

#include <array>

#include "codeplug/ChannelTable.h"

class CKQ_517Doc;

class ChannelGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ChannelGridModel(QObject* parent = nullptr);

    // The document shown (none: empty channel cells); its changes are followed.
    void setDocument(CKQ_517Doc* document);
    // The words channel cells show ("None", "Yes", ... in the interface language).
    void setWords(const WordSet& words);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    static bool isFixed(int row, int col) { return row == 0 || col == 0; }
    QString text(int row, int col) const;
    // Headers and channel numbers; channel cells are the document's.
    void setFixedText(int row, int col, const QString& text);
    void setAlignment(int col, Qt::Alignment alignment);
    Qt::Alignment alignment(int col) const { return m_alignment.at(col); }
    void setFixedTextColour(const QColor& colour);
    void setFixedBackground(const QBrush& brush);

private:
    void channelsChanged(int first, int last);

    QPointer<CKQ_517Doc> m_document;
    WordSet m_words = WordSet::fileWords();
    std::array<std::array<QString, ChannelTable::kCols>, ChannelTable::kRows> m_fixed;
    std::array<Qt::Alignment, ChannelTable::kCols> m_alignment;
    QColor m_fixedTextColour;
    QBrush m_fixedBackground;
};
