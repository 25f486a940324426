#pragma once
// A BytePort in memory for tests: records every open, write, read, purge and
// pause in order, and answers reads from bytes the test queues or from a fake
// radio that is fed every byte written. Pauses are recorded, never slept.
//
//   SimulatedRadio radio(image);
//   InMemoryPort port;
//   port.attachRadio(&radio);      // or port.setResponder(...) / port.queueIncoming(...)
//   ProtocolEngine engine(port);
//   engine.open("COM1");
//   ... port.events() ...
//
// Timing model: bytes a write provokes are "on the way" and only arrive when
// the host next reads, so a purge between a write and the read does not lose
// them (as on a real line, where the answer takes the time of a byte or more).
// Bytes queued with queueIncoming() have arrived already: a purge drops them.

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

#include "link/BytePort.h"

class SimulatedRadio;

class InMemoryPort : public BytePort {
public:
    enum class Kind { Open, Close, SetTimeouts, Write, Read, PurgeAll, PurgeQueues, Pause, Pump };
    struct Event {
        Kind kind;
        QByteArray bytes;  // Write: the bytes; Read: the bytes received
        int value = 0;     // Read: count asked for; Pause: ms
        bool operator==(const Event& other) const = default;
    };
    // Given the bytes of one write, returns the bytes the other end sends back.
    using Responder = std::function<QByteArray(const QByteArray& written)>;

    bool open(const QString& name, PortOpenError* error) override;
    void close() override;
    bool isOpen() const override { return m_open; }
    void setTimeouts(const PortTimeouts& timeouts) override;
    int read(std::uint8_t* buffer, int count, bool* ok) override;
    int write(const std::uint8_t* buffer, int count) override;
    void purgeAll() override;
    void purgeQueues() override;
    void pause(int ms) override;

    // Answer writes with what the radio sends back; a vanished radio makes
    // every later read fail and every write send nothing.
    void attachRadio(SimulatedRadio* radio);
    void setResponder(Responder responder) { m_responder = std::move(responder); }
    // Bytes that have arrived already (a purge drops them).
    void queueIncoming(const QByteArray& bytes) { m_arrived += bytes; }
    // Bytes that arrive at the next read.
    void queueInFlight(const QByteArray& bytes) { m_inFlight += bytes; }
    // The next open() fails for this reason.
    void failOpen(const PortOpenError& error) { m_openError = error; }
    // The read with this index (0 = the first after open) fails as an operation.
    void failRead(int index) { m_failedReads.append(index); }
    // From now on reads fail as the read operation itself (the line vanished).
    void setLineBroken(bool broken) { m_broken = broken; }

    // Adds a Pump event: tests pass a pump that calls this so that pump passes
    // show up in order among the port's events.
    void notePump() { m_events.append({Kind::Pump, {}, 0}); }

    const QList<Event>& events() const { return m_events; }
    void clearEvents() { m_events.clear(); }
    // All bytes written, in order.
    QByteArray written() const;
    QString openedName() const { return m_name; }
    int openCount() const { return m_openCount; }
    int closeCount() const { return m_closeCount; }
    PortTimeouts timeouts() const { return m_timeouts; }

private:
    bool lineBroken() const;

    QList<Event> m_events;
    QByteArray m_arrived;
    QByteArray m_inFlight;
    Responder m_responder;
    SimulatedRadio* m_radio = nullptr;
    PortOpenError m_openError;
    QString m_name;
    PortTimeouts m_timeouts;
    QList<int> m_failedReads;
    int m_readCount = 0;
    bool m_open = false;
    bool m_broken = false;
    int m_openCount = 0;
    int m_closeCount = 0;
};

const char* toString(InMemoryPort::Kind kind);
