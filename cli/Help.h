#pragma once
// The texts made from the verb records: each verb's synopsis and --help, the
// top-level usage, and the manual page's commands as groff.

#include <QString>

#include "cli/VerbRecord.h"

// "read --port PORT -o OUT.dat [--base FILE.dat] ...": required options,
// operands, then the optional ones in brackets.
QString verbSynopsis(const VerbRecord& verb);

// `kq517 VERB --help`: usage line, summary, details, one line per option.
QString verbHelp(const VerbRecord& verb);

// `kq517 --help`: every verb on its own line with its full synopsis.
QString programUsage();

// The program's version, the one the package carries.
QString programVersion();

// The manual page's COMMANDS and OPTIONS sections, without their headings.
QString manCommands();
QString manOptions();

// "kq517 VERB: message" and the verb's usage line on stderr; the usage status.
int verbUsageError(const VerbRecord& verb, const QString& message);
