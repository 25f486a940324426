#pragma once
// Compare With's lines in the interface language: the differences the core
// returns as values, worded from the language module's string table and the
// channel table's own texts.

#include <QList>
#include <QStringList>

#include "codeplug/ImageDiff.h"
#include "codeplug/MemoryImage.h"

namespace difftext {

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

// One line per difference between a and b (lines = imagediff::diff(a, b)),
// with the channel cells as the channel table shows them in that language.
QStringList lines(const QList<imagediff::DiffLine>& lines, const MemoryImage& a, const MemoryImage& b,
                  bool chinese);

}  // namespace difftext
