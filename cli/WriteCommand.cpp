// kq517 write: a .dat file to the radio, with backup, verify and one radio
// after another.

#include <QFile>

#include "cli/LinkSupport.h"

namespace {
const char kWriteUsage[] =
    "kq517 write --port PORT FILE.dat [--retry N] [--trace FILE] [--backup DIR] [--verify] [--repeat] [--force]";
}  // namespace

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
