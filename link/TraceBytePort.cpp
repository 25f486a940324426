#include "link/TraceBytePort.h"

#include <utility>

#include "link/PortNames.h"

TraceLog::~TraceLog()
{
    close();
}

bool TraceLog::open(const QString& path, TraceError* error)
{
    close();
    m_writeFailed = false;
    m_file.setFileName(path);
    if (error)
        *error = TraceError{};
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        if (error)
            *error = {TraceError::Kind::CannotWrite, path, m_file.errorString()};
        return false;
    }
    m_clock.start();
    return true;
}

bool TraceLog::close(TraceError* error)
{
    if (error)
        *error = TraceError{};
    if (!m_file.isOpen())
        return true;
    const bool flushed = m_file.flush() && !m_writeFailed;
    const QString reason = m_file.errorString();
    m_file.close();
    if (!flushed && error)
        *error = {TraceError::Kind::Incomplete, m_file.fileName(), reason};
    return flushed;
}

QByteArray TraceLog::line(double seconds, char direction, const std::uint8_t* bytes, int count)
{
    QByteArray text = QByteArray::number(seconds, 'f', 6);
    text += ' ';
    text += direction;
    static const char kHex[] = "0123456789abcdef";
    for (int i = 0; i < count; ++i) {
        text += ' ';
        text += kHex[bytes[i] >> 4];
        text += kHex[bytes[i] & 0x0F];
    }
    return text;
}

QByteArray TraceLog::header(const QDateTime& when, const QString& verb, const QString& port, const QString& device)
{
    QString text = QStringLiteral("# ") + when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    for (const QString& part : {verb, port, device})
        text += QLatin1Char(' ') + (part.isEmpty() ? QStringLiteral("-") : part);
    return text.toUtf8();
}

void TraceLog::beginTransfer(const QString& port, const QString& device)
{
    if (m_file.isOpen() && m_file.write(header(QDateTime::currentDateTime(), m_verb, port, device) + '\n') < 0)
        m_writeFailed = true;
}

namespace {

// The trace is a technical record: the refusal is named, not explained.
QByteArray refusalKeyword(const PortOpenError& reason)
{
    switch (reason.kind) {
    case PortOpenError::Kind::UnknownName:
        return "unknown-name";
    case PortOpenError::Kind::NoDevice:
        return "no-device";
    case PortOpenError::Kind::NoPermission:
        return "no-permission " + reason.group.toUtf8();
    case PortOpenError::Kind::Busy:
        return "busy";
    case PortOpenError::Kind::System:
        return reason.systemText.toUtf8();
    case PortOpenError::Kind::None:
        break;
    }
    return "-";
}

}  // namespace

void TraceLog::recordOpenFailure(const PortOpenError& reason)
{
    if (m_file.isOpen() && m_file.write("# cannot open the port: " + refusalKeyword(reason) + '\n') < 0)
        m_writeFailed = true;
}

void TraceLog::record(char direction, const std::uint8_t* bytes, int count)
{
    if (!m_file.isOpen() || count <= 0)
        return;
    const double seconds = m_clock.isValid() ? double(m_clock.nsecsElapsed()) / 1e9 : 0.0;
    // Buffered by QFile: writing a line costs no time on the line's clock.
    if (m_file.write(line(seconds, direction, bytes, count) + '\n') < 0)
        m_writeFailed = true;
}

TraceBytePort::TraceBytePort(std::unique_ptr<BytePort> inner, TraceLog& log)
    : m_inner(std::move(inner)), m_log(log)
{
}

BytePortFactory TraceBytePort::wrap(BytePortFactory factory, TraceLog& log)
{
    return [factory = std::move(factory), &log]() -> std::unique_ptr<BytePort> {
        return std::make_unique<TraceBytePort>(factory(), log);
    };
}

bool TraceBytePort::open(const QString& name, PortOpenError* error)
{
    m_log.beginTransfer(name, PortNames::device(name));
    PortOpenError reason;
    const bool opened = m_inner->open(name, &reason);
    if (opened)
        m_log.restartClock();  // times count from the open, as the line's bytes do
    else
        m_log.recordOpenFailure(reason);
    if (error)
        *error = reason;
    return opened;
}

int TraceBytePort::read(std::uint8_t* buffer, int count, bool* ok)
{
    const int received = m_inner->read(buffer, count, ok);
    m_log.record('<', buffer, received);
    return received;
}

int TraceBytePort::write(const std::uint8_t* buffer, int count)
{
    const int written = m_inner->write(buffer, count);
    m_log.record('>', buffer, written);
    return written;
}
