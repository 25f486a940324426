#pragma once
// The command line's verbs, one file each: every file defines its verb's
// record (options, help, run function). Each run returns the exit status:
// 0 success, 1 the operation failed (file, port, radio), 2 usage error
// (diff: 1 the files differ, 2 a file could not be read). Each error goes to
// stderr as one line.

#include <QString>

#include "cli/VerbRecord.h"

enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

const VerbRecord& showVerb();
const VerbRecord& exportVerb();
const VerbRecord& importVerb();
const VerbRecord& diffVerb();
const VerbRecord& readVerb();
const VerbRecord& writeVerb();
const VerbRecord& portsVerb();
const VerbRecord& simVerb();

// One line on stderr: "kq517: <message>".
void printError(const QString& message);
