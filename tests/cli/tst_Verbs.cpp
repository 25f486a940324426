// The one option parser and the texts made from the verb records: each verb's
// --help, unknown options and missing values, --version, and the parser's
// rules, run as the user runs them (the built program) and on the parser.

#include <QtTest>

#include <QProcess>
#include <QRegularExpression>

#include "cli/OptionParser.h"
#include "cli/Verbs.h"
#include "tests/support/ChildRun.h"

namespace {

// The option names of a --help text's "Options:" list, in order.
QStringList listedOptions(const QString& help)
{
    QStringList names;
    const qsizetype start = help.indexOf(QLatin1String("\nOptions:\n"));
    if (start < 0)
        return names;
    static const QRegularExpression item(QStringLiteral("^  (-[-A-Za-z]*)"), QRegularExpression::MultilineOption);
    for (auto it = item.globalMatch(help.mid(start)); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

QString oneLine(QString text)
{
    return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")).trimmed();
}

}  // namespace

class VerbsTest : public QObject {
    Q_OBJECT

private slots:
    void verbHelp_data();
    void verbHelp();
    void unknownOptionsAndMissingValues_data();
    void unknownOptionsAndMissingValues();
    void version_data();
    void version();
    void usageListsEveryVerbWithItsSynopsis();
    void parser_data();
    void parser();
};

void VerbsTest::verbHelp_data()
{
    QTest::addColumn<QString>("verb");
    QTest::addColumn<QStringList>("options");
    // What each verb accepts: the contract of the command line.
    QTest::newRow("show") << "show" << QStringList{"--help"};
    QTest::newRow("export") << "export" << QStringList{"-o", "--format", "--help"};
    QTest::newRow("import") << "import" << QStringList{"-o", "--base", "--help"};
    QTest::newRow("diff") << "diff" << QStringList{"--help"};
    QTest::newRow("read") << "read" << QStringList{"--port", "-o", "--base", "--retry", "--trace", "--quiet", "--help"};
    QTest::newRow("write") << "write"
                           << QStringList{"--port",   "--retry", "--trace", "--backup", "--verify",
                                          "--repeat", "--force", "--quiet", "--help"};
    QTest::newRow("ports") << "ports" << QStringList{"--help"};
    QTest::newRow("sim") << "sim"
                         << QStringList{"--image",       "--save",           "--link",           "--baud",
                                        "--ident",       "--wrong-ident",    "--silent",         "--no-wakeup-answer",
                                        "--no-handshake-ack", "--no-ack-at", "--wrong-ack-at",   "--short-reply-at",
                                        "--vanish-at",   "--drop-write-at",  "--help"};
}

void VerbsTest::verbHelp()
{
    QFETCH(QString, verb);
    QFETCH(QStringList, options);
    for (const QString& help : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const Run run = runKq517({verb, help});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(run.err, QByteArray());
        const QString text = QString::fromUtf8(run.out);
        QVERIFY2(text.startsWith(QStringLiteral("usage: kq517 %1").arg(verb)), qPrintable(text));
        QCOMPARE(listedOptions(text), options);
    }
    // Every option the help lists is one the verb accepts.
    const VerbRecord* spec = findVerb(verb);
    QVERIFY(spec);
    for (const QString& option : options) {
        const ParseOutcome outcome = parseVerbArguments(*spec, {option, QStringLiteral("1")});
        QVERIFY2(!outcome.error.contains(QLatin1String("unknown option")), qPrintable(outcome.error));
    }
}

void VerbsTest::unknownOptionsAndMissingValues_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("named");
    for (const VerbRecord* verb : verbs()) {
        const QString name = QLatin1String(verb->name);
        QTest::addRow("%s --bogus", verb->name) << QStringList{name, "--bogus"} << "'--bogus'";
        QTest::addRow("%s -x", verb->name) << QStringList{name, "-x"} << "'-x'";
        for (const OptionRecord& option : verb->options)
            if (option.valueName)
                QTest::addRow("%s %s without value", verb->name, option.name)
                    << QStringList{name, QLatin1String(option.name)} << QString::fromLatin1(option.name);
    }
    QTest::newRow("read, --port twice") << QStringList{"read", "--port", "a", "--port", "b", "-o", "x"} << "--port";
    QTest::newRow("read, no --port") << QStringList{"read", "-o", "x.dat"} << "--port";
    QTest::newRow("write, --retry not a number") << QStringList{"write", "--port", "p", "f.dat", "--retry", "x"}
                                                 << "--retry";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << "'frobnicate'";
    QTest::newRow("unknown top-level option") << QStringList{"--bogus"} << "'--bogus'";
}

void VerbsTest::unknownOptionsAndMissingValues()
{
    QFETCH(QStringList, args);
    QFETCH(QString, named);
    const Run run = runKq517(args);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(QString::fromUtf8(run.err).contains(named), run.err.constData());
    QVERIFY2(run.err.startsWith("kq517: "), run.err.constData());
}

void VerbsTest::version_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("--version") << "--version";
    QTest::newRow("version") << "version";
}

