#include "cli/LinkSupport.h"

#include <csignal>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#else
#include <io.h>
#endif

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

namespace {

QByteArray stepLabel(FieldStep step)
{
    return texts::stepProgress(step, cliTexts()).toLocal8Bit();
}

}  // namespace

StepProgress::Mode StepProgress::modeFor(bool quiet)
{
    if (quiet)
        return Mode::Quiet;
#if defined(Q_OS_UNIX)
    return isatty(fileno(stderr)) ? Mode::Bar : Mode::Lines;
#else
    return _isatty(_fileno(stderr)) ? Mode::Bar : Mode::Lines;
#endif
}

void StepProgress::show(FieldStep step, int row)
{
    if (m_mode == Mode::Quiet)
        return;
    if (m_active && step != m_step)
        finish();
    if (!m_active) {
        m_active = true;
        m_step = step;
        if (m_mode == Mode::Lines)
            std::fprintf(stderr, "%s\n", qPrintable(cliTexts().text(texts::fieldid::kRowsStarted)
                                                      .arg(texts::stepProgress(step, cliTexts()))
                                                      .arg(layout::kRadioRowCount - 1)));
    }
    m_rowsDone = row + 1;
    if (m_mode == Mode::Bar) {
        constexpr int kBarWidth = 40;
        const int filled = m_rowsDone * kBarWidth / layout::kRadioRowCount;
        std::fprintf(stderr, "\r%s [%s%s] %d/%d", stepLabel(step).constData(), QByteArray(filled, '#').constData(),
                     QByteArray(kBarWidth - filled, '.').constData(), m_rowsDone, layout::kRadioRowCount);
    }
    std::fflush(stderr);
}

void StepProgress::finish()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_mode == Mode::Bar)
        std::fputc('\n', stderr);
    else if (m_rowsDone == layout::kRadioRowCount)
        std::fprintf(stderr, "%s\n", qPrintable(cliTexts().text(texts::fieldid::kRowsDone)
                                                  .arg(texts::stepProgress(m_step, cliTexts()))
                                                  .arg(m_rowsDone)));
    else
        std::fprintf(stderr, "%s\n", qPrintable(cliTexts().text(texts::fieldid::kRowsStopped)
                                                  .arg(texts::stepProgress(m_step, cliTexts()))
                                                  .arg(m_rowsDone)
                                                  .arg(layout::kRadioRowCount)));
    std::fflush(stderr);
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
        printError(cliTexts()
                       .text(texts::fieldid::kTryingAgain)
                       .arg(texts::transferMessage(TransferResult::CommunicationError, cliTexts()))
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
        printError(cliTexts().text(texts::fieldid::kNotAccepted).arg(texts::imageProblem(problem, cliTexts())));
    if (problems.isEmpty() || force)
        return true;
    printError(cliTexts()
                   .text(problems.size() == 1 ? texts::fieldid::kNothingWrittenOne : texts::fieldid::kNothingWrittenMany)
                   .arg(problems.size()));
    return false;
}

bool nextRadioWanted()
{
    std::fputs(qPrintable(cliTexts().text(texts::fieldid::kNextRadioPrompt)), stdout);
    std::fflush(stdout);
    char line[256];
    if (g_stopRequested || !std::fgets(line, sizeof line, stdin) || g_stopRequested)
        return false;
    return QString::fromLocal8Bit(line).trimmed().compare(QLatin1String("q"), Qt::CaseInsensitive) != 0;
}
