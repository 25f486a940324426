#include "cli/Help.h"

#include <QStringList>


#include "cli/Commands.h"
#include "cli/Verbs.h"

namespace {

constexpr int kWidth = 79;  // terminal texts wrap before this column
constexpr int kTermWidth = 22;  // option names and values, before their help

// One piece of a synopsis: an option with its value, or the operands.
struct SynopsisPart {
    QString option;  // empty for operands
    QString value;   // the value's name or the operands
    bool optional = false;
};

QList<SynopsisPart> synopsisParts(const VerbRecord& verb)
{
    QList<SynopsisPart> parts;
    auto addOptions = [&](bool required) {
        for (const OptionRecord& option : verb.options)
            if (option.required == required)
                parts.append({QLatin1String(option.name),
                              option.valueName ? QLatin1String(option.valueName) : QString(), !required});
    };
    addOptions(true);
    if (verb.operands[0] != '\0')
        parts.append({QString(), QLatin1String(verb.operands), false});
    addOptions(false);
    return parts;
}

QString partText(const SynopsisPart& part)
{
    QString text = part.option;
    if (!part.option.isEmpty() && !part.value.isEmpty())
        text += QLatin1Char(' ');
    text += part.value;
    return part.optional ? QLatin1Char('[') + text + QLatin1Char(']') : text;
}

// Words joined by blanks into lines of at most kWidth columns; the first line
// starts with first, the others with indent blanks. A word is never split.
QString wrap(const QStringList& words, const QString& first, int indent)
{
    QString text = first;
    int column = int(first.size());
    bool lineEmpty = true;
    for (const QString& word : words) {
        if (!lineEmpty && column + 1 + word.size() > kWidth) {
            text += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            text += QLatin1Char(' ');
            ++column;
        }
        text += word;
        column += int(word.size());
        lineEmpty = false;
    }
    return text + QLatin1Char('\n');
}

QStringList synopsisWords(const VerbRecord& verb)
{
    QStringList words{QLatin1String(verb.name)};
    for (const SynopsisPart& part : synopsisParts(verb))
        words.append(partText(part));
    return words;
}

QString sentence(const char* text)
{
    QString s = QLatin1String(text);
    if (!s.isEmpty())
        s[0] = s.at(0).toUpper();
    return s + QLatin1Char('.');
}

// "  term   help" with the help wrapped under its column, or on the next line
// when the term is too wide.
QString termLine(const QString& term, const QString& help)
{
    const QString head = QStringLiteral("  ") + term;
    const QStringList words = help.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (head.size() + 2 <= kTermWidth)
        return wrap(words, head.leftJustified(kTermWidth), kTermWidth);
    return head + QLatin1Char('\n') + wrap(words, QString(kTermWidth, QLatin1Char(' ')), kTermWidth);
}

QString optionTerm(const OptionRecord& option)
{
    QString term = QLatin1String(option.name);
    if (option.valueName)
        term += QLatin1Char(' ') + QLatin1String(option.valueName);
    return term;
}

// --- groff ---------------------------------------------------------------

QString escaped(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\e"));
    out.replace(QLatin1Char('-'), QLatin1String("\\-"));
    return out;
}

QString bold(const QString& text)
{
    return QStringLiteral("\\fB") + escaped(text) + QStringLiteral("\\fR");
}

QString italic(const QString& text)
{
    return QStringLiteral("\\fI") + escaped(text) + QStringLiteral("\\fR");
}

// Running text as groff input lines: no line may start with a control character.
QString groffText(const QString& text)
{
    QString out;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            out += QStringLiteral(".IP\n");
            continue;
        }
        const bool control = trimmed.startsWith(QLatin1Char('.')) || trimmed.startsWith(QLatin1Char('\''));
        out += (control ? QStringLiteral("\\&") : QString()) + escaped(trimmed) + QLatin1Char('\n');
    }
    return out;
}

