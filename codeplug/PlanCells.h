#pragma once
// Reading the cells of a channel-plan row: exact MHz numbers, tone texts,
// busy lock and channel numbers, each with the reason it was refused. Shared
// by the readers of every plan format.

#include <QString>

#include <cstdint>
#include <optional>

#include "codeplug/ChannelPlan.h"

namespace plancells {

// A plain decimal number of MHz ("145", "145.0125", "146.520000") in units of
// 10 Hz. NotANumber for anything else; OffStep when a digit below 10 Hz is not
// zero; OutOfBand when it has more digits than a frequency can.
std::optional<std::int64_t> readMegahertz(const QString& text, channelplan::Reason* reason);

// Band and step check of a frequency in units, as typing it into the grid does.
std::optional<channelplan::Reason> checkFrequency(std::int64_t units, const modelband::BandLimits& limits);

// A tone as the tone list writes it: a no-tone word of any of words'
// languages (given as words.shown().none), a CTCSS frequency ("67", "67.0"),
// or a DCS code "D023N"/"D023I", also without its leading zeros ("D23N"), in
// any case. Empty when it is none of them.
QString toneText(const QString& text, const CellWords& words);
// True when text is exactly one of the tone list's texts in the CSV files' words.
bool isListedTone(const QString& text);
// CTCSS in hertz ("88.5") or a DCS code ("023", "23") with its polarity.
QString ctcssText(const QString& hertz);
QString dcsText(const QString& code, bool inverted);

// A busy-lock word of any of words' languages (any case), given in
// words.shown(); empty when it is none of them.
QString busyText(const QString& text, const CellWords& words);

// 1 to 16, else 0.
int channelNumber(const QString& text);

// A cell as a message quotes it: long ones cut short, so that a message
// about a megabyte-long cell stays a line.
QString shownValue(const QString& text);

}  // namespace plancells
