// kq517 import: a channel plan (our CSV or CHIRP CSV) into a .dat file,
// starting from a base file or a new image. All rows pass or nothing is written.

#include <QFile>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "codeplug/ChannelPlan.h"
#include "codeplug/ImageLayout.h"
#include "texts/CellTexts.h"
#include "texts/PlanReasons.h"
#include "texts/TextTable.h"

namespace {

bool readPlan(const QString& path, QByteArray* bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("import: ") + texts::text(IDS_CLI_CANNOT_READ, path, file.errorString()));
        return false;
    }
    *bytes = file.read(channelplan::kLargestPlanBytes + 1);
    if (bytes->size() > channelplan::kLargestPlanBytes) {
        printError(QStringLiteral("import: ") + texts::text(IDS_CLI_TOO_LARGE, path));
        return false;
    }
    return true;
}

int runImport(const ParsedArgs& args)
{
    const QString inPath = args.operands().first();
    const QString outPath = args.value("-o");
    const QString basePath = args.value("--base");
    const bool haveBase = args.has("--base");

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
        printError(QStringLiteral("import: ") + texts::text(IDS_CLI_NO_BAND, QString::number(image.at(layout::kModelIndex)),
                                                            QString::number(image.at(layout::kBandIndex))));
        return kExitFailed;
    }
    // Cells may be written in the words of any language module.
    const CellWords words = texts::cellWords();
    const channelplan::ParseResult plan = channelplan::parseFile(bytes, limits, words);
    if (!plan.ok()) {
        for (const channelplan::PlanError& error : plan.errors)
            printError(QStringLiteral("import: %1: %2").arg(inPath, texts::planErrorText(error, limits)));
        return kExitFailed;
    }

    // Rows skipped as CHIRP skips them are named; the rest is imported.
    for (const channelplan::PlanError& warning : plan.warnings)
        printError(QStringLiteral("import: %1: %2").arg(inPath, texts::planErrorText(warning, limits)));
    channelplan::applyToImage(plan.rows, image, limits, words);
    if (!saveImage(image, outPath))
        return kExitFailed;
    return kExitOk;
}

}  // namespace

const VerbRecord& importVerb()
{
    static const VerbRecord verb{"import",
                               "IN.csv",
                               1,
                               1,
                               "channels from CSV or CHIRP CSV into a .dat file",
                               {{"-o", "OUT.dat", "the .dat file to write (atomically)", true},
                                {"--base", "BASE.dat", "start from this image instead of a new one"}},
                               "Every row must pass, or nothing is written.",
                               runImport};
    return verb;
}
