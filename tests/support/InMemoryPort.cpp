#include "tests/support/InMemoryPort.h"

#include <cstring>

#include "link/SimulatedRadio.h"

bool InMemoryPort::open(const QString& name, PortOpenError* error)
{
    m_events.append({Kind::Open, name.toUtf8(), 0});
    if (m_openError.isError()) {
        if (error)
            *error = m_openError;
        m_openError = PortOpenError{};
        return false;
    }
    m_name = name;
    m_open = true;
    m_readCount = 0;
    ++m_openCount;
    return true;
}

void InMemoryPort::close()
{
    m_events.append({Kind::Close, {}, 0});
    if (m_open)
        ++m_closeCount;
    m_open = false;
}

void InMemoryPort::setTimeouts(const PortTimeouts& timeouts)
{
    m_events.append({Kind::SetTimeouts, {}, 0});
    m_timeouts = timeouts;
}

bool InMemoryPort::lineBroken() const
{
    return m_broken || (m_radio && m_radio->vanished());
}

int InMemoryPort::read(std::uint8_t* buffer, int count, bool* ok)
{
    const bool works = !lineBroken() && m_open && !m_failedReads.contains(m_readCount++);
    if (ok)
        *ok = works;
    m_arrived += m_inFlight;
    m_inFlight.clear();
    QByteArray got;
    if (works) {
        got = m_arrived.left(count);
        m_arrived.remove(0, got.size());
        if (!got.isEmpty())
            std::memcpy(buffer, got.constData(), size_t(got.size()));
    }
    m_events.append({Kind::Read, got, count});
    return int(got.size());
}

int InMemoryPort::write(const std::uint8_t* buffer, int count)
{
    const QByteArray bytes(reinterpret_cast<const char*>(buffer), count);
    m_events.append({Kind::Write, bytes, 0});
    if (!m_open || lineBroken())
        return 0;
    if (m_responder)
        m_inFlight += m_responder(bytes);
    return count;
}

void InMemoryPort::purgeAll()
{
    m_events.append({Kind::PurgeAll, {}, 0});
    m_arrived.clear();
}

void InMemoryPort::purgeQueues()
{
    m_events.append({Kind::PurgeQueues, {}, 0});
    m_arrived.clear();
}

void InMemoryPort::pause(int ms)
{
    m_events.append({Kind::Pause, {}, ms});
}

void InMemoryPort::attachRadio(SimulatedRadio* radio)
{
    m_radio = radio;
    m_responder = [radio](const QByteArray& written) { return radio->receive(written); };
}

QByteArray InMemoryPort::written() const
{
    QByteArray all;
    for (const Event& event : m_events)
        if (event.kind == Kind::Write)
            all += event.bytes;
    return all;
}

const char* toString(InMemoryPort::Kind kind)
{
    switch (kind) {
    case InMemoryPort::Kind::Open: return "Open";
    case InMemoryPort::Kind::Close: return "Close";
    case InMemoryPort::Kind::SetTimeouts: return "SetTimeouts";
    case InMemoryPort::Kind::Write: return "Write";
    case InMemoryPort::Kind::Read: return "Read";
    case InMemoryPort::Kind::PurgeAll: return "PurgeAll";
    case InMemoryPort::Kind::PurgeQueues: return "PurgeQueues";
    case InMemoryPort::Kind::Pause: return "Pause";
    case InMemoryPort::Kind::Pump: return "Pump";
    }
    return "?";
}
