#pragma once
// What the radio verbs of the command line (read, write, sim) share: option
// parsing, progress on stderr, the trace option, stopping on SIGINT/SIGTERM.

#include <QHash>
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

// Raised by SIGINT or SIGTERM once installStopHandlers() ran.
extern std::atomic<bool> g_stopRequested;

// SIGINT and SIGTERM ask the transfer (or the simulator) to stop at its next
// pump pass, so the port is closed and nothing half-done is saved.
void installStopHandlers();

// Options of the form "--name VALUE"; positional words are collected apart.
class Arguments {
public:
    Arguments(const QStringList& args, const QStringList& withValue, const QStringList& flags)
    {
        for (int i = 0; i < args.size(); ++i) {
            const QString& word = args.at(i);
            if (withValue.contains(word)) {
                if (i + 1 >= args.size()) {
                    m_error = QStringLiteral("option %1 needs a value").arg(word);
                    return;
                }
                m_values.insert(word, args.at(++i));
            } else if (flags.contains(word)) {
                m_values.insert(word, QString());
            } else if (word.startsWith(QLatin1Char('-')) && word.size() > 1) {
                m_error = QStringLiteral("unknown option '%1'").arg(word);
                return;
            } else {
                m_positional.append(word);
            }
        }
    }
    QString error() const { return m_error; }
    bool has(const QString& name) const { return m_values.contains(name); }
    QString value(const QString& name) const { return m_values.value(name); }
    const QStringList& positional() const { return m_positional; }

    // A whole number from min to max; false (and a message) when not.
    bool number(const QString& name, int min, int max, int* out)
    {
        if (!has(name))
            return true;
        bool ok = false;
        const int n = value(name).toInt(&ok);
        if (!ok || n < min || n > max) {
            m_error = QStringLiteral("option %1 wants a whole number from %2 to %3").arg(name).arg(min).arg(max);
            return false;
        }
        *out = n;
        return true;
    }

private:
    QHash<QString, QString> m_values;
    QStringList m_positional;
    QString m_error;
};

// The message, then the verb's usage line, on stderr; the usage exit status.
int usageError(const QString& message, const char* usage);

// A progress bar on stderr, redrawn once per row.
class ProgressBar {
public:
    explicit ProgressBar(const char* label) : m_label(label) {}
    ~ProgressBar() { finish(); }
    void show(int row)
    {
        constexpr int kWidth = 40;
        const int done = row + 1;
        const int filled = done * kWidth / layout::kRadioRowCount;
        std::fprintf(stderr, "\r%s [%s%s] %d/%d", m_label, QByteArray(filled, '#').constData(),
                     QByteArray(kWidth - filled, '.').constData(), done, layout::kRadioRowCount);
        std::fflush(stderr);
        m_shown = true;
    }
    // Ends the bar's line, so that what follows starts on a line of its own.
    void finish()
    {
        if (m_shown)
            std::fputc('\n', stderr);
        m_shown = false;
    }

private:
    const char* m_label;
    bool m_shown = false;
};

// The progress of a field session on stderr: one bar per step.
class StepProgress {
public:
    void show(FieldStep step, int row)
    {
        if (!m_bar || step != m_step) {
            m_bar.reset();
            m_step = step;
            m_bar = std::make_unique<ProgressBar>(label(step));
        }
        m_bar->show(row);
    }
    void finish() { m_bar.reset(); }

private:
    static const char* label(FieldStep step)
    {
        switch (step) {
        case FieldStep::Backup:
            return "Backing up";
        case FieldStep::Write:
            return "Writing";
        case FieldStep::Verify:
            return "Verifying";
        case FieldStep::Read:
            break;
        }
        return "Reading";
    }

    FieldStep m_step = FieldStep::Read;
    std::unique_ptr<ProgressBar> m_bar;
};

// The session's callbacks for the command line: SIGINT/SIGTERM cancel, a bar
// per step, up to retries more handshakes after a communication error.
FieldCallbacks cliCallbacks(StepProgress& progress, int retries);

// Opens the trace named by --trace (when given) and wraps the serial port in it.
class TraceOption {
public:
    bool open(const QString& path)
    {
        if (path.isEmpty())
            return true;
        QString error;
        if (!m_log.open(path, &error)) {
            printError(error);
            return false;
        }
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
        QString error;
        if (m_log.close(&error))
            return true;
        printError(error);
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
