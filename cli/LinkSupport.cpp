#include "cli/LinkSupport.h"

#include <csignal>

#include "codeplug/ImageCheck.h"
#include "link/ProtocolEngine.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/ModelBandSettings.h"

std::atomic<bool> g_stopRequested{false};

namespace {

void onStopSignal(int)
{
    g_stopRequested = true;
}

}  // namespace

void installStopHandlers()
{
#if defined(Q_OS_UNIX)
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART: a blocking poll returns at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#else
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
#endif
}

int usageError(const QString& message, const char* usage)
{
    printError(message);
    std::fprintf(stderr, "usage: %s\n", usage);
    return kExitUsage;
}

FieldCallbacks cliCallbacks(StepProgress& progress, int retries)
{
    installStopHandlers();
    FieldCallbacks callbacks;
    callbacks.pump = [] { return g_stopRequested.load(); };
    callbacks.progress = [&progress](FieldStep step, int row) { progress.show(step, row); };
    callbacks.retry = [&progress, retries](FieldStep step, int failures) {
        progress.finish();
        if (failures > retries)
            return false;
        printError(QStringLiteral("%1 (trying again, %2 of %3)")
                       .arg(ProtocolEngine::englishMessage(TransferResult::CommunicationError))
                       .arg(failures)
                       .arg(retries));
        Q_UNUSED(step);
        return true;
    };
    return callbacks;
}

bool imageAccepted(const MemoryImage& image, bool force)
{
    const QList<ImageProblem> problems = checkImage(image, modelband::imageCheckLimits(image, g_settings));
    for (const ImageProblem& problem : problems)
        printError(QStringLiteral("the radio would not accept this: %1").arg(problem.text));
    if (problems.isEmpty() || force)
        return true;
    printError(QStringLiteral("nothing was written: the file has %1 problem%2 (give --force to write it anyway)")
                   .arg(problems.size())
                   .arg(problems.size() == 1 ? QString() : QStringLiteral("s")));
    return false;
}

bool nextRadioWanted()
{
    std::fputs("Connect the next radio and press Enter (q and Enter, or end of input, to finish): ", stdout);
    std::fflush(stdout);
    char line[256];
    if (g_stopRequested || !std::fgets(line, sizeof line, stdin) || g_stopRequested)
        return false;
    return QString::fromLocal8Bit(line).trimmed().compare(QLatin1String("q"), Qt::CaseInsensitive) != 0;
}
