// The print switches run the program without a person: a failure goes to
// standard error with a non-zero exit status instead of a message box, and
// printing to a PDF file works without a display. The built program is run
// from a folder of its own, with no display in its environment.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "view/PrintSwitches.h"

namespace {

// Sets or removes environment variables for its lifetime.
class EnvironmentChange {
public:
    void set(const char* name, const QByteArray& value)
    {
        remember(name);
        qputenv(name, value);
    }
    void unset(const char* name)
    {
        remember(name);
        qunsetenv(name);
    }
    ~EnvironmentChange()
    {
        for (const auto& [name, value] : m_old) {
            if (value.isNull())
                qunsetenv(name.constData());
            else
                qputenv(name.constData(), value);
        }
    }

private:
    void remember(const char* name)
    {
        for (const auto& entry : m_old)
            if (entry.first == name)
                return;
        m_old.append({QByteArray(name), qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray()});
    }
    QList<std::pair<QByteArray, QByteArray>> m_old;
};

struct Run {
    bool finished = false;
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QString errorOutput;
};

}  // namespace

class TestPrintSwitches : public QObject {
    Q_OBJECT
private slots:
    void init();

    void headlessPlatformChosen_data();
    void headlessPlatformChosen();

    void failuresGoToStandardError_data();
    void failuresGoToStandardError();
    void printsPdfWithoutDisplay();

private:
    // Runs the built program from m_dir with args, without a display.
    Run runProgram(const QStringList& args);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestPrintSwitches::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QFile::copy(QStringLiteral(KQ517_PROGRAM_DIR "/KQ_517"), m_dir->filePath(QStringLiteral("KQ_517"))));
    QVERIFY(QFile::setPermissions(m_dir->filePath(QStringLiteral("KQ_517")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QVERIFY(QFile::copy(QStringLiteral(KQ517_SOURCE_DIR "/resources/KQ-517.ini"),
                        m_dir->filePath(QStringLiteral("KQ-517.ini"))));
    QVERIFY(QFile::copy(QStringLiteral(KQ517_PROGRAM_DIR "/English517.rcc"),
                        m_dir->filePath(QStringLiteral("English517.rcc"))));
    QVERIFY(QFile::copy(QStringLiteral(KQ517_TEST_DATA "/channels.dat"), m_dir->filePath(QStringLiteral("good.dat"))));
}

Run TestPrintSwitches::runProgram(const QStringList& args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), m_dir->path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir->filePath(QStringLiteral("config")));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(m_dir->path());
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(m_dir->filePath(QStringLiteral("KQ_517")), args);
    Run run;
    // A run that waits for a person never ends: it is killed and fails below.
    run.finished = process.waitForStarted(30000) && process.waitForFinished(120000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(10000);
    }
    run.exitCode = process.exitCode();
    run.exitStatus = process.exitStatus();
    run.errorOutput = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

void TestPrintSwitches::headlessPlatformChosen_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("display");   // "-": unset
    QTest::addColumn<QByteArray>("wayland");
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<bool>("offscreen");
    const QStringList print{"/pt", "a.dat", "out.pdf"};
    QTest::newRow("no display, printing") << print << QByteArray("-") << QByteArray("-") << QByteArray("-") << true;
    QTest::newRow("empty DISPLAY, printing") << print << QByteArray("") << QByteArray("-") << QByteArray("-") << true;
    QTest::newRow("/p, no display") << QStringList{"/p", "a.dat"} << QByteArray("-") << QByteArray("-")
                                    << QByteArray("-") << true;
    QTest::newRow("X display") << print << QByteArray(":0") << QByteArray("-") << QByteArray("-") << false;
    QTest::newRow("Wayland display") << print << QByteArray("-") << QByteArray("wayland-0") << QByteArray("-")
                                     << false;
    QTest::newRow("platform chosen") << print << QByteArray("-") << QByteArray("-") << QByteArray("xcb") << false;
    QTest::newRow("no print switch") << QStringList{"a.dat"} << QByteArray("-") << QByteArray("-")
                                     << QByteArray("-") << false;
}

void TestPrintSwitches::headlessPlatformChosen()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, display);
    QFETCH(QByteArray, wayland);
    QFETCH(QByteArray, platform);
    QFETCH(bool, offscreen);
    EnvironmentChange env;
    const std::pair<const char*, QByteArray> values[] = {
        {"DISPLAY", display}, {"WAYLAND_DISPLAY", wayland}, {"QT_QPA_PLATFORM", platform}};
    for (const auto& [name, value] : values) {
        if (value == "-")
            env.unset(name);
        else
            env.set(name, value);
    }
    QCOMPARE(printsWithoutDisplay(args), offscreen);
}

void TestPrintSwitches::failuresGoToStandardError_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("withModule");
    QTest::addColumn<QString>("said");  // standard error holds this
    QTest::newRow("missing file") << QStringList{"/pt", "missing.dat", "out.pdf"} << true << "missing.dat";
    QTest::newRow("no file") << QStringList{"/pt"} << true << "No document to print.";
    QTest::newRow("short file") << QStringList{"/pt", "KQ-517.ini", "out.pdf"} << true << "KQ-517.ini";
    QTest::newRow("unknown printer") << QStringList{"/pt", "good.dat", "No Such Printer 517"} << true
                                     << "No Such Printer 517";
    QTest::newRow("no language module") << QStringList{"/pt", "good.dat", "out.pdf"} << false
                                        << "Load language DLL fail";
    QTest::newRow("PDF in a missing folder") << QStringList{"/pt", "good.dat", "no/such/folder/out.pdf"} << true
                                             << "no/such/folder/out.pdf";
}

void TestPrintSwitches::failuresGoToStandardError()
{
    QFETCH(QStringList, args);
    QFETCH(bool, withModule);
    QFETCH(QString, said);
    if (!withModule)
        QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("English517.rcc"))));
    const Run run = runProgram(args);
    QVERIFY2(run.finished, "the program waited for a person");
    QCOMPARE(run.exitStatus, QProcess::NormalExit);
    QVERIFY(run.exitCode != 0);
    QVERIFY2(run.errorOutput.contains(said), qPrintable(run.errorOutput));
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("out.pdf"))));
}

void TestPrintSwitches::printsPdfWithoutDisplay()
{
    const QString pdf = m_dir->filePath(QStringLiteral("report.pdf"));
    const Run run = runProgram({QStringLiteral("/pt"), QStringLiteral("good.dat"), pdf});
    QVERIFY2(run.finished, "the program waited for a person");
    QCOMPARE(run.exitStatus, QProcess::NormalExit);
    QVERIFY2(run.exitCode == 0, qPrintable(run.errorOutput));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QVERIFY(file.size() > 1000);
}

QTEST_GUILESS_MAIN(TestPrintSwitches)
#include "tst_printswitches.moc"
