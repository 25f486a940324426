#pragma once
// One verb of the command line as a record: its name, operands, options with
// their help, summary and run function. The option parser, `kq517 VERB
// --help`, the top-level usage and the manual page are all made from it.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

struct OptionRecord {
    const char* name;      // "--port" or "-o"
    const char* valueName; // "PORT"; nullptr for a switch without a value
    const char* help;      // one sentence, no final full stop
    bool required = false; // shown without brackets in the synopsis
};

class ParsedArgs;

struct VerbRecord {
    const char* name;
    const char* operands;  // the words that are not options, as the synopsis shows them ("A.dat B.dat")
    int minOperands;
    int maxOperands;
    const char* summary;   // one line, lower case, no full stop
    QList<OptionRecord> options;
    const char* details;   // further paragraphs for --help and the manual page; may be nullptr
    int (*run)(const ParsedArgs& args);
};

// What the parser found for one verb: the options given (each at most once)
// and the operands in order.
class ParsedArgs {
public:
    bool has(const char* option) const { return m_values.contains(QLatin1String(option)); }
    QString value(const char* option) const { return m_values.value(QLatin1String(option)); }
    const QStringList& operands() const { return m_operands; }

    // The option's value as a whole number from min to max into *out (left
    // alone when the option is absent); false with *error when it is not one.
    bool number(const char* option, int min, int max, int* out, QString* error) const;

    // For the parser.
    void set(const QString& option, const QString& value) { m_values.insert(option, value); }
    void addOperand(const QString& word) { m_operands.append(word); }

private:
    QHash<QString, QString> m_values;
    QStringList m_operands;
};
