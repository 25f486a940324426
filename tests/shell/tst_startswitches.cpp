// KQ_517's own switches, answered before any window exists: --help and
// --version on standard output with exit 0 also without a display, an unknown
// long option on standard error with exit 2.

#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

class StartSwitchesTest : public QObject {
    Q_OBJECT

private slots:
    void switches_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("display");  // empty: no display variables at all
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("outStart");
        QTest::addColumn<QByteArray>("errPart");
        QTest::newRow("--help, no display") << QStringList{"--help"} << "" << 0 << QByteArray("usage: KQ_517") << QByteArray();
        QTest::newRow("-h, no display") << QStringList{"-h"} << "" << 0 << QByteArray("usage: KQ_517") << QByteArray();
        // A display that cannot be reached is never touched either.
        QTest::newRow("--help, unreachable display") << QStringList{"--help"} << ":97" << 0 << QByteArray("usage: KQ_517")
                                                     << QByteArray();
        QTest::newRow("--help after a file") << QStringList{"some.dat", "--help"} << "" << 0
                                             << QByteArray("usage: KQ_517") << QByteArray();
        QTest::newRow("--version") << QStringList{"--version"} << "" << 0
                                   << QByteArray("KQ_517 " KQ517_PACKAGE_VERSION "\n") << QByteArray();
        QTest::newRow("unknown long option") << QStringList{"--bogus"} << "" << 2 << QByteArray()
                                             << QByteArray("'--bogus'");
        QTest::newRow("unknown option with a file") << QStringList{"a.dat", "--frobnicate"} << "" << 2 << QByteArray()
                                                    << QByteArray("'--frobnicate'");
    }

    void switches()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, display);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, outStart);
        QFETCH(QByteArray, errPart);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        if (!display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), display);
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(KQ517_PROGRAM_DIR "/KQ_517"), args);
        // Generous guard against a window that opened after all; not a speed check.
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            QFAIL("KQ_517 did not end");
        }
        const QByteArray out = process.readAllStandardOutput();
        const QByteArray err = process.readAllStandardError();
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY2(process.exitCode() == exitCode, err.constData());
        if (outStart.isEmpty())
            QCOMPARE(out, QByteArray());
        else
            QVERIFY2(out.startsWith(outStart), out.constData());
        if (errPart.isEmpty())
            QCOMPARE(err, QByteArray());
        else
            QVERIFY2(err.contains(errPart), err.constData());
    }
};

QTEST_GUILESS_MAIN(StartSwitchesTest)
#include "tst_startswitches.moc"
