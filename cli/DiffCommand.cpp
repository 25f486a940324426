// kq517 diff: what differs between two .dat files, one line per channel
// field, option or other byte. Exit 0 when they agree, 1 when they differ.

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "codeplug/ImageDiff.h"

int runDiff(const QStringList& args)
{
    static const char kUsage[] = "usage: kq517 diff A.dat B.dat";
    QStringList paths;
    for (const QString& arg : args) {
        if (isHelp(arg)) {
            writeStdout(QByteArray(kUsage) + '\n');
            return kExitOk;
        }
        if (isOption(arg)) {
            printError(QStringLiteral("diff: unknown option '%1'").arg(arg));
            return kExitUsage;
        }
        paths << arg;
    }
    if (paths.size() != 2) {
        printError(QStringLiteral("diff: two .dat files are needed (%1)").arg(QLatin1String(kUsage)));
        return kExitUsage;
    }

    // A file that cannot be compared is an error like a usage error: neither
    // "agree" nor "differ" can be answered.
    MemoryImage a;
    MemoryImage b;
    if (!loadImage(paths.at(0), &a) || !loadImage(paths.at(1), &b))
        return kExitUsage;

    const QList<imagediff::DiffLine> lines = imagediff::diff(a, b);
    QString text;
    for (const imagediff::DiffLine& line : lines)
        text += line.text() + QLatin1Char('\n');
    if (!writeStdout(text.toUtf8())) {
        printError(QStringLiteral("diff: cannot write to standard output"));
        return kExitUsage;
    }
    return lines.isEmpty() ? kExitOk : kExitFailed;
}
