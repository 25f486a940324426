#pragma once
// The channel table: 17 rows x 6 columns of texts (row 0 headers, column 0
// labels " 1".."16") and its codec to and from the memory image. The GUI grid
// and the command line both fill and read their cells through this.

#include <QString>

#include <array>

#include "codeplug/CellWords.h"
#include "codeplug/MemoryImage.h"

class ChannelTable {
public:
    static constexpr int kRows = 17;
    static constexpr int kCols = 6;
    enum Column { ColLabel = 0, ColRx = 1, ColTx = 2, ColDecode = 3, ColEncode = 4, ColBusy = 5 };

    // Headers and labels filled in, every channel cell empty; cells decode
    // in words.shown() and encode from the words of any of its languages.
    explicit ChannelTable(const CellWords& words = CellWords());
    static_assert(kCols == WordSet::kColumns);

    const QString& cell(int row, int col) const { return m_cells.at(row).at(col); }
    void setCell(int row, int col, const QString& text) { m_cells.at(row).at(col) = text; }

    bool operator==(const ChannelTable& other) const = default;

    static QString rowLabel(int row);  // "%2d"
    const CellWords& words() const { return m_words; }

    // Image to table: columns 1 to 5 of rows 1 to 16 (row 0 and column 0 untouched).
    void decode(const MemoryImage& image);
    // Table to image: bytes 0 to 12 of channel records 1 to 16, bits 1-7 of
    // byte 12 and bytes 13 to 15 untouched, nothing outside rows 1 to 16. A
    // row whose cells show what its record decodes to (showsRecord) keeps its
    // record byte for byte.
    void encode(MemoryImage& image) const;
    // True when cells 1 to 5 of row (1..16) are the texts the image's record
    // for that channel decodes to, in the words of any of the table's languages.
    bool showsRecord(int row, const MemoryImage& image) const;
    // Channel record row (1 to 16) alone, always re-encoded from its cells.
    void encodeChannel(MemoryImage& image, int row) const;

private:
    CellWords m_words;
    std::array<std::array<QString, kCols>, kRows> m_cells;
};
