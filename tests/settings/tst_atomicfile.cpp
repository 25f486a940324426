// A save that fails says why: the reason given is the first error met (file
// too large, disk full, no permission), not the text of the clean-up that
// follows, and the old file stays whole.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <functional>

#include "codeplug/MemoryImage.h"
#include "codeplug/AtomicFile.h"
#include "tests/support/TestSupport.h"

#if defined(Q_OS_LINUX)
#  include <cerrno>
#  include <csignal>
#  include <sys/resource.h>
#  include <sys/wait.h>
#  include <unistd.h>
#endif

namespace {

#if defined(Q_OS_LINUX)
// Runs child() in a forked process with a file size limit of 64 bytes (and
// SIGXFSZ ignored, so a write past it fails with EFBIG the way a full disk
// fails with ENOSPC); the limit never touches the test runner. Checks that the
// child ended with exit code 0.
void runWithSmallFileLimit(const std::function<int()>& child)
{
    const pid_t pid = fork();
    QVERIFY(pid >= 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim {};
        lim.rlim_cur = lim.rlim_max = 64;
        setrlimit(RLIMIT_FSIZE, &lim);
        _exit(child());
    }
    int status = 0;
    QCOMPARE(waitpid(pid, &status, 0), pid);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
}

// 0 when text names the cause of EFBIG and not the cancelled write; else a
// code saying what was wrong.
int namesFileTooLarge(const QString& text)
{
    if (text.contains(QStringLiteral("canceled"), Qt::CaseInsensitive))
        return 11;
    if (!text.contains(QString::fromLocal8Bit(std::strerror(EFBIG))))
        return 12;
    return 0;
}
#endif

}  // namespace

class TestAtomicFile : public QObject {
    Q_OBJECT
private slots:
    void writeFailureNamesItsCause();
    void imageSaveMessageNamesItsCause();
    void openFailureNamesItsCause();
};

void TestAtomicFile::writeFailureNamesItsCause()
{
#if defined(Q_OS_LINUX)
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    const QByteArray old("[Setup]\r\nLanguage=English\r\n");
    QVERIFY(writeFile(path, old));
    runWithSmallFileLimit([&] {
        QString error;
        bool notPutInPlace = true;
        if (writeFileAtomically(path, QByteArray(4000, 'x'), &error, &notPutInPlace))
            return 1;
        if (notPutInPlace)
            return 2;  // the text itself could not be written: no in-place retry helps
        return namesFileTooLarge(error);
    });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(readFile(path, "<missing>"), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"settings.ini"});
#else
    QSKIP("needs Linux (file size limit in a child process)");
#endif
}

void TestAtomicFile::imageSaveMessageNamesItsCause()
{
#if defined(Q_OS_LINUX)
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("radio.dat"));
    QVERIFY(writeFile(path, QByteArray("short old file")));
    runWithSmallFileLimit([&] {
        ImageFileProblem error;
        if (MemoryImage::newImage().saveFile(path, &error))
            return 1;
        if (error.kind != ImageFileProblem::Kind::CannotSave || error.path != path)
            return 2;
        return namesFileTooLarge(error.reason);
    });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(readFile(path, "<missing>"), QByteArray("short old file"));
#else
    QSKIP("needs Linux (file size limit in a child process)");
#endif
}

void TestAtomicFile::openFailureNamesItsCause()
{
    // No temporary file can be made beside the target: the folder is a file.
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QVERIFY(writeFile(blocker, QByteArray("not a folder")));
    QString error;
    bool notPutInPlace = false;
    QVERIFY(!writeFileAtomically(blocker + QStringLiteral("/x.ini"), "x", &error, &notPutInPlace));
    QVERIFY(notPutInPlace);
    QVERIFY(!error.isEmpty());
    QVERIFY2(!error.contains(QStringLiteral("canceled"), Qt::CaseInsensitive), qPrintable(error));
    QCOMPARE(readFile(blocker, "<missing>"), QByteArray("not a folder"));
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
