// kq517 read / write / sim: the radio link on the command line.

#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <memory>

#include "cli/Commands.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/ImageCheck.h"
#include "link/FieldSession.h"
#include "link/ProtocolEngine.h"
#include "link/PtyRadio.h"
#include "link/SerialBytePort.h"
#include "link/SimulatedRadio.h"
#include "link/TraceBytePort.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"

namespace {

std::atomic<bool> g_stopRequested{false};

void onStopSignal(int)
{
    g_stopRequested = true;
}

// SIGINT and SIGTERM ask the transfer (or the simulator) to stop at its next
// pump pass, so the port is closed and nothing half-done is saved.
void installStopHandlers()
{
#if defined(Q_OS_UNIX)
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocking poll returns at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#else
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
#endif
}

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

int usageError(const QString& message, const char* usage)
{
    printError(message);
    std::fprintf(stderr, "usage: %s\n", usage);
    return kExitUsage;
}

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
FieldCallbacks cliCallbacks(StepProgress& progress, int retries)
{
    installStopHandlers();
    FieldCallbacks callbacks;
    callbacks.pump = [] { return g_stopRequested.load(); };
    callbacks.progress = [&progress](FieldStep step, int row) { progress.show(step, row); };
    callbacks.retry = [&progress, retries](FieldStep step, int failures) {
        progress.finish();
        if (failures > retries)
            return false;
        printError(QStringLiteral("%1 (trying again, %2 of %3)")
                       .arg(ProtocolEngine::englishMessage(TransferResult::CommunicationError))
                       .arg(failures)
                       .arg(retries));
        Q_UNUSED(step);
        return true;
    };
    return callbacks;
}

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

const char kReadUsage[] = "kq517 read --port PORT -o OUT.dat [--base FILE.dat] [--retry N] [--trace FILE]";
const char kWriteUsage[] =
    "kq517 write --port PORT FILE.dat [--retry N] [--trace FILE] [--backup DIR] [--verify] [--repeat] [--force]";

// Lists what the radio would not accept in image; true when the write may go
// ahead (nothing found, or force).
bool imageAccepted(const MemoryImage& image, bool force)
{
    const QList<ImageProblem> problems = checkImage(image, ImageCheckLimits::fromSettings(image, g_settings));
    for (const ImageProblem& problem : problems)
        printError(QStringLiteral("the radio would not accept this: %1").arg(problem.text));
    if (problems.isEmpty() || force)
        return true;
    printError(QStringLiteral("nothing was written: the file has %1 problem%2 (give --force to write it anyway)")
                   .arg(problems.size())
                   .arg(problems.size() == 1 ? QString() : QStringLiteral("s")));
    return false;
}

// Asks for the next radio; false on "q", end of input or an interrupt.
bool nextRadioWanted()
{
    std::fputs("Connect the next radio and press Enter (q and Enter, or end of input, to finish): ", stdout);
    std::fflush(stdout);
    char line[256];
    if (g_stopRequested || !std::fgets(line, sizeof line, stdin) || g_stopRequested)
        return false;
    return QString::fromLocal8Bit(line).trimmed().compare(QLatin1String("q"), Qt::CaseInsensitive) != 0;
}

}  // namespace

int runRead(const QStringList& args)
{
    Arguments options(args, {QStringLiteral("--port"), QStringLiteral("-o"), QStringLiteral("--base"),
                             QStringLiteral("--retry"), QStringLiteral("--trace")},
                      {});
    int retries = 0;
    if (!options.error().isEmpty() || !options.number(QStringLiteral("--retry"), 0, 1000, &retries))
        return usageError(options.error(), kReadUsage);
    if (!options.positional().isEmpty())
        return usageError(QStringLiteral("unexpected '%1'").arg(options.positional().first()), kReadUsage);
    const QString port = options.value(QStringLiteral("--port"));
    const QString out = options.value(QStringLiteral("-o"));
    if (port.isEmpty() || out.isEmpty())
        return usageError(QStringLiteral("read needs --port and -o"), kReadUsage);

    MemoryImage image = MemoryImage::newImage();
    QString error;
    if (options.has(QStringLiteral("--base")) && !image.loadFile(options.value(QStringLiteral("--base")), &error)) {
        printError(error);
        return kExitFailed;
    }
    TraceOption trace;
    if (!trace.open(options.value(QStringLiteral("--trace"))))
        return kExitFailed;
    StepProgress progress;
    FieldSession session(trace.factory(), port);
    const FieldResult result = session.read(image, cliCallbacks(progress, retries));
    progress.finish();
    const bool traced = trace.close();
    // The image is saved only after a complete read; a failed one leaves OUT as it was.
    if (!result.succeeded()) {
        printError(result.reason);
        return kExitFailed;
    }
    if (!image.saveFile(out, &error)) {
        printError(error);
        return kExitFailed;
    }
    return traced ? kExitOk : kExitFailed;
}

