#pragma once
// The command line's verbs, one file each: every file defines its verb's
// record (options, help, run function). Each run returns the exit status:
// 0 success, 1 the operation failed (file, port, radio), 2 usage error
// (diff: 1 the files differ, 2 a file could not be read). Each error goes to
// stderr as one line.

#include <QString>

#include "cli/VerbSpec.h"

enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

const VerbSpec& showVerb();
const VerbSpec& exportVerb();
const VerbSpec& importVerb();
const VerbSpec& diffVerb();
const VerbSpec& readVerb();
const VerbSpec& writeVerb();
const VerbSpec& portsVerb();
const VerbSpec& simVerb();

// One line on stderr: "kq517: <message>".
void printError(const QString& message);
