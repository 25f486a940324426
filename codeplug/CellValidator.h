#pragma once
// CellValidator: what a text typed or chosen for a cell of the channel table
// does to its channel: frequency reading, band and channel-step checks, the
// channel that follows a new receive frequency, and the tones and busy lock
// that only a channel with a frequency may carry. It decides before anything
// changes: a refused text leaves the channel as it was. The channel grid and
// channel plans (import, paste) both store through it.

#include <QString>

#include <cstdint>

#include "codeplug/Channel.h"
#include "codeplug/ChannelTable.h"

class CellValidator {
public:
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

    // Busy-lock texts read in the words of any of words' languages.
    CellValidator(std::int32_t bandLow, std::int32_t bandHigh, const CellWords& words = CellWords());

    // Reads a typed frequency (decimal product with 100000) and checks it:
    // a plain decimal number (isPlainNumber), both band limits allowed and
    // within what the image can hold, a multiple of 5 kHz or 6.25 kHz. *units
    // gets the value read (0 for an empty text or one that is not a number).
    FrequencyCheck checkFrequency(const QString& text, std::int64_t* units = nullptr) const;

    // ASCII digits with at most one '.', at least one digit, optionally
    // surrounded by blanks: "145.5", " 145 ", "145.", ".5". No sign, no
    // exponent, no comma, no unit, nothing after the number.
    static bool isPlainNumber(const QString& text);

    // Stores text, typed or chosen for column col (1 to 5), into channel with
    // the fields that follow from it. Returns the message to show (NoMessage
    // when the text was accepted); a refused text changes nothing. An empty
    // receive frequency empties the channel (frequencies and tones; busy lock
    // is kept); a receive frequency given to a channel not in use makes a new
    // channel: transmit on the same frequency, no tones, busy lock on.
    int store(Channel& channel, int col, const QString& text) const;

private:
    std::int32_t m_nBandLow;
    std::int32_t m_nBandHigh;
    CellWords m_words;
};