QString groffPart(const SynopsisPart& part)
{
    QString text;
    if (!part.option.isEmpty())
        text = bold(part.option);
    if (!part.value.isEmpty()) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        // Operands and value names in italics; "csv|chirp" keeps its bar upright.
        QStringList pieces;
        for (const QString& piece : part.value.split(QLatin1Char(' ')))
            pieces.append(italic(piece));
        text += pieces.join(QLatin1Char(' '));
    }
    return part.optional ? QLatin1Char('[') + text + QLatin1Char(']') : text;
}

}  // namespace

QString verbSynopsis(const VerbRecord& verb)
{
    return synopsisWords(verb).join(QLatin1Char(' '));
}

QString verbHelp(const VerbRecord& verb)
{
    QString text = wrap(synopsisWords(verb), QStringLiteral("usage: kq517 "), 13);
    text += sentence(verb.summary) + QLatin1Char('\n');
    if (verb.details)
        text += QLatin1Char('\n') + wrap(QString::fromUtf8(verb.details).split(QLatin1Char(' ')), QString(), 0);
    text += QStringLiteral("\nOptions:\n");
    for (const OptionRecord& option : verb.options)
        text += termLine(optionTerm(option), QLatin1String(option.help));
    text += termLine(QStringLiteral("--help"), QStringLiteral("this help (also -h)"));
    return text;
}

QString programUsage()
{
    QString text = QStringLiteral("usage: kq517 COMMAND [options]\n"
                                  "       kq517 --help | --version\n"
                                  "\nCommands:\n");
    for (const VerbRecord* verb : verbs()) {
        // Wrapped synopsis lines stand deeper than the summary under them.
        text += wrap(synopsisWords(*verb), QStringLiteral("  "), 8);
        text += QStringLiteral("      ") + QLatin1String(verb->summary) + QLatin1Char('\n');
    }
    text += QStringLiteral("\nOptions:\n");
    text += termLine(QStringLiteral("--help"), QStringLiteral("this help (also -h)"));
    text += termLine(QStringLiteral("--version"), QStringLiteral("the program's version (also: kq517 version)"));
    text += QStringLiteral("\nRun 'kq517 COMMAND --help' for what a command does and its options.\n");
    return text;
}

QString programVersion()
{
    return QStringLiteral(KQ517_VERSION);
}

QString manCommands()
{
    // No hyphenation: a synopsis reads as the words one types.
    QString text = QStringLiteral(".nh\n");
    for (const VerbRecord* verb : verbs()) {
        QStringList parts{bold(QLatin1String(verb->name))};
        for (const SynopsisPart& part : synopsisParts(*verb))
            parts.append(groffPart(part));
        text += QStringLiteral(".TP\n") + parts.join(QLatin1Char(' ')) + QLatin1Char('\n');
        text += groffText(sentence(verb->summary));
        if (verb->details)
            text += QStringLiteral(".IP\n") + groffText(QLatin1String(verb->details));
        if (!verb->options.isEmpty()) {
            text += QStringLiteral(".RS\n");
            for (const OptionRecord& option : verb->options) {
                QString term = bold(QLatin1String(option.name));
                if (option.valueName)
                    term += QLatin1Char(' ') + italic(QLatin1String(option.valueName));
                text += QStringLiteral(".TP\n") + term + QLatin1Char('\n') + groffText(sentence(option.help));
            }
            text += QStringLiteral(".RE\n");
        }
    }
    return text;
}

QString manOptions()
{
    return QStringLiteral(".TP\n") + bold(QStringLiteral("--help")) + QStringLiteral(", ") + bold(QStringLiteral("-h")) +
           QStringLiteral("\nThe commands and their synopses; after a command, that command's help.\n.TP\n") +
           bold(QStringLiteral("--version")) +
           QStringLiteral("\nThe program's version (also \\fBkq517 version\\fR).\n");
}

int verbUsageError(const VerbRecord& verb, const QString& message)
{
    // One line, as every error; the help is one command away.
    printError(QStringLiteral("%1: %2 (see 'kq517 %1 --help')").arg(QLatin1String(verb.name), message));
    return kExitUsage;
}
