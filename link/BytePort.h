#pragma once
// The byte port the protocol engine talks to: open by name, blocking reads and
// writes bounded by the serial time-outs, purges, close. The serial adapter
// implements it on QSerialPort; tests use an in-memory port.

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

#include "link/PortOpenError.h"
#include "link/ProtocolConstants.h"

struct PortTimeouts {
    int readIntervalMs = protocol::kReadIntervalMs;  // longest gap between two received bytes
    int readTotalMultiplierMs = protocol::kReadTotalMultiplierMs;  // per requested byte
    int readTotalConstantMs = protocol::kReadTotalConstantMs;
    int writeTotalMultiplierMs = protocol::kWriteTotalMultiplierMs;  // per byte
    int writeTotalConstantMs = protocol::kWriteTotalConstantMs;
};

class BytePort {
public:
    virtual ~BytePort() = default;

    // Exclusive open, 9600 baud 8N1, binary; receive queue 1024, transmit 512.
    // On failure *error says why (busy and by whom, permission and the group, missing).
    virtual bool open(const QString& name, PortOpenError* error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void setTimeouts(const PortTimeouts& timeouts) = 0;

    // Returns when count bytes arrived or a time-out expired, with the number
    // received (possibly 0). *ok is false only when the read operation itself
    // failed (the line vanished, for example).
    virtual int read(std::uint8_t* buffer, int count, bool* ok) = 0;
    // Returns the number of bytes written; fewer than count is a failure. Returns
    // once the bytes have left for the line, so a purge that follows cannot
    // discard them.
    virtual int write(const std::uint8_t* buffer, int count) = 0;

    virtual void purgeAll() = 0;     // both queues, pending reads and writes
    virtual void purgeQueues() = 0;  // receive and transmit queues only

    virtual void pause(int ms) = 0;  // the protocol's 1 ms / 2 ms pauses
};

// Makes a fresh, closed port: each transfer of a field session (backup, write,
// verify, the next radio) opens its own.
using BytePortFactory = std::function<std::unique_ptr<BytePort>()>;
