// kq517 sim: a simulated radio on a pseudo-terminal.

#include <QFile>

#include "cli/Help.h"
#include "cli/LinkSupport.h"
#include "link/PtyRadio.h"
#include "link/SimulatedRadio.h"
#include "texts/ImageFileTexts.h"

namespace {

int runSim(const ParsedArgs& args)
{
    const char* blockFaults[] = {"--no-ack-at", "--wrong-ack-at", "--short-reply-at", "--vanish-at",
                                 "--drop-write-at"};
    SimFaults faults;
    int* blockFaultTargets[] = {&faults.noAckAt, &faults.wrongAckAt, &faults.shortReplyAt, &faults.vanishAt,
                                &faults.dropWriteAt};
    QString error;
    for (int i = 0; i < 5; ++i)
        if (!args.number(blockFaults[i], 0, layout::kRadioBlockCount - 1, blockFaultTargets[i], &error))
            return verbUsageError(simVerb(), error);
    PtyRadio::Options line;
    if (!args.number("--baud", 0, 4000000, &line.baud, &error))
        return verbUsageError(simVerb(), error);
    if (args.has("--ident"))
        faults.identification = args.value("--ident").toLatin1();
    if (args.has("--wrong-ident"))
        faults.identification = QByteArrayLiteral("P4107\x00\x00\x00");
    faults.silent = args.has("--silent");
    faults.noWakeUpAnswer = args.has("--no-wakeup-answer");
    faults.noHandshakeAck = args.has("--no-handshake-ack");
    line.savePath = args.value("--save");
    line.linkPath = args.value("--link");

    MemoryImage image = MemoryImage::newImage();
    if (args.has("--image") && !loadImage(args.value("--image"), &image))
        return kExitFailed;

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
        printError(error.isEmpty() ? texts::imageFileProblem(pty.saveProblem()) : error);
        return kExitFailed;
    }
    if (radio.vanished())
        printError(cliTexts().text(texts::fieldid::kSimVanished).arg(faults.vanishAt));
    return kExitOk;
}

}  // namespace

const VerbRecord& simVerb()
{
    static const VerbRecord verb{
        "sim",
        "",
        0,
        0,
        "a simulated radio on a pseudo-terminal",
        {{"--image", "FILE.dat", "the radio's memory (default: a new image)"},
         {"--save", "FILE.dat", "save the memory (atomically) after every completed write"},
         {"--link", "PATH", "make PATH a symbolic link to the device"},
         {"--baud", "N", "pace the line at N baud (default 9600; 0 = no pacing)"},
         {"--ident", "TEXT",
          "fault: answer the identification with TEXT (default P3107 and three zero bytes; P2107 is accepted "
          "too, a text shorter than five characters is an incomplete answer)"},
         {"--wrong-ident", nullptr, "fault: answer the identification as another radio type (P4107)"},
         {"--silent", nullptr, "fault: never answer anything"},
         {"--no-wakeup-answer", nullptr, "fault: no answer to the wake-up sequence (the host carries on)"},
         {"--no-handshake-ack", nullptr, "fault: no ACK to the host's handshake ACK"},
         {"--no-ack-at", "K", "fault: no ACK for block K"},
         {"--wrong-ack-at", "K", "fault: a NAK (0x15) instead of the ACK for block K"},
         {"--short-reply-at", "K", "fault: a read reply of 6 bytes instead of 12 for block K"},
         {"--vanish-at", "K",
          "fault: the line vanishes (the terminal closes) when block K is requested; the simulator then ends"},
         {"--drop-write-at", "K", "fault: acknowledge the written block K without storing it (only a read-back "
                                  "verify notices)"}},
        "Prints the terminal's device path as its first line, then answers transfers one after another until "
        "stopped (SIGTERM or SIGINT). Open the device path as the port (kq517 read --port PATH) or map COM1 to it "
        "in the [Ports] section of KQ-517.ini. Block K is the block at address 8 x K, 0 to 121.",
        runSim};
    return verb;
}
