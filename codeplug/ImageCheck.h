#pragma once
// What a radio would not accept in an image, listed before a write: option
// bytes outside their ranges, channel fields that do not decode to a listed
// value, frequencies outside the band. Opening a .dat file never examines its
// content; a write asks this first and lets the user decide.

#include <QList>
#include <QString>

#include <cstdint>

class MemoryImage;

struct ImageProblem {
    enum class Kind { OptionOutOfRange, FrequencyNotDecimal, FrequencyOutsideBand, ToneNotListed };
    // The value concerned: an option byte of the settings row, or a field of a channel.
    enum class Field { SquelchLevel, TimeOutTimer, ModelIndex, BandIndex, RxFrequency, TxFrequency, DecodeTone, EncodeTone };
    Kind kind = Kind::OptionOutOfRange;
    Field field = Field::SquelchLevel;
    int channel = 0;  // 1 to 16; 0 for an option byte of the settings row
    int offset = 0;   // the first image byte concerned
    int value = 0;    // OptionOutOfRange: the byte; ToneNotListed: the low byte
    int largest = 0;  // OptionOutOfRange: the largest value the radio takes
    int high = 0;     // ToneNotListed: the high byte
    std::int64_t frequency = 0;  // FrequencyOutsideBand: frequency units (10 Hz)
    QString bandText;            // FrequencyOutsideBand: the band as the settings file lists it
};

// What the settings file says about the image's model and band (made by
// modelband::imageCheckLimits); the checks that need a value left at its
// default are skipped.
struct ImageCheckLimits {
    int modelCount = 0;         // models listed; 0: the model index is not checked
    int bandCount = 0;          // bands of the image's model; 0: not checked
    QString bandText;           // the image's band as listed, e.g. "130 - 160MHz"
    std::int64_t bandLow = 0;   // frequency units; bandHigh 0: the band is not checked
    std::int64_t bandHigh = 0;
};

// Every problem, in image order; empty when the radio would take the image as it is.
QList<ImageProblem> checkImage(const MemoryImage& image, const ImageCheckLimits& limits);
