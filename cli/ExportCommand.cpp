// kq517 export: the channels of a .dat file as CSV or CHIRP CSV.

#include <QStringList>

#include <cstdio>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "codeplug/ChannelPlan.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/AtomicFile.h"
#include "texts/PlanReasons.h"
#include "texts/ImageFileTexts.h"
#include "texts/TextTable.h"

namespace {

// Some channels could not be expressed and were left out of the file.
constexpr int kExitIncomplete = 3;

int runExport(const ParsedArgs& args)
{
    const QString path = args.operands().first();
    const QString outPath = args.value("-o");
    const bool haveOut = args.has("-o");
    const QString format = args.has("--format") ? args.value("--format") : QStringLiteral("csv");
    if (format != QLatin1String("csv") && format != QLatin1String("chirp"))
        return verbUsageError(exportVerb(), texts::text(IDS_CLI_UNKNOWN_FORMAT, format));

    MemoryImage image;
    if (!loadImage(path, &image))
        return kExitFailed;
    QList<channelplan::LeftOut> leftOut;
    const QByteArray csv = format == QLatin1String("chirp") ? channelplan::writeChirpCsv(image, &leftOut)
                                                            : channelplan::writeCsv(image);

    if (!haveOut) {
        if (!writeStdout(csv)) {
            printError(QStringLiteral("export: ") + texts::text(IDS_CLI_STDOUT));
            return kExitFailed;
        }
    } else {
        // Atomic: OUT is replaced only when the whole table was written.
        QString reason;
        if (!writeFileAtomically(outPath, csv, &reason)) {
            printError(texts::text(texts::IDS_FILE_CANNOT_SAVE, texts::shownPath(outPath), reason));
            return kExitFailed;
        }
    }
    for (const channelplan::LeftOut& channel : leftOut)
        printError(QStringLiteral("export: %1").arg(texts::leftOutText(channel)));
    return leftOut.isEmpty() ? kExitOk : kExitIncomplete;
}

}  // namespace

const VerbRecord& exportVerb()
{
    static const VerbRecord verb{"export",
                               "FILE.dat",
                               1,
                               1,
                               "the channel table as CSV or CHIRP CSV",
                               {{"-o", "OUT.csv", "write to OUT.csv (atomically) instead of standard output"},
                                {"--format", "csv|chirp", "our own CSV (the default) or CHIRP's CSV"}},
                               "Exit status 3 when the CHIRP file is incomplete: channels CHIRP cannot hold as they are "
                               "(a tone off the tone list, a channel with only one of its frequencies) were left out, "
                               "each named on standard error.",
                               runExport};
    return verb;
}
