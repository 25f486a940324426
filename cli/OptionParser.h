#pragma once
// The one option parser of every verb, driven by the verb's record:
// "--name VALUE", "--name=VALUE", switches, "--" before operands that start
// with a dash, and --help / -h anywhere.

#include "cli/VerbRecord.h"

struct ParseOutcome {
    enum class Kind { Run, Help, UsageError };
    Kind kind = Kind::Run;
    ParsedArgs args;
    QString error;  // for UsageError: one line naming the option or word
};

ParseOutcome parseVerbArguments(const VerbRecord& verb, const QStringList& words);

// Parses words for verb and runs it: help to stdout with exit 0, a usage
// error (message and the verb's usage line) to stderr with exit 2.
int dispatchVerb(const VerbRecord& verb, const QStringList& words);
