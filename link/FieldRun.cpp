#include "link/FieldRun.h"

#include <memory>

#include "codeplug/MemoryImage.h"
#include "link/SerialBytePort.h"
#include "link/TraceBytePort.h"
#include "settings/FieldPreferences.h"

namespace {

// Runs body with a port factory, traced into prefs' trace file when one is
// wanted. A trace that cannot be opened stops everything before a byte moves.
template <typename Body>
FieldResult withPorts(const FieldPreferences& prefs, FieldStep step, TraceError* traceError, TraceLog* series,
                      Body body)
{
    if (traceError)
        *traceError = TraceError{};
    const BytePortFactory serial = [] { return std::make_unique<SerialBytePort>(); };
    if (prefs.tracePath().isEmpty())
        return body(serial);
    TraceLog own;
    TraceLog& log = series ? *series : own;
    TraceError error;
    if (!log.isOpen() && !log.open(prefs.tracePath(), &error)) {
        FieldResult failed;
        failed.step = step;
        failed.failure = FieldResult::Failure::Trace;
        failed.traceError = error;
        if (traceError)
            *traceError = error;
        return failed;
    }
    log.setVerb(step == FieldStep::Read ? QStringLiteral("read") : QStringLiteral("write"));
    FieldResult result = body(TraceBytePort::wrap(serial, log));
    if (!series && !log.close(&error) && traceError)
        *traceError = error;
    return result;
}

}  // namespace

FieldOptions FieldRun::options(const FieldPreferences& prefs)
{
    FieldOptions options;
    options.backupDir = prefs.backupDir();
    options.verify = prefs.verify;
    return options;
}

FieldResult FieldRun::read(const QString& port, MemoryImage& image, const FieldPreferences& prefs,
                           const FieldCallbacks& callbacks, TraceError* traceError)
{
    return withPorts(prefs, FieldStep::Read, traceError, nullptr, [&](const BytePortFactory& factory) {
        FieldSession session(factory, port);
        return session.read(image, callbacks);
    });
}

FieldResult FieldRun::write(const QString& port, const MemoryImage& image, const FieldPreferences& prefs,
                            const FieldCallbacks& callbacks, TraceError* traceError, TraceLog* series)
{
    return withPorts(prefs, FieldStep::Write, traceError, series, [&](const BytePortFactory& factory) {
        FieldSession session(factory, port);
        return session.write(image, options(prefs), callbacks);
    });
}
