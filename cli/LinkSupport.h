#pragma once
// What the radio verbs of the command line (read, write, sim) share: progress
// on stderr, the trace option, stopping on SIGINT/SIGTERM.

#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdio>
#include <memory>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "codeplug/MemoryImage.h"
#include "link/FieldSession.h"
#include "link/SerialBytePort.h"
#include "link/TraceBytePort.h"
#include "texts/FieldReasons.h"

// The command line speaks English to its scripts, from the built-in table.
inline const texts::TextTable& cliTexts()
{
    return texts::TextTable::english();
}

// Raised by SIGINT or SIGTERM once installStopHandlers() ran.
extern std::atomic<bool> g_stopRequested;

// SIGINT and SIGTERM ask the transfer (or the simulator) to stop at its next
// pump pass, so the port is closed and nothing half-done is saved.
void installStopHandlers();

// The progress of a field session on stderr. On a terminal a bar per step,
// redrawn once per row; otherwise (a log file, a pipe) one line when a step
// starts and one when it ends; with --quiet nothing.
class StepProgress {
public:
    enum class Mode { Bar, Lines, Quiet };
    explicit StepProgress(Mode mode) : m_mode(mode) {}
    ~StepProgress() { finish(); }
    // Bar on a terminal, else Lines; Quiet when asked.
    static Mode modeFor(bool quiet);

    void show(FieldStep step, int row);
    // Ends the current step's output, so that what follows starts on a line of its own.
    void finish();

private:
    Mode m_mode;
    bool m_active = false;
    FieldStep m_step = FieldStep::Read;
    int m_rowsDone = 0;
};

// The session's callbacks for the command line: SIGINT/SIGTERM cancel, a bar
// per step, up to retries more handshakes after a communication error.
FieldCallbacks cliCallbacks(StepProgress& progress, int retries);

// Opens the trace named by --trace (when given, for appending) and wraps the
// serial port in it; each transfer's header names the verb.
class TraceOption {
public:
    bool open(const QString& path, const QString& verb)
    {
        if (path.isEmpty())
            return true;
        TraceError error;
        if (!m_log.open(path, &error)) {
            printError(texts::traceError(error, cliTexts()));
            return false;
        }
        m_log.setVerb(verb);
        return true;
    }
    BytePortFactory factory()
    {
        BytePortFactory serial = [] { return std::make_unique<SerialBytePort>(); };
        return m_log.isOpen() ? TraceBytePort::wrap(serial, m_log) : serial;
    }
    // False (with a message) when the trace could not be written whole.
    bool close()
    {
        TraceError error;
        if (m_log.close(&error))
            return true;
        printError(texts::traceError(error, cliTexts()));
        return false;
    }

private:
    TraceLog m_log;
};

// Lists what the radio would not accept in image; true when the write may go
// ahead (nothing found, or force).
bool imageAccepted(const MemoryImage& image, bool force);

// Asks for the next radio; false on "q", end of input or an interrupt.
bool nextRadioWanted();

// The option help texts the radio verbs share.
inline constexpr char kPortHelp[] = "COM1 to COM4 (mapped through KQ517_COM1 to KQ517_COM4 or the [Ports] "
                                    "section of KQ-517.ini) or a device path";
inline constexpr char kRetryHelp[] = "after a communication error, start again up to N times (0 to 1000)";
inline constexpr char kTraceHelp[] =
    "append every byte both ways to FILE, each transfer after a header line with the date and time, "
    "the command, the port and its device; an earlier trace is never emptied";
inline constexpr char kQuietHelp[] = "no progress on standard error";
