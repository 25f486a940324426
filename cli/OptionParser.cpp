#include "cli/OptionParser.h"

#include <cstdio>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "texts/TextTable.h"

bool ParsedArgs::number(const char* option, int min, int max, int* out, QString* error) const
{
    if (!has(option))
        return true;
    bool ok = false;
    const int n = value(option).toInt(&ok);
    if (!ok || n < min || n > max) {
        *error = texts::text(IDS_CLI_BAD_NUMBER, QLatin1String(option), QString::number(min), QString::number(max),
                             value(option));
        return false;
    }
    *out = n;
    return true;
}

namespace {

const OptionRecord* findOption(const VerbRecord& verb, const QString& name)
{
    for (const OptionRecord& option : verb.options)
        if (name == QLatin1String(option.name))
            return &option;
    return nullptr;
}

ParseOutcome usageError(const QString& message)
{
    ParseOutcome outcome;
    outcome.kind = ParseOutcome::Kind::UsageError;
    outcome.error = message;
    return outcome;
}

bool isHelpWord(const QString& word)
{
    return word == QLatin1String("--help") || word == QLatin1String("-h");
}

}  // namespace

ParseOutcome parseVerbArguments(const VerbRecord& verb, const QStringList& words)
{
    // Help wins over every other word, so "kq517 read --port --help" still helps.
    for (const QString& word : words) {
        if (word == QLatin1String("--"))
            break;
        if (isHelpWord(word)) {
            ParseOutcome outcome;
            outcome.kind = ParseOutcome::Kind::Help;
            return outcome;
        }
    }

    ParseOutcome outcome;
    bool operandsOnly = false;
    for (int i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (operandsOnly || word == QLatin1String("-") || !word.startsWith(QLatin1Char('-'))) {
            outcome.args.addOperand(word);
            continue;
        }
        if (word == QLatin1String("--")) {
            operandsOnly = true;
            continue;
        }
        // "--name=value" carries its value in the same word.
        const qsizetype equals = word.startsWith(QLatin1String("--")) ? word.indexOf(QLatin1Char('=')) : -1;
        const QString name = equals < 0 ? word : word.left(equals);
        const OptionRecord* option = findOption(verb, name);
        if (!option)
            return usageError(texts::text(IDS_CLI_UNKNOWN_OPTION, name));
        if (outcome.args.has(option->name))
            return usageError(texts::text(IDS_CLI_OPTION_TWICE, name));
        if (!option->valueName) {
            if (equals >= 0)
                return usageError(texts::text(IDS_CLI_OPTION_NO_VALUE, name));
            outcome.args.set(name, QString());
            continue;
        }
        QString value;
        if (equals >= 0)
            value = word.mid(equals + 1);
        else if (i + 1 < words.size())
            value = words.at(++i);
        if (value.isEmpty())
            return usageError(texts::text(IDS_CLI_OPTION_NEEDS_VALUE, name, QLatin1String(option->valueName)));
        outcome.args.set(name, value);
    }

    for (const OptionRecord& option : verb.options)
        if (option.required && !outcome.args.has(option.name))
            return usageError(texts::text(IDS_CLI_OPTION_REQUIRED, QLatin1String(option.name)));
    const int count = int(outcome.args.operands().size());
    if (count > verb.maxOperands) {
        const QString extra = outcome.args.operands().at(verb.maxOperands);
        return usageError(verb.maxOperands == 0
                              ? texts::text(IDS_CLI_UNEXPECTED, extra)
                              : texts::text(IDS_CLI_UNEXPECTED_ONLY, extra, QLatin1String(verb.operands)));
    }
    if (count < verb.minOperands)
        return usageError(texts::text(IDS_CLI_NEEDS, QLatin1String(verb.operands)));
    return outcome;
}

int dispatchVerb(const VerbRecord& verb, const QStringList& words)
{
    const ParseOutcome outcome = parseVerbArguments(verb, words);
    switch (outcome.kind) {
    case ParseOutcome::Kind::Help:
        std::fputs(verbHelp(verb).toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFailed;
    case ParseOutcome::Kind::UsageError:
        return verbUsageError(verb, outcome.error);
    case ParseOutcome::Kind::Run:
        break;
    }
    return verb.run(outcome.args);
}
