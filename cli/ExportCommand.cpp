// kq517 export: the channels of a .dat file as CSV or CHIRP CSV.

#include <QStringList>

#include <cstdio>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "codeplug/ChannelPlan.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/AtomicFile.h"

namespace {

// Some channels could not be expressed and were left out of the file.
constexpr int kExitIncomplete = 3;

const char kUsage[] = "usage: kq517 export FILE.dat [-o OUT.csv] [--format csv|chirp]";
const char kHelp[] =
    "Writes the channels as our CSV (the default) or as CHIRP's CSV.\n"
    "Exit status: 0 every channel was written; 1 the file could not be read or\n"
    "written; 2 usage error; 3 the CHIRP file is incomplete: channels CHIRP\n"
    "cannot hold as they are (a tone off the tone list, a channel with only one\n"
    "of its frequencies) were left out, each named on standard error.\n";

}  // namespace

int runExport(const QStringList& args)
{
    QString path;
    QString outPath;
    QString format = QStringLiteral("csv");
    bool haveOut = false;
    bool haveFormat = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (isHelp(arg)) {
            writeStdout(QByteArray(kUsage) + '\n' + kHelp);
            return kExitOk;
        }
        if (arg == QLatin1String("-o")) {
            if (!takeOptionValue(args, &i, QStringLiteral("export"), &outPath, &haveOut))
                return kExitUsage;
            continue;
        }
        if (arg == QLatin1String("--format")) {
            if (!takeOptionValue(args, &i, QStringLiteral("export"), &format, &haveFormat))
                return kExitUsage;
            if (format != QLatin1String("csv") && format != QLatin1String("chirp")) {
                printError(QStringLiteral("export: unknown format '%1' (csv or chirp)").arg(format));
                return kExitUsage;
            }
            continue;
        }
        if (isOption(arg)) {
            printError(QStringLiteral("export: unknown option '%1'").arg(arg));
            return kExitUsage;
        }
        if (!path.isEmpty()) {
            printError(QStringLiteral("export: only one file may be given"));
            return kExitUsage;
        }
        path = arg;
    }
    if (path.isEmpty()) {
        printError(QStringLiteral("export: no .dat file given (%1)").arg(QLatin1String(kUsage)));
        return kExitUsage;
    }

    MemoryImage image;
    if (!loadImage(path, &image))
        return kExitFailed;
    QList<channelplan::LeftOut> leftOut;
    const QByteArray csv = format == QLatin1String("chirp") ? channelplan::writeChirpCsv(image, &leftOut)
                                                            : channelplan::writeCsv(image);

    if (!haveOut) {
        if (!writeStdout(csv)) {
            printError(QStringLiteral("export: cannot write to standard output"));
            return kExitFailed;
        }
    } else {
        // Atomic: OUT is replaced only when the whole table was written.
        QString reason;
        if (!writeFileAtomically(outPath, csv, &reason)) {
            printError(QStringLiteral("Cannot save \"%1\": %2").arg(outPath, reason));
            return kExitFailed;
        }
    }
    for (const channelplan::LeftOut& channel : leftOut)
        printError(QStringLiteral("export: %1").arg(channel.text()));
    return leftOut.isEmpty() ? kExitOk : kExitIncomplete;
}
