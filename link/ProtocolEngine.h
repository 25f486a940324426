#pragma once
// The serial programming protocol: handshake (wake-up, identification "P3107"
// or "P2107", acknowledgement) and the 8-byte block loops over image rows 0 to
// 60, on a BytePort. No windows: the caller supplies a pump callback and a
// progress callback.
//
// The caller drives open(), handshake() (again on Retry after a
// CommunicationError), readImage() or writeImage(), close(). The engine closes
// the port itself on every result that ends the transfer: a model mismatch or
// cancel in the handshake, and every result of readImage() / writeImage(). Only
// a handshake's CommunicationError leaves the port open for a Retry.

#include <QString>

#include <functional>

#include "link/PortOpenError.h"

class BytePort;
class MemoryImage;

enum class TransferResult {
    Done,
    PortOpenFailed,      // message 61453
    CommunicationError,  // message 61451, Retry possible, port stays open
    ModelMismatch,       // the radio answered as another model
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

    // PortOpenFailed (with openError()) or Done.
    TransferResult open(const QString& portName);
    const PortOpenError& openError() const { return m_openError; }

    // One handshake attempt: six pump passes, wake-up, identification, ACK.
    // An identification reply shorter than the five checked bytes is a
    // CommunicationError, never a comparison against bytes not received.
    TransferResult handshake(const Pump& pump);
    // After a good handshake. A read stores each block into the image as it
    // arrives; rows 61 to 63 are never touched or sent.
    TransferResult readImage(MemoryImage& image, const Pump& pump, const Progress& progress);
    TransferResult writeImage(const MemoryImage& image, const Pump& pump, const Progress& progress);

    void close();

    // The string-table id of a result's message: 61453, 61451 or 61454; 0 for
    // Done, Cancelled and ModelMismatch (which the text layer words itself).
    static int messageId(TransferResult result);

private:
    bool writeBytes(const std::uint8_t* bytes, int count);
    bool writeByte(std::uint8_t byte) { return writeBytes(&byte, 1); }
    // Reads one byte after clearing the receive byte; true when it is an ACK.
    bool readAck();
    // count pump passes, each followed by pauseMs (0: none); true on cancel.
    bool pumpPasses(const Pump& pump, int count, int pauseMs);
    TransferResult finish(TransferResult result);
    // The block loop both directions share: rows 0 to 60, two blocks a row
    // handed to moveBlock (false: block failure), then the progress and the
    // row's pump passes.
    TransferResult moveRows(const Pump& pump, const Progress& progress,
                            const std::function<bool(int block, int address)>& moveBlock);

    BytePort& m_port;
    PortOpenError m_openError;
};
