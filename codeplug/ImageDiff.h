#pragma once
// What differs between two memory images: each channel field whose text
// differs, each radio-wide option, and any other byte that differs without
// showing in a field (so two images agree only when every byte does).

#include <QList>
#include <QString>

#include "codeplug/MemoryImage.h"

namespace imagediff {

// The radio-wide options as a person reads them.
struct OptionValue {
    QString name;  // "Squelch Level", "Time Out Time", ...
    QString value;
    int offset = 0;
};
// Model and band (their indexes), squelch level, time-out timer, beep, Tx power.
QList<OptionValue> optionValues(const MemoryImage& image);

// One difference as values: what differs (a channel field, an option or a
// byte), where, and its two texts in the CSV files' words. The texts layer
// renders it as a line in the interface language.
struct DiffLine {
    enum class Kind { ChannelField, Option, OtherByte };
    Kind kind = Kind::OtherByte;
    int channel = 0;  // 1 to 16; 0 for an option or a byte outside the channels
    int column = 0;   // the channel table column of a channel field, else 0
    int offset = 0;   // the field's first byte, the option's byte, or the byte
    QString field;    // what tells the field apart: a CSV column name, an option name, or "Byte 0x3C2"
    QString a;        // the texts as the channel table and `kq517 show` give them
    QString b;

    bool operator==(const DiffLine& other) const = default;
};

// Channels first (1 to 16, in column order), then options, then other bytes
// in offset order. Empty when the images are equal byte for byte.
QList<DiffLine> diff(const MemoryImage& a, const MemoryImage& b);

}  // namespace imagediff
