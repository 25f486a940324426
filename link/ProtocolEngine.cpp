#include "link/ProtocolEngine.h"

#include <array>

#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "link/BytePort.h"
#include "link/ProtocolConstants.h"

namespace {

// A read or write request frame for the block at address.
std::array<std::uint8_t, protocol::kRequestSize> request(std::uint8_t command, int address)
{
    return {command, std::uint8_t(address / 256), std::uint8_t(address % 256),
            protocol::kBlockLength};
}

bool identificationMatches(const std::uint8_t* reply)
{
    using namespace protocol;
    return reply[0] == kIdentByte0 && (reply[1] == kIdentByte1a || reply[1] == kIdentByte1b) &&
           reply[2] == kIdentByte2 && reply[3] == kIdentByte3 && reply[4] == kIdentByte4;
}

}  // namespace

ProtocolEngine::ProtocolEngine(BytePort& port) : m_port(port) {}

ProtocolEngine::~ProtocolEngine()
{
    close();
}

TransferResult ProtocolEngine::open(const QString& portName)
{
    m_openError = PortOpenError{};
    if (m_port.isOpen())
        m_port.close();
    if (!m_port.open(portName, &m_openError))
        return TransferResult::PortOpenFailed;
    m_port.setTimeouts(PortTimeouts{});
    return TransferResult::Done;
}

void ProtocolEngine::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool ProtocolEngine::writeBytes(const std::uint8_t* bytes, int count)
{
    return m_port.write(bytes, count) == count;
}

bool ProtocolEngine::readAck()
{
    std::uint8_t answer = 0;  // cleared, so only a freshly received ACK counts
    bool ok = true;
    const int received = m_port.read(&answer, 1, &ok);
    return ok && received == 1 && answer == protocol::kAck;
}

bool ProtocolEngine::pumpPasses(const Pump& pump, int count, int pauseMs)
{
    for (int i = 0; i < count; ++i) {
        if (pump && pump())
            return true;
        if (pauseMs > 0)
            m_port.pause(pauseMs);
    }
    return false;
}

TransferResult ProtocolEngine::finish(TransferResult result)
{
    close();
    return result;
}

TransferResult ProtocolEngine::handshake(const Pump& pump)
{
    using namespace protocol;
    if (!m_port.isOpen())
        return TransferResult::PortOpenFailed;
    if (pumpPasses(pump, kHandshakePumpPasses, kHandshakePumpPauseMs))
        return finish(TransferResult::Cancelled);

    m_port.purgeAll();
    bool written = true;
    for (std::uint8_t byte : kWakeUp) {
        m_port.pause(kWakeUpBytePauseMs);
        m_port.purgeQueues();
        written = writeByte(byte) && written;
    }

    // The wake-up answer's value and count are not examined; only whether the
    // read operation itself worked.
    std::uint8_t wakeAnswer = 0;
    bool wakeReadOk = true;
    m_port.read(&wakeAnswer, kWakeUpAnswerSize, &wakeReadOk);

    m_port.pause(kShortPauseMs);
    m_port.purgeQueues();
    written = writeByte(kIdentRequest) && written;
    m_port.pause(kShortPauseMs);
    written = writeByte(kIdentRequestEnd) && written;

    std::array<std::uint8_t, kIdentReplyMaxSize> reply{};
    bool identReadOk = true;
    const int received = m_port.read(reply.data(), kIdentReplyMaxSize, &identReadOk);
    // Fewer than the five checked bytes cannot be told apart from a line
    // fault, so it is a communication error rather than a model check against
    // bytes that never arrived.
    if (received < kIdentCheckedSize)
        return TransferResult::CommunicationError;
    if (!identificationMatches(reply.data()))
        return finish(TransferResult::ModelMismatch);
    if (!wakeReadOk || !identReadOk || !written)
        return TransferResult::CommunicationError;

    m_port.purgeQueues();
    if (!writeByte(kAck))
        return TransferResult::CommunicationError;
    m_port.purgeQueues();
    m_port.pause(kShortPauseMs);
    if (!readAck())
        return TransferResult::CommunicationError;
    return TransferResult::Done;
}

TransferResult ProtocolEngine::moveRows(const Pump& pump, const Progress& progress,
                                        const std::function<bool(int block, int address)>& moveBlock)
{
    using namespace protocol;
    if (!m_port.isOpen())
        return TransferResult::PortOpenFailed;
    int address = 0;
    for (int row = layout::kFirstRadioRow; row <= layout::kLastRadioRow; ++row) {
        for (int block = 0; block < 2; ++block) {
            if (!moveBlock(block, address))
                return finish(TransferResult::BlockFailure);
            address += kBlockLength;
        }
        if (progress)
            progress(row);
        if (pumpPasses(pump, kRowPumpPasses, 0))
            return finish(TransferResult::Cancelled);
    }
    return finish(TransferResult::Done);
}

TransferResult ProtocolEngine::readImage(MemoryImage& image, const Pump& pump, const Progress& progress)
{
    using namespace protocol;
    return moveRows(pump, progress, [this, &image](int block, int address) {
        if (block > 0)
            m_port.pause(kShortPauseMs);
        m_port.purgeQueues();
        const auto frame = request(kReadCommand, address);
        if (!writeBytes(frame.data(), int(frame.size())))
            return false;
        std::array<std::uint8_t, kReadReplySize> reply{};
        bool ok = true;
        const int received = m_port.read(reply.data(), kReadReplySize, &ok);
        if (!ok || received < kReadReplySize)
            return false;
        // Stored before the ACK exchange: a failure from here on keeps it.
        for (int i = 0; i < kBlockLength; ++i)
            image.set(address + i, reply[kReadReplyHeaderSize + i]);

        m_port.pause(kShortPauseMs);
        m_port.purgeQueues();
        return writeByte(kAck) && readAck();
    });
}

TransferResult ProtocolEngine::writeImage(const MemoryImage& image, const Pump& pump,
                                          const Progress& progress)
{
    using namespace protocol;
    return moveRows(pump, progress, [this, &image](int, int address) {
        m_port.purgeQueues();
        const auto frame = request(kWriteCommand, address);
        if (!writeBytes(frame.data(), int(frame.size())))
            return false;
        m_port.pause(kShortPauseMs);
        return writeBytes(image.data() + address, kBlockLength) && readAck();
    });
}

int ProtocolEngine::messageId(TransferResult result)
{
    switch (result) {
    case TransferResult::PortOpenFailed:
        return 61453;
    case TransferResult::CommunicationError:
        return 61451;
    case TransferResult::BlockFailure:
        return 61454;
    case TransferResult::Done:
    case TransferResult::ModelMismatch:
    case TransferResult::Cancelled:
        break;
    }
    return 0;
}
