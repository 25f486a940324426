#pragma once
// The protocol logic of a simulated radio: fed the bytes the host sends, it
// answers exactly as a radio does from its own 1024-byte memory, and can inject
// faults. No I/O and no timing: `kq517 sim` puts it on a pseudo-terminal, tests
// put it behind an in-memory port.

#include <QByteArray>
#include <QList>

#include <cstdint>

#include "codeplug/MemoryImage.h"

struct SimFaults {
    // Identification reply; bytes past the first five are not examined by the host.
    QByteArray identification = QByteArrayLiteral("P3107\x00\x00\x00");
    bool silent = false;          // never answer anything
    bool noWakeUpAnswer = false;  // no byte after the wake-up sequence
    bool noHandshakeAck = false;  // no ACK after the host's handshake ACK
    // Block faults: block K is the block at address 8 x K (0 to 121); -1 = none.
    int noAckAt = -1;       // no ACK for that block (write: after the data; read: after the host's ACK)
    int wrongAckAt = -1;    // a NAK (0x15) instead of the ACK for that block
    int shortReplyAt = -1;  // a read reply of 6 bytes instead of 12
    int vanishAt = -1;      // the line vanishes when that block is requested
    int dropWriteAt = -1;   // a written block that is acknowledged but not stored
};

class SimulatedRadio {
public:
    static constexpr std::uint8_t kWakeUpAnswer = 0x06;
    static constexpr std::uint8_t kNak = 0x15;
    static constexpr int kShortReplySize = 6;
    // A radio takes a moment after the host's handshake ACK before it answers;
    // the host purges its queues in between, so an answer sent sooner would
    // be discarded.
    static constexpr int kHandshakeAckTurnaroundMs = 20;

    explicit SimulatedRadio(const MemoryImage& image = MemoryImage::newImage(),
                            const SimFaults& faults = SimFaults());

    // Feeds one byte from the host; returns the bytes the radio sends in answer.
    // *turnaroundMs (when given) receives the pause before that answer.
    QByteArray receive(std::uint8_t byte, int* turnaroundMs = nullptr);
    QByteArray receive(const QByteArray& bytes);

    // The host let go of the line: forget any transfer in progress.
    void reset();

    // True once the vanish fault fired: the line is gone for good.
    bool vanished() const { return m_vanished; }
    // True once after every block 0 to 121 has been written in one session.
    bool takeCompletedWrite();
    int completedWrites() const { return m_completedWrites; }
    int completedReads() const { return m_completedReads; }

    const MemoryImage& image() const { return m_image; }
    MemoryImage& image() { return m_image; }

private:
    enum class State { WakeUp, IdentM, IdentEnd, HandshakeAck, Session, ReadAck, WriteData };

    QByteArray onWakeUpByte(std::uint8_t byte);
    QByteArray onSessionByte(std::uint8_t byte);
    QByteArray onRequestComplete();
    QByteArray blockAck(int block) const;

    MemoryImage m_image;
    SimFaults m_faults;
    State m_state = State::WakeUp;
    int m_wakeIndex = 0;
    QByteArray m_frame;     // request bytes (and write data) collected so far
    int m_block = -1;       // block of the current request
    QList<bool> m_written;  // blocks written in this session
    bool m_vanished = false;
    bool m_writeCompleted = false;
    int m_completedWrites = 0;
    int m_completedReads = 0;
};
