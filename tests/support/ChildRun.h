#pragma once
// A program run to its end in a test: its exit code and everything it wrote.
// The command-line suites run the built kq517 (and helper scripts) this way.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

struct Run {
    int exitCode = -1;  // -1: did not finish; -2: crashed
    QByteArray out;
    QByteArray err;
};

// input: what the program reads on its standard input (then closed).
inline Run runProgram(const QString& program, const QStringList& args, const QByteArray& input = QByteArray())
{
    QProcess process;
    process.start(program, args);
    Run run;
    if (!process.waitForStarted(30000))
        return run;
    process.write(input);
    process.closeWriteChannel();
    // Generous guard against a hung child; not a speed check.
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

#ifdef KQ517_PROGRAM_DIR
inline Run runKq517(const QStringList& args, const QByteArray& input = QByteArray())
{
    return runProgram(QStringLiteral(KQ517_PROGRAM_DIR "/kq517"), args, input);
}
#endif
