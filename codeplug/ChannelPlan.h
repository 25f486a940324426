#pragma once
// Channel plans in and out: reading our CSV, CHIRP CSV and clipboard rows
// into checked channel rows (all rows pass or the whole plan is refused),
// putting those rows into an image without touching any other channel, and writing an image's channels in each format. The rows
// pass the same checks as typing into the channel grid.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

#include "codeplug/ChannelTable.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/ModelBand.h"

namespace channelplan {

// One channel of a plan, as the channel table's cells would hold it after
// typing: frequencies "%3.5f", tones tone-table texts. An empty rx means the
// channel is to be emptied; an empty busy means "keep it" (on for a channel
// the plan creates).
struct PlanRow {
    int channel = 0;  // 1 to 16
    QString rx;
    QString tx;
    QString decode;  // receive tone
    QString encode;  // transmit tone
    QString busy;
    int line = 0;    // the line of the text it came from

    bool operator==(const PlanRow& other) const = default;
};

// A channel plan is a few kilobytes; a file far larger is not one, and is
// not read whole into memory.
constexpr qint64 kLargestPlanBytes = 1024 * 1024;

enum class Reason {
    NotText,            // binary data (NUL bytes or not UTF-8)
    Empty,              // nothing but blank lines
    UnknownHeader,      // the first line names neither format
    NoRows,             // a header and no channel
    Unparsable,         // unbalanced quotes
    WrongCellCount,     // more cells than the format has columns
    BadChannel,         // not a whole number from 1 to 16
    DuplicateChannel,   // the channel was already listed
    NotANumber,         // a frequency or offset that is not a plain decimal number
    OutOfBand,          // outside the band (or not storable at all)
    OffStep,            // not on a 5 kHz or 6.25 kHz step
    TxWithoutRx,        // a transmit frequency, tone or busy lock on an empty channel
    BadTone,            // not a tone of the tone list
    BadBusyLock,        // neither Yes nor No
    BadDuplex,          // not "", "+", "-" or "split"
    TransmitOff,        // Duplex "off": a channel without transmit cannot be stored
    BadToneMode,        // not "", "Tone", "TSQL", "DTCS" or "Cross"
    BadCrossMode,
    BadPolarity,        // not two letters N or R
    MissingColumns,     // the header, or a row's tone mode, needs columns the header lacks (value: their names)
    ShortRow,           // fewer cells than the header has columns (value: the missing columns)
    BadMode,            // a CHIRP Mode the radio cannot work in (anything but FM and NFM)
    OffsetOutOfBand,    // Frequency and Offset with Duplex + or - give a transmit frequency outside the band
    OffsetOffStep,      // ... or one off the 5 kHz and 6.25 kHz steps
    NoFrequency,        // a warning: a CHIRP row without a Frequency is skipped, as CHIRP skips it
    // An export that cannot express a channel leaves it out:
    UnlistedTone,       // its tone bytes are not a tone of the tone list
    NoTransmit,         // a receive frequency without a transmit frequency
    NoReceive,          // a transmit frequency without a receive frequency
};

// Where a plan went wrong. line 0 / an empty column: the file as a whole.
struct PlanError {
    int line = 0;
    QString column;
    Reason reason = Reason::Empty;
    QString value;        // the offending text
    int earlierLine = 0;  // a duplicate channel: where it was first listed
    QString duplex;       // OffsetOutOfBand, OffsetOffStep: the Duplex as written
    QString transmit;     // ... and the transmit frequency they give
};

enum class Format { Unknown, Csv, Chirp, TabSeparated };

struct ParseResult {
    Format format = Format::Unknown;
    QList<PlanRow> rows;      // in file order; empty when there are errors
    QList<PlanError> errors;  // every bad row, in file order
    QList<PlanError> warnings;  // rows skipped without refusing the plan (a CHIRP row without a Frequency)

    bool ok() const { return errors.isEmpty(); }
};

// A file's bytes, our CSV or CHIRP CSV (told apart by the header line).
// Headers, tone and busy-lock words are read in any of words' languages; the
// rows and the errors' column names are in words.shown().
ParseResult parseFile(const QByteArray& bytes, const modelband::BandLimits& limits,
                      const CellWords& words = CellWords());

// Clipboard text: tab-separated rows of the grid's six columns.
ParseResult parseTabSeparated(const QString& text, const modelband::BandLimits& limits,
                              const CellWords& words = CellWords());

// Renumbers rows to consecutive channels from firstChannel (a paste at the
// current row). False, rows untouched, when they would run past channel 16.
bool placeFrom(QList<PlanRow>& rows, int firstChannel);

// Puts each row into its channel of image as typing it would: a channel not
// in use is new (transmit = receive, no tones, busy lock on before the row's
// own cells), a value that does not change keeps its bytes, and every other
// channel and byte of image stays as it was. The program's import and paste
// and the command line's import all go through here. The rows' busy-lock
// words are read in any of words' languages.
void applyToImage(const QList<PlanRow>& rows, MemoryImage& image, const modelband::BandLimits& limits,
                  const CellWords& words = CellWords());

// A channel an export cannot express and so leaves out of the file.
struct LeftOut {
    int channel = 0;
    int column = 0;  // the channel table column of the cell at fault
    Reason reason = Reason::UnlistedTone;
    QString value;   // the cell as the channel table shows it
};

// Our CSV: the header, then channels 1 to 16, each cell the text the channel
// table shows in the CSV files' words (WordSet::fileWords()).
QByteArray writeCsv(const MemoryImage& image);
// CHIRP CSV: the header, then one row per channel, in a form CHIRP's own
// reader accepts on every row. A channel that form cannot hold (a tone off
// the tone list, only one of its two frequencies) is left out and, when
// leftOut is given, named there; an empty list means the file is complete.
QByteArray writeChirpCsv(const MemoryImage& image, QList<LeftOut>* leftOut = nullptr);
// Clipboard rows of table (channel numbers as plain numbers), in the given order.
QString writeTabSeparated(const ChannelTable& table, const QList<int>& channels);

}  // namespace channelplan
