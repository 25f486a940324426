#pragma once
// A serial trace: a byte-port decorator that passes every call to the port it
// wraps and records every byte both ways in a TraceLog, one line per chunk:
//
//   0.004127 > 02
//   0.031920 < 06
//
// seconds since the port opened (six decimals), ">" for bytes to the radio or
// "<" for bytes from it, then the bytes as two-digit hex separated by spaces.
// The file is appended to, never emptied: every port opened through the log
// (a backup, the write and the verify of several radios, later runs) starts
// with a header line, and the clock restarts there:
//
//   # 2026-12-07 21:50:03 write COM1 /dev/ttyUSB0

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <memory>

#include "link/BytePort.h"

// Why a trace could not be kept: the file refused at the open, or the disk
// refused some of it by the close. systemText is the system's own message.
struct TraceError {
    enum class Kind { None, CannotWrite, Incomplete };
    Kind kind = Kind::None;
    QString path;
    QString systemText;
    bool isError() const { return kind != Kind::None; }
};

class TraceLog {
public:
    TraceLog() = default;
    ~TraceLog();  // flushes and closes

    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    // Opens the file for appending; false with *error when it cannot be written.
    bool open(const QString& path, TraceError* error);
    // The command named in the header lines ("read", "write").
    void setVerb(const QString& verb) { m_verb = verb; }
    bool isOpen() const { return m_file.isOpen(); }
    // Flushes what was recorded; false (with *error) when the disk refused it.
    bool close(TraceError* error = nullptr);

    // A header line for a transfer on port (device: what the name maps to).
    void beginTransfer(const QString& port, const QString& device);
    void restartClock() { m_clock.start(); }
    // A note after the header, when the port could not be opened: the kind
    // of refusal as a keyword ("busy", "no-device" ...), or the system's text.
    void recordOpenFailure(const PortOpenError& reason);
    // One line: direction '>' (to the radio) or '<' (from it) and count bytes.
    void record(char direction, const std::uint8_t* bytes, int count);

    // The text of one line, without the line end.
    static QByteArray line(double seconds, char direction, const std::uint8_t* bytes, int count);
    // The text of a header line, without the line end.
    static QByteArray header(const QDateTime& when, const QString& verb, const QString& port, const QString& device);

private:
    QFile m_file;
    QElapsedTimer m_clock;
    QString m_verb;
    bool m_writeFailed = false;
};

class TraceBytePort : public BytePort {
public:
    // Records into log, which must outlive this port.
    TraceBytePort(std::unique_ptr<BytePort> inner, TraceLog& log);

    // A factory that wraps every port of factory in a trace into log.
    static BytePortFactory wrap(BytePortFactory factory, TraceLog& log);

    bool open(const QString& name, PortOpenError* error) override;
    void close() override { m_inner->close(); }
    bool isOpen() const override { return m_inner->isOpen(); }
    void setTimeouts(const PortTimeouts& timeouts) override { m_inner->setTimeouts(timeouts); }

    int read(std::uint8_t* buffer, int count, bool* ok) override;
    int write(const std::uint8_t* buffer, int count) override;

    void purgeAll() override { m_inner->purgeAll(); }
    void purgeQueues() override { m_inner->purgeQueues(); }
    void pause(int ms) override { m_inner->pause(ms); }

private:
    std::unique_ptr<BytePort> m_inner;
    TraceLog& m_log;
};
