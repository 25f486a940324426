// kq517 read: the radio's memory into a .dat file, written only when the
// whole read completed.

#include <QFile>

#include "cli/LinkSupport.h"
#include "codeplug/AtomicFile.h"

namespace {
const char kReadUsage[] = "kq517 read --port PORT -o OUT.dat [--base FILE.dat] [--retry N] [--trace FILE]";
}  // namespace

int runRead(const QStringList& args)
{
    Arguments options(args, {QStringLiteral("--port"), QStringLiteral("-o"), QStringLiteral("--base"),
                             QStringLiteral("--retry"), QStringLiteral("--trace")},
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
    TraceOption trace;
    if (!trace.open(options.value(QStringLiteral("--trace"))))
        return kExitFailed;
    StepProgress progress;
    FieldSession session(trace.factory(), port);
    const FieldResult result = session.read(image, cliCallbacks(progress, retries));
    progress.finish();
    const bool traced = trace.close();
    // The image is saved only after a complete read; a failed one leaves OUT as it was.
    if (!result.succeeded()) {
        printError(result.reason);
        return kExitFailed;
    }
    if (!image.saveFile(out, &error)) {
        printError(error);
        return kExitFailed;
    }
    return traced ? kExitOk : kExitFailed;
}
