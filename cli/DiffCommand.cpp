// kq517 diff: what differs between two .dat files, one line per channel
// field, option or other byte. Exit 0 when they agree, 1 when they differ.

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "codeplug/ImageDiff.h"
#include "texts/DiffLines.h"
#include "texts/TextTable.h"

namespace {

int runDiff(const ParsedArgs& args)
{
    const QStringList& paths = args.operands();

    // A file that cannot be compared is an error like a usage error: neither
    // "agree" nor "differ" can be answered.
    MemoryImage a;
    MemoryImage b;
    if (!loadImage(paths.at(0), &a) || !loadImage(paths.at(1), &b))
        return kExitUsage;

    const QList<imagediff::DiffLine> lines = imagediff::diff(a, b);
    QString text;
    for (const QString& line : texts::diffLines(lines, a, b))
        text += line + QLatin1Char('\n');
    if (!writeStdout(text.toUtf8())) {
        printError(QStringLiteral("diff: ") + texts::text(IDS_CLI_STDOUT));
        return kExitUsage;
    }
    return lines.isEmpty() ? kExitOk : kExitFailed;
}

}  // namespace

const VerbRecord& diffVerb()
{
    static const VerbRecord verb{"diff", "A.dat B.dat", 2, 2, "what differs between two .dat files", {},
                               "Exit status 0 when the files agree, 1 when they differ, 2 when one cannot be read.",
                               runDiff};
    return verb;
}
