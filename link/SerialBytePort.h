#pragma once
// The byte port on a real serial line (QSerialPort): exclusive open of the
// device a port name maps to (PortNames), refused as busy while another
// program holds it (PortLock), 9600 8N1 binary, reads bounded by
// the interval and total time-outs, writes that return once the bytes have
// left, purges. Blocking: meant for the thread that runs the transfer.

#include <QSerialPort>

#include "link/BytePort.h"

class SerialBytePort : public BytePort {
public:
    SerialBytePort();
    ~SerialBytePort() override;

    bool open(const QString& name, PortOpenError* error) override;
    void close() override;
    bool isOpen() const override;
    void setTimeouts(const PortTimeouts& timeouts) override;

    int read(std::uint8_t* buffer, int count, bool* ok) override;
    int write(const std::uint8_t* buffer, int count) override;

    void purgeAll() override;
    void purgeQueues() override;
    void pause(int ms) override;

    // True when the driver granted low-latency mode at the last open (Linux;
    // pseudo-terminals and some drivers refuse, and the port works anyway).
    bool lowLatency() const { return m_lowLatency; }

    // Opens and closes name at once: what the COM Setup dialog probes with.
    static bool canOpen(const QString& name, PortOpenError* error = nullptr);

private:
    // After a wait that timed out: false when the line itself failed.
    bool lineStillThere();
    // Takes into the buffer what has arrived at the driver; true when there is some.
    bool takeArrived();
    PortOpenError openFailure(const QString& name, const QString& device) const;
    static PortOpenError busy(const QString& name, const QString& device);

    QSerialPort m_serial;
    PortTimeouts m_timeouts;
    bool m_lowLatency = false;
};
