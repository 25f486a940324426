// kq517 read: the radio's memory into a .dat file, written only when the
// whole read completed.

#include "cli/Help.h"
#include "cli/LinkSupport.h"

namespace {

int runRead(const ParsedArgs& args)
{
    int retries = 0;
    QString error;
    if (!args.number("--retry", 0, 1000, &retries, &error))
        return verbUsageError(readVerb(), error);

    MemoryImage image = MemoryImage::newImage();
    if (args.has("--base") && !loadImage(args.value("--base"), &image))
        return kExitFailed;
    const QString port = args.value("--port");
    TraceOption trace;
    if (!trace.open(args.value("--trace"), QStringLiteral("read")))
        return kExitFailed;
    StepProgress progress(StepProgress::modeFor(args.has("--quiet")));
    FieldSession session(trace.factory(), port);
    const FieldResult result = session.read(image, cliCallbacks(progress, retries));
    progress.finish();
    const bool traced = trace.close();
    // The image is saved only after a complete read; a failed one leaves OUT as it was.
    if (!result.succeeded()) {
        printError(texts::fieldResult(result, cliTexts()));
        return kExitFailed;
    }
    if (!saveImage(image, args.value("-o")))
        return kExitFailed;
    return traced ? kExitOk : kExitFailed;
}

}  // namespace

const VerbRecord& readVerb()
{
    static const VerbRecord verb{"read",
                               "",
                               0,
                               0,
                               "read the radio into a .dat file",
                               {{"--port", "PORT", kPortHelp, true},
                                {"-o", "OUT.dat", "the .dat file to write, only after a complete read", true},
                                {"--base", "FILE.dat", "read into this image instead of a new one"},
                                {"--retry", "N", kRetryHelp},
                                {"--trace", "FILE", kTraceHelp},
                                {"--quiet", nullptr, kQuietHelp}},
                               nullptr,
                               runRead};
    return verb;
}