void VerbsTest::version()
{
    QFETCH(QString, word);
    const Run run = runKq517({word});
    QCOMPARE(run.exitCode, 0);
    // The version CMake gives the package.
    QCOMPARE(run.out, QByteArray("kq517 " KQ517_PACKAGE_VERSION "\n"));
    QCOMPARE(run.err, QByteArray());
}

void VerbsTest::usageListsEveryVerbWithItsSynopsis()
{
    const Run run = runKq517({QStringLiteral("--help")});
    QCOMPARE(run.exitCode, 0);
    const QString usage = oneLine(QString::fromUtf8(run.out));
    for (const VerbRecord* verb : verbs()) {
        const Run help = runKq517({QLatin1String(verb->name), QStringLiteral("--help")});
        // The usage line of the verb's help, with the lines it wraps onto.
        const QStringList helpLines = QString::fromUtf8(help.out).split(QLatin1Char('\n'));
        QString usageLine = helpLines.value(0);
        for (int i = 1; i < helpLines.size() && helpLines.at(i).startsWith(QString(13, QLatin1Char(' '))); ++i)
            usageLine += QLatin1Char(' ') + helpLines.at(i);
        const QString synopsis = oneLine(usageLine).mid(int(qstrlen("usage: kq517 ")));
        // The verb's full synopsis, once, on its own entry.
        QCOMPARE(usage.count(QLatin1Char(' ') + synopsis + QLatin1Char(' ')), 1);
    }
    // Without arguments the same usage goes to stderr with the usage status.
    const Run bare = runKq517({});
    QCOMPARE(bare.exitCode, 2);
    QCOMPARE(bare.err, run.out);
}

void VerbsTest::parser_data()
{
    QTest::addColumn<QStringList>("words");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QStringList>("operands");
    const int run = int(ParseOutcome::Kind::Run);
    const int help = int(ParseOutcome::Kind::Help);
    const int error = int(ParseOutcome::Kind::UsageError);
    QTest::newRow("value after a blank") << QStringList{"--port", "COM1", "f.dat"} << run << "COM1" << QStringList{"f.dat"};
    QTest::newRow("value after =") << QStringList{"f.dat", "--port=COM2"} << run << "COM2" << QStringList{"f.dat"};
    QTest::newRow("value may start with a dash") << QStringList{"--port", "-x", "f.dat"} << run << "-x"
                                                 << QStringList{"f.dat"};
    QTest::newRow("-- ends the options") << QStringList{"--port", "p", "--", "-f.dat"} << run << "p"
                                         << QStringList{"-f.dat"};
    QTest::newRow("help wins") << QStringList{"--bogus", "--help"} << help << "" << QStringList{};
    QTest::newRow("help after -- is an operand") << QStringList{"--port", "p", "--", "--help"} << run << "p"
                                                 << QStringList{"--help"};
    QTest::newRow("empty value") << QStringList{"--port", "", "f.dat"} << error << "" << QStringList{};
    QTest::newRow("switch with a value") << QStringList{"--port", "p", "f.dat", "--verify=yes"} << error << ""
                                         << QStringList{};
    QTest::newRow("two files") << QStringList{"--port", "p", "a.dat", "b.dat"} << error << "" << QStringList{};
    QTest::newRow("no file") << QStringList{"--port", "p"} << error << "" << QStringList{};
}

void VerbsTest::parser()
{
    QFETCH(QStringList, words);
    QFETCH(int, kind);
    QFETCH(QString, port);
    QFETCH(QStringList, operands);
    const VerbRecord* write = findVerb(QStringLiteral("write"));
    QVERIFY(write);
    const ParseOutcome outcome = parseVerbArguments(*write, words);
    QCOMPARE(int(outcome.kind), kind);
    if (outcome.kind == ParseOutcome::Kind::Run) {
        QCOMPARE(outcome.args.value("--port"), port);
        QCOMPARE(outcome.args.operands(), operands);
    }
    if (outcome.kind == ParseOutcome::Kind::UsageError)
        QVERIFY(!outcome.error.isEmpty());
}

QTEST_GUILESS_MAIN(VerbsTest)
#include "tst_Verbs.moc"
