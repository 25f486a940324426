#pragma once
// CellValidator: what the channel view's in-place editor does with a text when
// it is stored into a cell of the channel table: frequency reading, band and
// channel-step checks, the row that follows a new receive frequency, and the
// tones and busy lock that only a channel in use may carry. Pure logic on a
// ChannelTable, so the rules are the same wherever a cell is edited.

#include <QString>

#include <cstdint>

#include "codeplug/ChannelTable.h"

class CellValidator {
public:
    // How the editor was closed: by leaving the cell, or by Enter. They differ
    // only for a transmit frequency off the channel step.
    enum class Trigger { CellLeave, Enter };

    // Message ids of the string table (0: no message, the value was stored).
    // MsgNotANumber: "Please enter the frequency as a number in MHz, ...".
    enum Message : int {
        NoMessage = 0,
        MsgOutOfRange = 61448,
        MsgOffStep = 61456,
        MsgNotANumber = 61457
    };

    enum class FrequencyCheck { Empty, NotANumber, OutOfRange, OffStep, Valid };

    // The largest frequency the image can hold (eight decimal digits).
    static constexpr std::int64_t kLargestFrequency = 99999999;
    // The smallest: below 10 MHz the most significant digit pair is 0x00,
    // which the image reads back as "no frequency".
    static constexpr std::int64_t kSmallestFrequency = 1000000;

    CellValidator(std::int32_t bandLow, std::int32_t bandHigh, bool chinese);

    // Reads a typed frequency (decimal product with 100000) and checks it:
    // a plain decimal number (isPlainNumber), both band limits allowed and
    // within what the image can hold, a multiple of 5 kHz or 6.25 kHz. *units
    // gets the value read (0 for an empty text or one that is not a number).
    FrequencyCheck checkFrequency(const QString& text, std::int64_t* units = nullptr) const;

    // ASCII digits with at most one '.', at least one digit, optionally
    // surrounded by blanks: "145.5", " 145 ", "145.", ".5". No sign, no
    // exponent, no comma, no unit, nothing after the number.
    static bool isPlainNumber(const QString& text);

    // Stores text, typed or chosen in cell (row, col), into table with the
    // cells of that row that follow from it. Returns the message to show
    // (NoMessage when the text was accepted). A typed frequency that is not a
    // number leaves the whole row as it was. Rows outside 1..16 and columns
    // outside 1..5 are left alone.
    int store(ChannelTable& table, int row, int col, const QString& text, Trigger trigger) const;

private:
    static void clearRow(ChannelTable& table, int row);

    std::int32_t m_nBandLow;
    std::int32_t m_nBandHigh;
    bool m_bChinese;
};
