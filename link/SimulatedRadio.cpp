#include "link/SimulatedRadio.h"

#include "codeplug/ImageLayout.h"
#include "link/ProtocolConstants.h"

using namespace protocol;

SimulatedRadio::SimulatedRadio(const MemoryImage& image, const SimFaults& faults)
    : m_image(image), m_faults(faults)
{
    reset();
}

void SimulatedRadio::reset()
{
    m_state = State::WakeUp;
    m_wakeIndex = 0;
    m_frame.clear();
    m_block = -1;
    m_written = QList<bool>(layout::kRadioBlockCount, false);
}

bool SimulatedRadio::takeCompletedWrite()
{
    const bool completed = m_writeCompleted;
    m_writeCompleted = false;
    return completed;
}

QByteArray SimulatedRadio::receive(const QByteArray& bytes)
{
    QByteArray out;
    for (char byte : bytes)
        out += receive(std::uint8_t(byte));
    return out;
}

QByteArray SimulatedRadio::receive(std::uint8_t byte, int* turnaroundMs)
{
    if (turnaroundMs)
        *turnaroundMs = 0;
    if (m_vanished)
        return QByteArray();
    QByteArray answer;
    switch (m_state) {
    case State::WakeUp:
        answer = onWakeUpByte(byte);
        break;
    case State::IdentM:
        if (byte == kIdentRequest)
            m_state = State::IdentEnd;
        else
            answer = onWakeUpByte(byte);
        break;
    case State::IdentEnd:
        if (byte == kIdentRequestEnd) {
            m_state = State::HandshakeAck;
            answer = m_faults.identification;
        } else {
            answer = onWakeUpByte(byte);
        }
        break;
    case State::HandshakeAck:
        if (byte == kAck) {
            m_state = State::Session;
            if (!m_faults.noHandshakeAck)
                answer = QByteArray(1, char(kAck));
            if (turnaroundMs)
                *turnaroundMs = kHandshakeAckTurnaroundMs;
        } else {
            answer = onWakeUpByte(byte);
        }
        break;
    case State::Session:
    case State::ReadAck:
    case State::WriteData:
        answer = onSessionByte(byte);
        break;
    }
    return m_faults.silent ? QByteArray() : answer;
}

QByteArray SimulatedRadio::onWakeUpByte(std::uint8_t byte)
{
    // A fresh 0x02 always starts the sequence again: a new transfer or a Retry.
    if (byte == kWakeUp[0]) {
        reset();
        m_wakeIndex = 1;
        return QByteArray();
    }
    if (m_state == State::WakeUp && m_wakeIndex > 0 && byte == kWakeUp[std::size_t(m_wakeIndex)]) {
        if (++m_wakeIndex < int(kWakeUp.size()))
            return QByteArray();
        m_wakeIndex = 0;
        m_state = State::IdentM;
        return m_faults.noWakeUpAnswer ? QByteArray() : QByteArray(1, char(kWakeUpAnswer));
    }
    m_state = State::WakeUp;
    m_wakeIndex = 0;
    return QByteArray();
}

QByteArray SimulatedRadio::blockAck(int block) const
{
    if (block == m_faults.noAckAt)
        return QByteArray();
    if (block == m_faults.wrongAckAt)
        return QByteArray(1, char(kNak));
    return QByteArray(1, char(kAck));
}

QByteArray SimulatedRadio::onSessionByte(std::uint8_t byte)
{
    if (m_state == State::ReadAck) {
        m_state = State::Session;
        if (byte == kAck) {
            if (m_block == layout::kRadioBlockCount - 1)
                ++m_completedReads;
            return blockAck(m_block);
        }
        // Anything else is the start of the next frame.
    }
    if (m_state == State::WriteData || !m_frame.isEmpty()) {
        m_frame.append(char(byte));
        const int needed = m_state == State::WriteData ? kRequestSize + kBlockLength : kRequestSize;
        return m_frame.size() == needed ? onRequestComplete() : QByteArray();
    }
    if (byte == kReadCommand || byte == kWriteCommand) {
        m_frame = QByteArray(1, char(byte));
        return QByteArray();
    }
    if (byte == kWakeUp[0]) {
        m_state = State::WakeUp;
        return onWakeUpByte(byte);
    }
    return QByteArray();  // stray byte: ignored
}

QByteArray SimulatedRadio::onRequestComplete()
{
    const std::uint8_t command = std::uint8_t(m_frame[0]);
    // Addresses wrap inside the 1024-byte memory; blocks are 8-byte aligned.
    const int address = ((std::uint8_t(m_frame[1]) << 8) | std::uint8_t(m_frame[2])) &
                        (layout::kImageSize - kBlockLength);
    if (m_state == State::Session) {
        m_block = address / kBlockLength;
        if (m_block == m_faults.vanishAt) {
            m_vanished = true;
            m_frame.clear();
            return QByteArray();
        }
        if (command == kWriteCommand) {
            m_state = State::WriteData;
            return QByteArray();
        }
        m_frame.clear();
        m_state = State::ReadAck;
        QByteArray reply;
        reply.append(char(kWriteCommand));
        reply.append(char(address >> 8));
        reply.append(char(address & 0xFF));
        reply.append(char(kBlockLength));
        reply.append(reinterpret_cast<const char*>(m_image.data() + address), kBlockLength);
        if (m_block == m_faults.shortReplyAt)
            reply.truncate(kShortReplySize);
        return reply;
    }

    // Write data complete. A block the radio does not acknowledge (a fault)
    // is not taken either.
    if (m_block == m_faults.noAckAt || m_block == m_faults.wrongAckAt) {
        m_frame.clear();
        m_state = State::Session;
        return blockAck(m_block);
    }
    // The dropped-write fault acknowledges like a good block but keeps the
    // old bytes: only reading the memory back can tell.
    if (m_block != m_faults.dropWriteAt)
        for (int i = 0; i < kBlockLength; ++i)
            m_image.set(address + i, std::uint8_t(m_frame[kRequestSize + i]));
    m_frame.clear();
    m_state = State::Session;
    if (m_block < layout::kRadioBlockCount) {
        m_written[m_block] = true;
        if (!m_written.contains(false)) {
            m_writeCompleted = true;
            ++m_completedWrites;
            m_written.fill(false);
        }
    }
    return blockAck(m_block);
}
