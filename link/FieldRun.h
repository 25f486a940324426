#pragma once
// One read or write of the program on the serial port a COM name maps to,
// with the user's writing options: backup before, verify after, and a trace
// of every byte when one is wanted. Shared by Program > Read / Write and the
// several-radios dialog; the caller hands in its callbacks.

#include <QString>

#include "link/FieldSession.h"

struct FieldPreferences;
class TraceLog;

class FieldRun {
public:
    // A trace file that cannot be opened fails the run before a byte moves
    // (transfer Done, failure Trace); *traceError says why the trace
    // could not be opened or written whole. With series, one trace serves
    // several runs: it is opened at the first and left open for the caller
    // to close.
    static FieldResult read(const QString& port, MemoryImage& image, const FieldPreferences& prefs,
                            const FieldCallbacks& callbacks, TraceError* traceError);
    static FieldResult write(const QString& port, const MemoryImage& image, const FieldPreferences& prefs,
                             const FieldCallbacks& callbacks, TraceError* traceError, TraceLog* series = nullptr);
    // The session options of prefs (backup folder, verify).
    static FieldOptions options(const FieldPreferences& prefs);
};
