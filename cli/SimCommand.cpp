// kq517 sim: a simulated radio on a pseudo-terminal.

#include <QFile>

#include "cli/LinkSupport.h"
#include "link/PtyRadio.h"
#include "link/SimulatedRadio.h"

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
