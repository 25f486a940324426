#pragma once
// The serial programming protocol: handshake (wake-up, identification "P3107"
// or "P2107", acknowledgement) and the 8-byte block loops over image rows 0 to
// 60, on a BytePort. No windows: the caller supplies a pump callback and a
// progress callback.

#include <QString>

#include <functional>

class BytePort;
class MemoryImage;

enum class TransferResult {
    Done,
    PortOpenFailed,      // message 61453
    CommunicationError,  // message 61451, Retry possible, port stays open
    ModelMismatch,       // "Becuase the type of radio does not match,..."
    BlockFailure,        // message 61454
    Cancelled,           // silent
};

class ProtocolEngine {
public:
    // One pump pass; returns true when cancel was requested.
    using Pump = std::function<bool()>;
    // Called once per row moved (row 0 to 60).
    using Progress = std::function<void(int row)>;

    explicit ProtocolEngine(BytePort& port);
    ~ProtocolEngine();  // closes the port

    TransferResult open(const QString& portName);
    QString openError() const { return m_openError; }

    // One handshake attempt: six pump passes, wake-up, identification, ACK.
    TransferResult handshake(const Pump& pump);
    // After a good handshake. A read stores each block into the image as it
    // arrives; rows 61 to 63 are never touched or sent.
    TransferResult readImage(MemoryImage& image, const Pump& pump, const Progress& progress);
    TransferResult writeImage(const MemoryImage& image, const Pump& pump, const Progress& progress);

    void close();

private:
    BytePort& m_port;
    QString m_openError;
};
