// kq517 write: a .dat file to the radio, with backup, verify and one radio
// after another.

#include "cli/Help.h"
#include "cli/LinkSupport.h"
#include "link/SeriesTally.h"

namespace {

// What a plain write says on success is nothing; the rest says what it did.
void reportRadio(const FieldResult& result, const FieldOptions& options, bool repeat, int number)
{
    const texts::TextTable& english = cliTexts();
    // "Radio 2: ..." in a series; the line alone otherwise.
    const auto line = [&](const QString& text) {
        return QString(repeat ? english.text(texts::fieldid::kRadioLine).arg(QString::number(number), text) : text);
    };
    if (!result.backupPath.isEmpty())
        std::fprintf(stdout, "%s\n",
                     qPrintable(line(english.text(texts::fieldid::kBackupSaved).arg(result.backupPath))));
    if (result.succeeded()) {
        if (options.verify)
            std::fprintf(stdout, "%s\n", qPrintable(line(english.text(texts::fieldid::kWrittenAndVerified))));
        else if (repeat)
            std::fprintf(stdout, "%s\n", qPrintable(line(english.text(texts::fieldid::kWritten))));
    } else {
        std::fflush(stdout);  // the backup line first
        const QString reason = texts::fieldResult(result, english);
        printError(repeat ? english.text(texts::fieldid::kRadioFailed).arg(QString::number(number), reason) : reason);
    }
    std::fflush(stdout);
}

int runWrite(const ParsedArgs& args)
{
    int retries = 0;
    QString error;
    if (!args.number("--retry", 0, 1000, &retries, &error))
        return verbUsageError(writeVerb(), error);

    MemoryImage image;
    if (!loadImage(args.operands().first(), &image))
        return kExitFailed;
    if (!imageAccepted(image, args.has("--force")))
        return kExitFailed;
    TraceOption trace;
    if (!trace.open(args.value("--trace"), QStringLiteral("write")))
        return kExitFailed;

    FieldOptions fieldOptions;
    fieldOptions.backupDir = args.value("--backup");
    fieldOptions.verify = args.has("--verify");
    const bool repeat = args.has("--repeat");
    StepProgress progress(StepProgress::modeFor(args.has("--quiet")));
    const FieldCallbacks callbacks = cliCallbacks(progress, retries);
    FieldSession session(trace.factory(), args.value("--port"));

    SeriesTally tally;
    QStringList failures;
    for (;;) {
        const FieldResult result = session.write(image, fieldOptions, callbacks);
        progress.finish();
        tally.add(result);
        reportRadio(result, fieldOptions, repeat, tally.radios());
        if (!result.succeeded())
            failures.append(cliTexts()
                                .text(texts::fieldid::kRadioFailed)
                                .arg(QString::number(tally.radios()), texts::fieldResult(result, cliTexts())));
        if (!repeat || result.outcome == FieldResult::Outcome::Cancelled || !nextRadioWanted())
            break;
    }
    if (repeat) {
        std::fprintf(stdout, "\n%s%s\n", qPrintable(texts::seriesSummary(tally, cliTexts())),
                     failures.isEmpty() ? "" : qPrintable(QStringLiteral(": ") + failures.join(QStringLiteral("; "))));
        std::fflush(stdout);
    }
    const bool traced = trace.close();
    return tally.allWritten() && traced ? kExitOk : kExitFailed;
}

}  // namespace

const VerbRecord& writeVerb()
{
    static const VerbRecord verb{
        "write",
        "FILE.dat",
        1,
        1,
        "write a .dat file to the radio",
        {{"--port", "PORT", kPortHelp, true},
         {"--retry", "N", kRetryHelp},
         {"--trace", "FILE", kTraceHelp},
         {"--backup", "DIR", "first read the radio and save it in DIR as <model>-<date>-<time>.dat"},
         {"--verify", nullptr, "read rows 0 to 60 back after the write and name every block that differs"},
         {"--repeat", nullptr,
          "after each radio ask for the next one (Enter), until q or the end of input; "
          "the summary counts the radios written, failed verify and not written"},
         {"--force", nullptr, "write even when the radio would not accept something in the file"},
         {"--quiet", nullptr, kQuietHelp}},
        "Rows 0 to 60 are written. Before writing, the file is checked for what the radio would not accept.",
        runWrite};
    return verb;
}