int runWrite(const QStringList& args)
{
    Arguments options(args,
                      {QStringLiteral("--port"), QStringLiteral("--retry"), QStringLiteral("--trace"),
                       QStringLiteral("--backup")},
                      {QStringLiteral("--verify"), QStringLiteral("--repeat"), QStringLiteral("--force")});
    int retries = 0;
    if (!options.error().isEmpty() || !options.number(QStringLiteral("--retry"), 0, 1000, &retries))
        return usageError(options.error(), kWriteUsage);
    const QString port = options.value(QStringLiteral("--port"));
    if (port.isEmpty() || options.positional().size() != 1)
        return usageError(QStringLiteral("write needs --port and one FILE.dat"), kWriteUsage);
    if (options.has(QStringLiteral("--backup")) && options.value(QStringLiteral("--backup")).isEmpty())
        return usageError(QStringLiteral("option --backup needs a folder"), kWriteUsage);

    MemoryImage image;
    QString error;
    if (!image.loadFile(options.positional().first(), &error)) {
        printError(error);
        return kExitFailed;
    }
    if (!imageAccepted(image, options.has(QStringLiteral("--force"))))
        return kExitFailed;
    TraceOption trace;
    if (!trace.open(options.value(QStringLiteral("--trace"))))
        return kExitFailed;

    FieldOptions fieldOptions;
    fieldOptions.backupDir = options.value(QStringLiteral("--backup"));
    fieldOptions.verify = options.has(QStringLiteral("--verify"));
    const bool repeat = options.has(QStringLiteral("--repeat"));
    StepProgress progress;
    const FieldCallbacks callbacks = cliCallbacks(progress, retries);
    FieldSession session(trace.factory(), port);

    int radios = 0;
    QStringList failures;
    for (;;) {
        ++radios;
        const FieldResult result = session.write(image, fieldOptions, callbacks);
        progress.finish();
        // A plain write stays quiet on success; the rest says what it did.
        const QString radio = repeat ? QStringLiteral("Radio %1: ").arg(radios) : QString();
        if (!result.backupPath.isEmpty())
            std::fprintf(stdout, "%sbackup saved as %s\n", qPrintable(radio),
                         QFile::encodeName(result.backupPath).constData());
        if (result.succeeded()) {
            if (fieldOptions.verify)
                std::fprintf(stdout, "%swritten and verified: rows 0 to 60 read back as written\n", qPrintable(radio));
            else if (repeat)
                std::fprintf(stdout, "%swritten\n", qPrintable(radio));
        } else {
            std::fflush(stdout);  // the backup line first
            printError(repeat ? QStringLiteral("radio %1: %2").arg(radios).arg(result.reason) : result.reason);
            failures.append(QStringLiteral("radio %1: %2").arg(radios).arg(result.reason));
        }
        std::fflush(stdout);
        if (!repeat || result.outcome == FieldResult::Outcome::Cancelled || !nextRadioWanted())
            break;
    }
    if (repeat) {
        std::fprintf(stdout, "\n%d radio%s written, %d failed%s\n", radios - int(failures.size()),
                     radios - failures.size() == 1 ? "" : "s", int(failures.size()),
                     failures.isEmpty() ? "" : qPrintable(QStringLiteral(": ") + failures.join(QStringLiteral("; "))));
        std::fflush(stdout);
    }
    const bool traced = trace.close();
    return failures.isEmpty() && traced ? kExitOk : kExitFailed;
}

