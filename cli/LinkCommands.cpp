// kq517 read / write / sim: the radio link on the command line.

#include <QFile>
#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <csignal>
#include <cstdio>

#include "cli/Commands.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "link/ProtocolEngine.h"
#include "link/PtyRadio.h"
#include "link/SerialBytePort.h"
#include "link/SimulatedRadio.h"

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

QString oneLine(QString text)
{
    return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// Open, handshake (repeated up to retries more times on a communication
// error), then the block loop in the given direction. Reports failures itself.
bool transfer(const QString& portName, MemoryImage& image, bool write, int retries)
{
    SerialBytePort port;
    ProtocolEngine engine(port);
    if (engine.open(portName) != TransferResult::Done) {
        printError(ProtocolEngine::englishMessage(TransferResult::PortOpenFailed) + QStringLiteral(": ") +
                   engine.openError());
        return false;
    }
    installStopHandlers();
    const ProtocolEngine::Pump pump = [] { return g_stopRequested.load(); };

    TransferResult result = TransferResult::CommunicationError;
    for (int attempt = 0; attempt <= retries; ++attempt) {
        result = engine.handshake(pump);
        if (result != TransferResult::CommunicationError || attempt == retries)
            break;
        printError(QStringLiteral("%1 (trying again, %2 of %3)")
                       .arg(ProtocolEngine::englishMessage(result))
                       .arg(attempt + 1)
                       .arg(retries));
    }
    if (result == TransferResult::Done) {
        ProgressBar bar(write ? "Writing" : "Reading");
        const ProtocolEngine::Progress progress = [&bar](int row) { bar.show(row); };
        result = write ? engine.writeImage(image, pump, progress) : engine.readImage(image, pump, progress);
        bar.finish();
    }
    engine.close();
    switch (result) {
    case TransferResult::Done:
        return true;
    case TransferResult::Cancelled:
        printError(QStringLiteral("interrupted; the transfer did not complete"));
        return false;
    default:
        printError(oneLine(ProtocolEngine::englishMessage(result)));
        return false;
    }
}

const char kReadUsage[] = "kq517 read --port PORT -o OUT.dat [--base FILE.dat] [--retry N]";
const char kWriteUsage[] = "kq517 write --port PORT FILE.dat [--retry N]";

}  // namespace

int runRead(const QStringList& args)
{
    Arguments options(args, {QStringLiteral("--port"), QStringLiteral("-o"), QStringLiteral("--base"),
                             QStringLiteral("--retry")},
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
    // The image is saved only after a complete read; a failed one leaves OUT as it was.
    if (!transfer(port, image, false, retries))
        return kExitFailed;
    if (!image.saveFile(out, &error)) {
        printError(error);
        return kExitFailed;
    }
    return kExitOk;
}

int runWrite(const QStringList& args)
{
    Arguments options(args, {QStringLiteral("--port"), QStringLiteral("--retry")}, {});
    int retries = 0;
    if (!options.error().isEmpty() || !options.number(QStringLiteral("--retry"), 0, 1000, &retries))
        return usageError(options.error(), kWriteUsage);
    const QString port = options.value(QStringLiteral("--port"));
    if (port.isEmpty() || options.positional().size() != 1)
        return usageError(QStringLiteral("write needs --port and one FILE.dat"), kWriteUsage);

    MemoryImage image;
    QString error;
    if (!image.loadFile(options.positional().first(), &error)) {
        printError(error);
        return kExitFailed;
    }
    return transfer(port, image, true, retries) ? kExitOk : kExitFailed;
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
    "                      requested; the simulator then ends\n";

}  // namespace

int runSim(const QStringList& args)
{
    const QStringList blockFaults = {QStringLiteral("--no-ack-at"), QStringLiteral("--wrong-ack-at"),
                                     QStringLiteral("--short-reply-at"), QStringLiteral("--vanish-at")};
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
    int* blockFaultTargets[] = {&faults.noAckAt, &faults.wrongAckAt, &faults.shortReplyAt, &faults.vanishAt};
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
