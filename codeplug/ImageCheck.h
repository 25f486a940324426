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
    Kind kind;
    int channel;   // 1 to 16; 0 for an option byte of the settings row
    int offset;    // the first image byte concerned
    QString text;  // one English line, e.g. "channel 3: receive frequency 99.00000 MHz is outside the band 130 - 160MHz"
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
