#pragma once
// The columns of the channel-plan files: our own CSV (the channel table's
// columns), the generic CHIRP CSV, and the tab-separated rows of the
// clipboard. Readers and writers name their columns only through this file.

#include <QString>

#include "codeplug/ChannelTable.h"

namespace planformat {

// Our CSV: a header of the channel table's column headers in the CSV files'
// words, WordSet::fileWords().headers (read in any known language's words),
// then one row per channel:
//   CH            channel number, 1 to 16
//   Rx Frequency  MHz, "%3.5f" (empty: the channel is empty)
//   Tx Frequency  MHz (empty: the receive frequency)
//   QT/DQT Dec    receive tone, a tone-table text ("None", "67.0", "D023N", "D023I")
//   QT/DQT Enc    transmit tone, the same texts
//   Busy Lock     "Yes" / "No" (empty: kept, or on for a new channel)
constexpr int kCsvColumnCount = ChannelTable::kCols;
constexpr char kCsvSeparator = ',';

// The clipboard: the same six cells in the same order, tab-separated, one
// line per channel, no header line (a header line is skipped when present).
constexpr char kTabSeparator = '\t';

// The generic CHIRP CSV. Location is the channel (1 to 16); Frequency and
// Offset are MHz. Columns after RxDtcsCode that we do not store are written
// with neutral values and ignored when read.
enum ChirpColumn {
    ChirpLocation,      // channel number
    ChirpName,          // ignored
    ChirpFrequency,     // receive frequency, MHz
    ChirpDuplex,        // "" simplex, "+"/"-" Offset away, "split" Offset is the transmit frequency, "off" no transmit
    ChirpOffset,        // MHz
    ChirpTone,          // tone mode: "", "Tone", "TSQL", "DTCS", "Cross"
    ChirpRToneFreq,     // transmit CTCSS ("Tone", "Cross" from Tone)
    ChirpCToneFreq,     // CTCSS both ways in "TSQL"; the receive CTCSS in "Cross" to Tone
    ChirpDtcsCode,      // DCS both ways in "DTCS"; the transmit DCS in "Cross" from DTCS
    ChirpDtcsPolarity,  // two letters, transmit then receive: N normal, R reversed (our "I")
    ChirpRxDtcsCode,    // the receive DCS in "Cross" to DTCS
    ChirpCrossMode,     // "Tone->Tone", "Tone->DTCS", "DTCS->Tone", "DTCS->DTCS", "->Tone", "->DTCS", "DTCS->", "Tone->"
    ChirpMode,
    ChirpTStep,
    ChirpSkip,
    ChirpPower,
    ChirpComment,
    ChirpUrCall,
    ChirpRpt1Call,
    ChirpRpt2Call,
    ChirpDvCode,
    ChirpColumnCount
};

constexpr QLatin1StringView kChirpColumnNames[ChirpColumnCount] = {
    QLatin1StringView("Location"),   QLatin1StringView("Name"),         QLatin1StringView("Frequency"),
    QLatin1StringView("Duplex"),     QLatin1StringView("Offset"),       QLatin1StringView("Tone"),
    QLatin1StringView("rToneFreq"),  QLatin1StringView("cToneFreq"),    QLatin1StringView("DtcsCode"),
    QLatin1StringView("DtcsPolarity"), QLatin1StringView("RxDtcsCode"), QLatin1StringView("CrossMode"),
    QLatin1StringView("Mode"),       QLatin1StringView("TStep"),        QLatin1StringView("Skip"),
    QLatin1StringView("Power"),      QLatin1StringView("Comment"),      QLatin1StringView("URCALL"),
    QLatin1StringView("RPT1CALL"),   QLatin1StringView("RPT2CALL"),     QLatin1StringView("DVCODE"),
};

// The export leaves the Power column out: the radio has one transmit power
// for all its channels, not one a channel, and CHIRP's reader gives each
// channel of a file without the column its default power. Read, the column
// is ignored.
constexpr bool chirpColumnWritten(ChirpColumn c)
{
    return c != ChirpPower;
}

// Duplex values.
constexpr QLatin1StringView kDuplexSimplex("");
constexpr QLatin1StringView kDuplexPlus("+");
constexpr QLatin1StringView kDuplexMinus("-");
constexpr QLatin1StringView kDuplexSplit("split");
constexpr QLatin1StringView kDuplexOff("off");

// Tone modes.
constexpr QLatin1StringView kToneNone("");
constexpr QLatin1StringView kToneTone("Tone");
constexpr QLatin1StringView kToneTsql("TSQL");
constexpr QLatin1StringView kToneDtcs("DTCS");
constexpr QLatin1StringView kToneCross("Cross");

// Cross modes: what each side of "->" is ("" none, "Tone" CTCSS, "DTCS" DCS).
constexpr QLatin1StringView kCrossArrow("->");
constexpr QLatin1StringView kCrossTone("Tone");
constexpr QLatin1StringView kCrossDtcs("DTCS");

// DtcsPolarity letters.
constexpr char kPolarityNormal = 'N';
constexpr char kPolarityReversed = 'R';

// Neutral values written in tone columns a row's mode does not use, and the
// constant columns we do not store.
constexpr QLatin1StringView kChirpDefaultCtcss("88.5");
constexpr QLatin1StringView kChirpDefaultDcs("023");
constexpr QLatin1StringView kChirpDefaultPolarity("NN");
constexpr QLatin1StringView kChirpDefaultCross("Tone->Tone");
constexpr QLatin1StringView kChirpMode("FM");
// The modes the radio works in; CHIRP has many more (AM, WFM, DV...).
constexpr QLatin1StringView kChirpModes[] = {QLatin1StringView("FM"), QLatin1StringView("NFM")};
// A first cell starting with this makes the line a comment (before the
// header and between rows).
constexpr QChar kCommentMark = u'#';

}  // namespace planformat
