// kq517 import: a channel plan (our CSV or CHIRP CSV) into a .dat file,
// starting from a base file or a new image. All rows pass or nothing is written.

#include <QFile>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "codeplug/ChannelPlan.h"
#include "codeplug/ImageLayout.h"

namespace {

const char kUsage[] = "usage: kq517 import IN.csv [--base BASE.dat] -o OUT.dat";

bool readPlan(const QString& path, QByteArray* bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("import: cannot read \"%1\": %2").arg(path, file.errorString()));
        return false;
    }
    *bytes = file.read(channelplan::kLargestPlanBytes + 1);
    if (bytes->size() > channelplan::kLargestPlanBytes) {
        printError(QStringLiteral("import: \"%1\" is larger than 1 MiB: not a channel plan").arg(path));
        return false;
    }
    return true;
}

}  // namespace

int runImport(const QStringList& args)
{
    QString inPath;
    QString basePath;
    QString outPath;
    bool haveBase = false;
    bool haveOut = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (isHelp(arg)) {
            writeStdout(QByteArray(kUsage) + '\n');
            return kExitOk;
        }
        if (arg == QLatin1String("-o") || arg == QLatin1String("--base")) {
            const bool isOut = arg == QLatin1String("-o");
            if (!takeOptionValue(args, &i, QStringLiteral("import"), isOut ? &outPath : &basePath,
                                 isOut ? &haveOut : &haveBase))
                return kExitUsage;
            continue;
        }
        if (isOption(arg)) {
            printError(QStringLiteral("import: unknown option '%1'").arg(arg));
            return kExitUsage;
        }
        if (!inPath.isEmpty()) {
            printError(QStringLiteral("import: only one channel plan may be given"));
            return kExitUsage;
        }
        inPath = arg;
    }
    if (inPath.isEmpty() || !haveOut) {
        printError(QStringLiteral("import: %1 (%2)")
                       .arg(inPath.isEmpty() ? QStringLiteral("no channel plan given")
                                             : QStringLiteral("no output file given"),
                            QLatin1String(kUsage)));
        return kExitUsage;
    }

    MemoryImage image = MemoryImage::newImage();
    if (haveBase && !loadImage(basePath, &image))
        return kExitFailed;
    QByteArray bytes;
    if (!readPlan(inPath, &bytes))
        return kExitFailed;

    QString band;
    const modelband::BandLimits limits = bandLimitsOf(image, &band);
    if (band.isEmpty()) {
        // Without a band no frequency can pass; say why instead of refusing every row.
        printError(QStringLiteral("import: the settings file names no band for model %1, band %2 of the base image")
                       .arg(image.at(layout::kModelIndex))
                       .arg(image.at(layout::kBandIndex)));
        return kExitFailed;
    }
    const channelplan::ParseResult plan = channelplan::parseFile(bytes, limits);
    if (!plan.ok()) {
        for (const channelplan::PlanError& error : plan.errors)
            printError(QStringLiteral("import: %1: %2").arg(inPath, error.text(limits)));
        return kExitFailed;
    }

    // Rows skipped as CHIRP skips them are named; the rest is imported.
    for (const channelplan::PlanError& warning : plan.warnings)
        printError(QStringLiteral("import: %1: %2").arg(inPath, warning.text(limits)));
    channelplan::applyToImage(plan.rows, image, limits);
    QString reason;
    if (!image.saveFile(outPath, &reason)) {
        printError(reason);
        return kExitFailed;
    }
    return kExitOk;
}
