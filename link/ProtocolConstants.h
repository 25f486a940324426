#pragma once
// Every byte, frame, pause and time-out of the radio's serial programming
// protocol, in one place. The engine, the serial adapter and the simulated
// radio all take their values from here.

#include <array>
#include <cstdint>

#include "codeplug/ImageLayout.h"

namespace protocol {

// Line settings: 9600 baud, 8 data bits, no parity, one stop bit, binary.
constexpr int kBaudRate = 9600;
// One byte on the line is 10 bits (start, 8 data, stop): 960 bytes per second.
constexpr int kBytesPerSecond = kBaudRate / 10;

// Driver queue sizes asked for when the port is opened.
constexpr int kReceiveQueueSize = 1024;
constexpr int kTransmitQueueSize = 512;

// Time-outs in milliseconds. A read returns when the count arrived or when
// either read time-out expired; the interval time-out only starts once a byte
// has arrived. Examples: 190 ms for one byte, 890 ms for the 8-byte
// identification, 1290 ms for a 12-byte read reply.
constexpr int kReadIntervalMs = 30;
constexpr int kReadTotalMultiplierMs = 100;
constexpr int kReadTotalConstantMs = 90;
constexpr int kWriteTotalMultiplierMs = 50;
constexpr int kWriteTotalConstantMs = 50;

// Pauses and pump passes.
constexpr int kHandshakePumpPasses = 6;  // before each handshake attempt, each followed by:
constexpr int kHandshakePumpPauseMs = 1;
constexpr int kWakeUpBytePauseMs = 2;    // before each wake-up byte
constexpr int kShortPauseMs = 1;         // every other pause of the protocol
constexpr int kRowPumpPasses = 5;        // after each row, no pauses

// Frames (host = this program).
constexpr std::uint8_t kStx = 0x02;
// Wake-up: 0x02 then "PROGRA", one byte per write.
constexpr std::array<std::uint8_t, 7> kWakeUp = {0x02, 0x50, 0x52, 0x4F, 0x47, 0x52, 0x41};
constexpr int kWakeUpAnswerSize = 1;  // value not examined
// Identification request: "M" then 0x02, two single-byte writes.
constexpr std::uint8_t kIdentRequest = 0x4D;
constexpr std::uint8_t kIdentRequestEnd = kStx;
// Identification reply: up to 8 bytes; bytes 0-4 read "P3107" or "P2107".
constexpr int kIdentReplyMaxSize = 8;
constexpr int kIdentCheckedSize = 5;
constexpr std::uint8_t kIdentByte0 = 0x50;   // 'P'
constexpr std::uint8_t kIdentByte1a = 0x33;  // '3'
constexpr std::uint8_t kIdentByte1b = 0x32;  // '2'
constexpr std::uint8_t kIdentByte2 = 0x31;   // '1'
constexpr std::uint8_t kIdentByte3 = 0x30;   // '0'
constexpr std::uint8_t kIdentByte4 = 0x37;   // '7'
constexpr std::uint8_t kAck = 0x06;
// Read request "R", address high, address low, 8; the reply is 4 header bytes
// (not examined) and the 8 data bytes.
constexpr std::uint8_t kReadCommand = 0x52;
constexpr int kReadReplyHeaderSize = 4;
// Write request "W", address high, address low, 8; then, after a 1 ms pause,
// the 8 data bytes as one write. The radio answers with an ACK.
constexpr std::uint8_t kWriteCommand = 0x57;
constexpr int kRequestSize = 4;
constexpr std::uint8_t kBlockLength = layout::kBlockSize;
constexpr int kReadReplySize = kReadReplyHeaderSize + kBlockLength;  // 12

}  // namespace protocol