namespace {

const char kSimHelp[] =
    "usage: kq517 sim [--image FILE.dat] [--save FILE.dat] [--link PATH] [--baud N] [faults]\n"
    "A simulated radio on a pseudo-terminal. Prints the terminal's device path as\n"
    "its first line, then answers transfers one after another until stopped\n"
    "(SIGTERM or SIGINT). Open the device path as the port (kq517 read --port PATH)\n"
    "or map COM1 to it in the [Ports] section of KQ-517.ini.\n"
    "  --image FILE.dat    the radio's memory (default: a new image)\n"
    "  --save FILE.dat     save the memory (atomically) after every completed write\n"
    "  --link PATH         make PATH a symbolic link to the device\n"
    "  --baud N            pace the line at N baud (default 9600; 0 = no pacing)\n"
    "Faults (block K is the block at address 8 x K, 0 to 121):\n"
    "  --ident TEXT        answer the identification with TEXT (default P3107 and\n"
    "                      three zero bytes; P2107 is accepted too, a text shorter\n"
    "                      than five characters is an incomplete answer)\n"
    "  --wrong-ident       answer the identification as another radio type (P4107)\n"
    "  --silent            never answer anything\n"
    "  --no-wakeup-answer  no answer to the wake-up sequence (the host carries on)\n"
    "  --no-handshake-ack  no ACK to the host's handshake ACK\n"
    "  --no-ack-at K       no ACK for block K\n"
    "  --wrong-ack-at K    a NAK (0x15) instead of the ACK for block K\n"
    "  --short-reply-at K  a read reply of 6 bytes instead of 12 for block K\n"
    "  --vanish-at K       the line vanishes (the terminal closes) when block K is\n"
    "                      requested; the simulator then ends\n"
    "  --drop-write-at K   acknowledge the written block K without storing it\n"
    "                      (only a read-back verify notices)\n";

}  // namespace

int runSim(const QStringList& args)
{
    const QStringList blockFaults = {QStringLiteral("--no-ack-at"), QStringLiteral("--wrong-ack-at"),
                                     QStringLiteral("--short-reply-at"), QStringLiteral("--vanish-at"),
                                     QStringLiteral("--drop-write-at")};
    Arguments options(args,
                      QStringList{QStringLiteral("--image"), QStringLiteral("--save"), QStringLiteral("--link"),
                                  QStringLiteral("--baud"), QStringLiteral("--ident")} +
                          blockFaults,
                      {QStringLiteral("--help"), QStringLiteral("-h"), QStringLiteral("--wrong-ident"),
                       QStringLiteral("--silent"), QStringLiteral("--no-wakeup-answer"),
                       QStringLiteral("--no-handshake-ack")});
    if (options.has(QStringLiteral("--help")) || options.has(QStringLiteral("-h"))) {
        std::fputs(kSimHelp, stdout);
        return kExitOk;
    }
    const char* usage = "kq517 sim [--image FILE.dat] [--save FILE.dat] [--link PATH] [--baud N] [faults]";
    if (!options.error().isEmpty())
        return usageError(options.error(), usage);
    if (!options.positional().isEmpty())
        return usageError(QStringLiteral("unexpected '%1'").arg(options.positional().first()), usage);

    SimFaults faults;
    int* blockFaultTargets[] = {&faults.noAckAt, &faults.wrongAckAt, &faults.shortReplyAt, &faults.vanishAt,
                                &faults.dropWriteAt};
    for (int i = 0; i < blockFaults.size(); ++i)
        if (!options.number(blockFaults.at(i), 0, layout::kRadioBlockCount - 1, blockFaultTargets[i]))
            return usageError(options.error(), usage);
    PtyRadio::Options line;
    if (!options.number(QStringLiteral("--baud"), 0, 4000000, &line.baud))
        return usageError(options.error(), usage);
    if (options.has(QStringLiteral("--ident")))
        faults.identification = options.value(QStringLiteral("--ident")).toLatin1();
    if (options.has(QStringLiteral("--wrong-ident")))
        faults.identification = QByteArrayLiteral("P4107\x00\x00\x00");
    faults.silent = options.has(QStringLiteral("--silent"));
    faults.noWakeUpAnswer = options.has(QStringLiteral("--no-wakeup-answer"));
    faults.noHandshakeAck = options.has(QStringLiteral("--no-handshake-ack"));
    line.savePath = options.value(QStringLiteral("--save"));
    line.linkPath = options.value(QStringLiteral("--link"));

    MemoryImage image = MemoryImage::newImage();
    QString error;
    if (options.has(QStringLiteral("--image")) && !image.loadFile(options.value(QStringLiteral("--image")), &error)) {
        printError(error);
        return kExitFailed;
    }

    installStopHandlers();
    SimulatedRadio radio(image, faults);
    PtyRadio pty(radio, line);
    if (!pty.start(&error)) {
        printError(error);
        return kExitFailed;
    }
    std::fprintf(stdout, "%s\n", QFile::encodeName(pty.devicePath()).constData());
    std::fflush(stdout);
    if (!pty.run(g_stopRequested, &error)) {
        printError(error);
        return kExitFailed;
    }
    if (radio.vanished())
        printError(QStringLiteral("sim: the line vanished at block %1 as asked").arg(faults.vanishAt));
    return kExitOk;
}
