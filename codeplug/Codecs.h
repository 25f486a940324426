#pragma once
// Field codecs between stored bytes and the texts the channel table shows:
// frequencies, CTCSS/DCS tones and the busy-lock flag, plus the exact decimal
// product used to read typed numbers.

#include <QString>

#include <cstdint>

#include "codeplug/CellWords.h"

namespace codec {

// Frequency units are 10 Hz (MHz x 100000).
constexpr std::int64_t kFrequencyFactor = 100000;
constexpr std::int64_t kToneFactor = 10;
constexpr std::int64_t kStep5k = 500;
constexpr std::int64_t kStep6k25 = 625;

// The longest numeric prefix of text (as atof reads it), rounded to 15
// significant decimal digits, multiplied by factor and truncated toward zero.
// "145.0125" x 100000 gives exactly 14501250. Only decimal forms are read
// ("inf", "nan" and "0x.." give 0, as with the Windows C run-time's
// atof); a fifteen-digit tie rounds away from zero. Non-numbers give 0; values
// beyond the int64 range saturate to its ends; never undefined behaviour.
std::int64_t decimalProduct(const QString& text, std::int64_t factor);

// Digit pair of a stored byte: high nibble x 10 + low nibble (nibbles not checked).
int pairValue(std::uint8_t byte);
// The byte storing p (0..99) as two decimal digits.
std::uint8_t pairByte(int p);

// "" when byte 3 is 0x00 or 0xFF, else the value / 100000 formatted "%3.5f".
QString decodeFrequency(const std::uint8_t* fourBytes);
// Empty / non-numeric text gives 0xFF in all four bytes.
void encodeFrequency(const QString& text, std::uint8_t* fourBytes);
// The "%3.5f" text of a frequency given in units (what the validator stores).
QString formatFrequency(std::int64_t units);

// The tone text; words.none for no tone on a channel in use, "" off one.
QString decodeTone(std::uint8_t high, std::uint8_t low, bool channelInUse, const WordSet& words);
void encodeTone(const QString& text, std::uint8_t* high, std::uint8_t* low);

// words.on / words.off for a channel in use, "" for one not in use.
QString decodeBusyLock(std::uint8_t flags, bool channelInUse, const WordSet& words);
// Busy lock on for exactly an on word of any of words' languages, else off.
std::uint8_t encodeBusyLock(const QString& text, std::uint8_t oldFlags, const CellWords& words);

// A channel record is in use when bytes 3 and 7 are both neither 0x00 nor 0xFF.
bool channelInUse(const std::uint8_t* record);

}  // namespace codec
