#pragma once
// The one place that fixes the layout of the radio's 1024-byte memory image:
// regions, the 16-byte channel record, the settings row and the defaults of a
// new image. Everything else indexes the image through these names.

#include <cstdint>

namespace layout {

constexpr int kImageSize = 1024;  // 64 rows of 16 bytes
constexpr int kRowSize = 16;
constexpr int kRowCount = 64;

// Rows 0 to 60 travel to and from the radio; rows 61 to 63 live only in the
// image and the .dat file.
constexpr int kFirstRadioRow = 0;
constexpr int kLastRadioRow = 60;
constexpr int kRadioRowCount = kLastRadioRow + 1;          // 61
constexpr int kRadioByteCount = kRadioRowCount * kRowSize;  // 976 bytes, 0x000-0x3CF
constexpr int kBlockSize = 8;                               // the protocol moves 8-byte blocks
constexpr int kRadioBlockCount = kRadioByteCount / kBlockSize;  // 122

// Channel records 1 to 16: channel n starts at n * 16.
constexpr int kChannelCount = 16;
constexpr int channelOffset(int channel) { return channel * kRowSize; }

// Byte offsets inside a channel record.
namespace channel {
constexpr int kRxFrequency = 0;  // 4 bytes packed BCD, least significant pair first
constexpr int kRxPresence = 3;   // 0x00 or 0xFF: no receive frequency
constexpr int kTxFrequency = 4;  // 4 bytes, same encoding
constexpr int kTxPresence = 7;   // 0x00 or 0xFF: no transmit frequency
constexpr int kDecodeToneLow = 8;
constexpr int kDecodeToneHigh = 9;
constexpr int kEncodeToneLow = 10;
constexpr int kEncodeToneHigh = 11;
constexpr int kFlags = 12;        // bit 0 set: busy lock off ("No")
constexpr int kBusyLockOffBit = 0x01;
constexpr int kReserved = 13;     // bytes 13 to 15 are carried unchanged
}  // namespace channel

// The settings row (row 60).
constexpr int kSettingsRow = 60;
constexpr int kBeep = 0x3C0;          // bit 0: key beep on
constexpr int kSquelchLevel = 0x3C1;  // 0 to 9
constexpr int kUnknown3C2 = 0x3C2;
constexpr int kTimeOutTimer = 0x3C3;  // 0 off, n = n x 30 s
constexpr int kTxPower = 0x3C4;       // printed as byte / 3
constexpr int kUnknown3C5 = 0x3C5;
constexpr int kModelIndex = 0x3CE;    // 0-based index into [Setup] Type%d
constexpr int kBandIndex = 0x3CF;     // 0-based index into the model's band list

// What each row holds, for messages that name a place in the image.
enum class RowRegion {
    Leading,    // row 0: not interpreted, carried unchanged
    Channel,    // rows 1 to 16: channel record n is row n
    Carried,    // rows 17 to 59: not interpreted, carried unchanged
    Settings,   // row 60: the radio-wide options, model and band
    ImageOnly,  // rows 61 to 63: never sent to or read from the radio
};
constexpr RowRegion rowRegion(int row)
{
    return row == 0                ? RowRegion::Leading
           : row <= kChannelCount  ? RowRegion::Channel
           : row < kSettingsRow    ? RowRegion::Carried
           : row == kSettingsRow   ? RowRegion::Settings
                                   : RowRegion::ImageOnly;
}

// A new image is all 0xFF with exactly these bytes set.
struct DefaultByte {
    int offset;
    std::uint8_t value;
};
constexpr DefaultByte kNewImageDefaults[] = {
    {kBeep, 0x01},        {kSquelchLevel, 0x04}, {kUnknown3C2, 0x03}, {kTimeOutTimer, 0x02},
    {kTxPower, 0x0C},     {kUnknown3C5, 0x0A},   {kModelIndex, 0x00}, {kBandIndex, 0x00},
    {channelOffset(1) + channel::kFlags, 0xFB},  // channel 1: busy lock off, bit 2 clear
};

}  // namespace layout
