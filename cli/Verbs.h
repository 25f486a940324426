#pragma once
// The command line's verbs in one table: each verb's name, synopsis, one-line
// summary and run function. main() only dispatches through it, and the usage
// text (and with it the manual page) is made from it.

#include <QString>
#include <QStringList>

#include <cstdio>

struct Verb {
    const char* name;
    const char* synopsis;  // the options, after "kq517 <name>"
    const char* summary;
    int (*run)(const QStringList& args);
};

// In the order the usage lists them.
const QList<Verb>& verbs();
// nullptr when no verb has that name.
const Verb* findVerb(const QString& name);
void printUsage(FILE* to);
