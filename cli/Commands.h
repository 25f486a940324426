#pragma once
// The command line's sub-commands. Each returns the exit status: 0 success,
// 1 the operation failed (file, port, radio), 2 usage error (diff: 1 the
// files differ, 2 a file could not be read). Each error goes to stderr as
// one line.

#include <QStringList>

enum ExitStatus { kExitOk = 0, kExitFailed = 1, kExitUsage = 2 };

// args: the words after the sub-command name.
int runShow(const QStringList& args);
int runExport(const QStringList& args);
int runImport(const QStringList& args);
int runDiff(const QStringList& args);
int runRead(const QStringList& args);
int runWrite(const QStringList& args);
int runSim(const QStringList& args);
int runPorts(const QStringList& args);

// One line on stderr: "kq517: <message>".
void printError(const QString& message);
