#pragma once
// The lines of a comparison (Compare With, `kq517 diff`): the differences the
// core returns as values, worded from the active string table, channel cells
// in its words.

#include <QList>
#include <QStringList>

#include "codeplug/ImageDiff.h"
#include "codeplug/MemoryImage.h"

namespace texts {

// String table ids of the words of a difference line.
enum StringId {
    IDS_DIFF_CHANNEL_LINE = 61520,  // "Channel %1, %2: %3 | %4"
    IDS_DIFF_LINE = 61521,          // "%1: %2 | %3"
    IDS_DIFF_EMPTY = 61522,         // "(empty)"
    IDS_DIFF_BYTE = 61523,          // "Byte 0x%1"
    IDS_DIFF_MODEL = 61524,
    IDS_DIFF_BAND = 61525,
    IDS_DIFF_SQUELCH = 61526,
    IDS_DIFF_TIME_OUT = 61527,
    IDS_DIFF_BEEP = 61528,
    IDS_DIFF_TX_POWER = 61529,
    IDS_DIFF_ON = 61530,
    IDS_DIFF_OFF = 61531,
    IDS_DIFF_SECONDS = 61532,  // "%1s"
};

// A radio-wide option's name (by its byte's offset), and its value in image:
// the time-out timer and beep worded, the others the number given.
QString optionName(int offset);
QString optionValue(int offset, const MemoryImage& image, const QString& number);

// One line per difference between a and b (lines = imagediff::diff(a, b)),
// with the channel cells as the channel table shows them: "Channel 3, Rx
// Frequency: 145.00000 | 146.00000", "Squelch Level: 4 | 7"; an empty value
// shows as "(empty)".
QStringList diffLines(const QList<imagediff::DiffLine>& lines, const MemoryImage& a, const MemoryImage& b);

}  // namespace texts
