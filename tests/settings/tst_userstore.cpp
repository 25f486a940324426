// The per-user store ("com", "Type", "Field"): outside Windows a file under
// $XDG_CONFIG_HOME/KQ-517/.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/UserStore.h"
#include "tests/support/TestSupport.h"

#if defined(Q_OS_LINUX)
#  include <csignal>
#  include <sys/resource.h>
#  include <sys/wait.h>
#  include <unistd.h>
#endif

namespace {

// Writes a file, making its folder first.
bool makeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

// Every file below root, relative to it.
QStringList filesBelow(const QString& root)
{
    QStringList out;
    QDir dir(root);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& fi : entries) {
        if (fi.isDir()) {
            for (const QString& sub : filesBelow(fi.filePath()))
                out << fi.fileName() + QLatin1Char('/') + sub;
        } else {
            out << fi.fileName();
        }
    }
    return out;
}

}  // namespace

class TestUserStore : public QObject {
    Q_OBJECT

private slots:
#if !defined(Q_OS_WIN)
    void location();
    void homeConfigWhenUnset();
    void missingValues();
    void keyCreatedOnRead();
    void roundTrip();
    void otherTypesAndSizesAreMissing_data();
    void otherTypesAndSizesAreMissing();
    void garbageFile();
    void hugeFileIsNotRead();
    void failedWriteLeavesOldFile();
    void writeKeepsOtherValues();
    void unsafeAppNames_data();
    void unsafeAppNames();
    void distinctNamesDistinctFiles();
    void fromSettings();
    void tempUserStoreRestores();
    void textValuesRoundTrip_data();
    void textValuesRoundTrip();
    void textLines_data();
    void textLines();
    void textsThatCannotBeKept();
#endif
};

#if !defined(Q_OS_WIN)

void TestUserStore::textValuesRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain path") << QStringLiteral("/home/ann/radios");
    QTest::newRow("quote and backslash") << QStringLiteral("C:\\radios\\\"field\" day\\");
    QTest::newRow("chinese") << QStringLiteral("/home/王/对讲机 备份");
    QTest::newRow("empty") << QString();
    QTest::newRow("dword-like") << QStringLiteral("dword:00000001");
}

void TestUserStore::textValuesRoundTrip()
{
    QFETCH(QString, text);
    TempUserStore tmp;
    {
        UserStore store("KQ-517 Programmer");
        store.write(QStringLiteral("com"), 2);
        store.writeString(QStringLiteral("BackupFolder"), text);
        store.write(QStringLiteral("Type"), 5);
    }
    UserStore again("KQ-517 Programmer");
    QString read = QStringLiteral("unchanged");
    QVERIFY(again.readString(QStringLiteral("backupfolder"), &read));
    QCOMPARE(read, text);
    // Numbers written before and after stay; each kind reads as itself only.
    QCOMPARE(again.read(QStringLiteral("com"), 1u), 2u);
    QCOMPARE(again.read(QStringLiteral("Type"), 1u), 5u);
    std::uint32_t number = 7;
    QVERIFY(!again.read(QStringLiteral("BackupFolder"), &number));
    QCOMPARE(number, 7u);
    QVERIFY(!again.readString(QStringLiteral("com"), &read));
    QCOMPARE(again.readString(QStringLiteral("Missing"), QStringLiteral("default")), QStringLiteral("default"));
    // A number stored under the name of a text replaces it.
    again.write(QStringLiteral("BackupFolder"), 1);
    QCOMPARE(again.read(QStringLiteral("BackupFolder"), 0u), 1u);
    QVERIFY(!again.readString(QStringLiteral("BackupFolder"), &read));
}

void TestUserStore::textLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("text");
    QTest::newRow("text") << QByteArray("\"Folder\"=\"/tmp/a\"") << true << QStringLiteral("/tmp/a");
    QTest::newRow("escapes") << QByteArray("\"Folder\"=\"a\\\\b\\\"c\"") << true << QStringLiteral("a\\b\"c");
    QTest::newRow("unterminated") << QByteArray("\"Folder\"=\"/tmp/a") << false << QString();
    QTest::newRow("text after the quote") << QByteArray("\"Folder\"=\"/tmp\"/a\"") << false << QString();
    QTest::newRow("escape at the end") << QByteArray("\"Folder\"=\"/tmp\\") << false << QString();
    QTest::newRow("not utf-8") << QByteArray("\"Folder\"=\"\xff\xfe\"") << false << QString();
}

void TestUserStore::textLines()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, found);
    QFETCH(QString, text);
    TempUserStore tmp;
    UserStore store("App");
    QVERIFY(makeFile(store.location(), "\"com\"=dword:00000002\n" + line + "\n"));
    QString read = QStringLiteral("unchanged");
    QCOMPARE(store.readString(QStringLiteral("Folder"), &read), found);
    QCOMPARE(read, found ? text : QStringLiteral("unchanged"));
    QCOMPARE(store.read(QStringLiteral("com"), 1u), 2u);
}

void TestUserStore::textsThatCannotBeKept()
{
    TempUserStore tmp;
    UserStore store("App");
    store.writeString(QStringLiteral("Folder"), QStringLiteral("/kept"));
    for (const QString& bad : {QStringLiteral("two\nlines"), QStringLiteral("cr\rhere"),
                               QString(UserStore::kMaxStringBytes + 1, QLatin1Char('x'))}) {
        QVERIFY(!UserStore::storableString(bad));
        store.writeString(QStringLiteral("Folder"), bad);
    }
    QCOMPARE(store.readString(QStringLiteral("Folder"), QString()), QStringLiteral("/kept"));
}

void TestUserStore::location()
{
    TempUserStore tmp;
    QVERIFY(tmp.isValid());
    UserStore store("KQ-517 Programmer");
    QCOMPARE(store.location(), tmp.path() + QStringLiteral("/KQ-517/KQ-517 Programmer.conf"));
}

void TestUserStore::homeConfigWhenUnset()
{
    TempUserStore tmp;  // restores XDG_CONFIG_HOME afterwards
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    const QString unset = UserStore("App").location();
    qputenv("XDG_CONFIG_HOME", "relative/path");  // not absolute: ignored
    const QString relative = UserStore("App").location();
    qputenv("HOME", oldHome);
    QCOMPARE(unset, home.path() + QStringLiteral("/.config/KQ-517/App.conf"));
    QCOMPARE(relative, home.path() + QStringLiteral("/.config/KQ-517/App.conf"));
}

void TestUserStore::missingValues()
{
    TempUserStore tmp;
    UserStore store("KQ-517 Programmer");
    std::uint32_t v = 77;
    QVERIFY(!store.read(QStringLiteral("com"), &v));
    QCOMPARE(v, 77u);  // unchanged
    QCOMPARE(store.read(QStringLiteral("com"), 1u), 1u);
    QCOMPARE(store.read(QStringLiteral("Type"), 0u), 0u);
    QCOMPARE(store.read(QStringLiteral("Field"), 0u), 0u);
}

void TestUserStore::keyCreatedOnRead()
{
    TempUserStore tmp;
    UserStore store("App");
    QVERIFY(!QFile::exists(store.location()));
    store.read(QStringLiteral("com"), 1u);
    QVERIFY(QFile::exists(store.location()));
    QCOMPARE(store.read(QStringLiteral("com"), 1u), 1u);
}

void TestUserStore::roundTrip()
{
    TempUserStore tmp;
    {
        UserStore store("KQ-517 Programmer");
        store.write(QStringLiteral("com"), 3);
        store.write(QStringLiteral("Type"), 0xFFFFFFFFu);
        store.write(QStringLiteral("Field"), 0);
    }
    UserStore again("KQ-517 Programmer");
    QCOMPARE(again.read(QStringLiteral("com"), 1u), 3u);
    QCOMPARE(again.read(QStringLiteral("Type"), 0u), 0xFFFFFFFFu);
    std::uint32_t field = 9;
    QVERIFY(again.read(QStringLiteral("Field"), &field));
    QCOMPARE(field, 0u);
    // Value names compare without regard to case, as registry value names do.
    QCOMPARE(again.read(QStringLiteral("COM"), 1u), 3u);
    again.write(QStringLiteral("Com"), 4);
    QCOMPARE(again.read(QStringLiteral("com"), 1u), 4u);
    // The file reads like a registry export.
    const QByteArray text = readFile(again.location(), "<missing>");
    QVERIFY2(text.contains("\"com\"=dword:00000004\n"), text.constData());
    QVERIFY2(text.contains("\"Type\"=dword:ffffffff\n"), text.constData());
    QCOMPARE(text.count("dword:"), 3);
}

void TestUserStore::otherTypesAndSizesAreMissing_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("found");
    QTest::addColumn<uint>("value");
    QTest::newRow("dword") << QByteArray("\"Type\"=dword:00000002") << true << 2u;
    QTest::newRow("short hex") << QByteArray("\"Type\"=dword:2") << true << 2u;
    QTest::newRow("blanks around") << QByteArray("  \"Type\"=dword:0000000A  \r") << true << 10u;
    QTest::newRow("nine digits: more than 4 bytes") << QByteArray("\"Type\"=dword:000000002") << false << 0u;
    QTest::newRow("qword") << QByteArray("\"Type\"=hex(b):02,00,00,00,00,00,00,00") << false << 0u;
    QTest::newRow("binary") << QByteArray("\"Type\"=hex:02,00,00,00") << false << 0u;
    QTest::newRow("string") << QByteArray("\"Type\"=\"2\"") << false << 0u;
    QTest::newRow("not hex") << QByteArray("\"Type\"=dword:0000000g") << false << 0u;
    QTest::newRow("empty") << QByteArray("\"Type\"=dword:") << false << 0u;
    QTest::newRow("sign") << QByteArray("\"Type\"=dword:-1") << false << 0u;
    QTest::newRow("unquoted") << QByteArray("Type=dword:00000002") << false << 0u;
}

void TestUserStore::otherTypesAndSizesAreMissing()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, found);
    QFETCH(uint, value);
    TempUserStore tmp;
    UserStore store("App");
    QVERIFY(makeFile(store.location(), "\"com\"=dword:00000002\n" + line + "\n"));
    std::uint32_t v = 1234;
    QCOMPARE(store.read(QStringLiteral("Type"), &v), found);
    QCOMPARE(v, found ? std::uint32_t(value) : 1234u);
    QCOMPARE(store.read(QStringLiteral("com"), 1u), 2u);
}

void TestUserStore::garbageFile()
{
    TempUserStore tmp;
    UserStore store("App");
    QByteArray garbage;
    for (int i = 0; i < 3000; ++i)
        garbage += char((i * 7919 + 13) & 0xFF);
    QVERIFY(makeFile(store.location(), garbage));
    QCOMPARE(store.read(QStringLiteral("com"), 1u), 1u);
    QCOMPARE(store.read(QStringLiteral("Type"), 0u), 0u);
    store.write(QStringLiteral("Type"), 5);
    QCOMPARE(store.read(QStringLiteral("Type"), 0u), 5u);
    QCOMPARE(store.read(QStringLiteral("com"), 1u), 1u);
    // Replaced as a whole, nothing of the garbage kept, no stray files.
    QVERIFY(!readFile(store.location(), "<missing>").contains(garbage.left(50)));
    QCOMPARE(filesBelow(tmp.path()), QStringList{"KQ-517/App.conf"});
}

void TestUserStore::hugeFileIsNotRead()
{
    TempUserStore tmp;
    UserStore store("App");
    QVERIFY(makeFile(store.location(), "\"com\"=dword:00000002\n" + QByteArray(1024 * 1024, ';')));
    QCOMPARE(store.read(QStringLiteral("com"), 1u), 1u);
}

void TestUserStore::failedWriteLeavesOldFile()
{
#if defined(Q_OS_LINUX)
    TempUserStore tmp;
    UserStore store("App");
    store.write(QStringLiteral("com"), 3);
    const QByteArray old = readFile(store.location(), "<missing>");
    // In a child process: a file size limit below the new file's size.
    const pid_t pid = fork();
    QVERIFY(pid >= 0);
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim {};
        lim.rlim_cur = lim.rlim_max = rlim_t(old.size());
        setrlimit(RLIMIT_FSIZE, &lim);
        UserStore(QByteArray("App")).write(QStringLiteral("Type"), 1);
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(pid, &status, 0), pid);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(readFile(store.location(), "<missing>"), old);
    QCOMPARE(filesBelow(tmp.path()), QStringList{"KQ-517/App.conf"});
    QCOMPARE(store.read(QStringLiteral("com"), 1u), 3u);
    QCOMPARE(store.read(QStringLiteral("Type"), 0u), 0u);
#else
    QSKIP("needs Linux (file size limit in a child process)");
#endif
}

void TestUserStore::writeKeepsOtherValues()
{
    TempUserStore tmp;
    UserStore store("App");
    QVERIFY(makeFile(store.location(), "junk line\n\"com\"=dword:00000003\n\"Other\"=dword:00000010\n"));
    store.write(QStringLiteral("Type"), 1);
    QCOMPARE(store.read(QStringLiteral("com"), 1u), 3u);
    QCOMPARE(store.read(QStringLiteral("Other"), 0u), 16u);
    QCOMPARE(store.read(QStringLiteral("Type"), 0u), 1u);
}

void TestUserStore::unsafeAppNames_data()
{
    QTest::addColumn<QByteArray>("appName");
    QTest::newRow("parent") << QByteArray("..");
    QTest::newRow("dot") << QByteArray(".");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("climb") << QByteArray("../../evil");
    QTest::newRow("slash") << QByteArray("a/b");
    QTest::newRow("absolute") << QByteArray("/etc/passwd");
    QTest::newRow("backslash") << QByteArray("..\\..\\evil");
    QTest::newRow("hidden") << QByteArray(".hidden");
    QTest::newRow("control") << QByteArray("a\nb\x01");
    QTest::newRow("windows chars") << QByteArray("a:b*c?d\"e<f>g|h%i");
    QTest::newRow("long") << QByteArray(400, 'x');
    QTest::newRow("long unsafe") << QByteArray(300, '/');
    QTest::newRow("gbk") << QByteArray("KQ-517 \xB1\xE0\xB3\xCC");
    QTest::newRow("80 wide characters") << QString(QStringLiteral("电")).repeated(80).toUtf8();
    QTest::newRow("long escapes") << QByteArray(100, '%');
}

void TestUserStore::unsafeAppNames()
{
    QFETCH(QByteArray, appName);
    TempUserStore tmp;
    UserStore store(appName);
    const QString folder = tmp.path() + QStringLiteral("/KQ-517");
    const QFileInfo fi(store.location());
    QCOMPARE(fi.absolutePath(), folder);
    QVERIFY(fi.fileName().endsWith(QStringLiteral(".conf")));
    QVERIFY(!fi.fileName().startsWith(QLatin1Char('.')));
    QVERIFY(fi.fileName().toUtf8().size() <= 248);
    QCOMPARE(fi.fileName(), UserStore::fileStem(appName) + QStringLiteral(".conf"));
    store.write(QStringLiteral("com"), 2);
    QCOMPARE(store.read(QStringLiteral("com"), 1u), 2u);
    const QStringList files = filesBelow(tmp.path());
    QCOMPARE(files.size(), 1);
    QVERIFY(files.first().startsWith(QStringLiteral("KQ-517/")));
    QVERIFY(!files.first().mid(7).contains(QLatin1Char('/')));
}

void TestUserStore::distinctNamesDistinctFiles()
{
    const QList<QByteArray> names{"",     "%",    ".",     "..",   "a/b",  "a%2Fb", "a_b",
                                  "a\\b", "x.",   "x",     "x ",   ".x",   "%2Ex",  QByteArray(400, 'x'),
                                  QByteArray(401, 'x'), QByteArray(300, '/') + "a", QByteArray(300, '/') + "b"};
    QSet<QString> stems;
    for (const QByteArray& n : names)
        stems.insert(UserStore::fileStem(n));
    QCOMPARE(stems.size(), names.size());
    QCOMPARE(UserStore::fileStem("KQ-517 Programmer"), QStringLiteral("KQ-517 Programmer"));
    QCOMPARE(UserStore::fileStem("KQ-517 \xB1\xE0\xB3\xCC"), QStringLiteral("KQ-517 编程"));
    // A name whose file fits is kept whole.
    const QString wide = QStringLiteral("电").repeated(81);
    QCOMPARE(UserStore::fileStem(wide.toUtf8()), wide);
}

void TestUserStore::fromSettings()
{
    TempUserStore tmp;
    TempProgramDir dir;
    QVERIFY(dir.writeSettings("[Setup]\r\nAppName=My Radio\r\n"));
    QVERIFY(dir.openSettings(false));
    UserStore::fromSettings().write(QStringLiteral("Field"), 7);
    QCOMPARE(UserStore("My Radio").read(QStringLiteral("Field"), 0u), 7u);
    QVERIFY(QFile::exists(tmp.path() + QStringLiteral("/KQ-517/My Radio.conf")));
    // The AppName is read at each access.
    g_settings.SetString("Setup", "AppName", "Other");
    QCOMPARE(UserStore::fromSettings().read(QStringLiteral("Field"), 0u), 0u);
    QVERIFY(UserStore::fromSettings().location().endsWith(QStringLiteral("/Other.conf")));
}

void TestUserStore::tempUserStoreRestores()
{
    const bool had = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    QString path;
    {
        TempUserStore tmp;
        path = tmp.path();
        QCOMPARE(qgetenv("XDG_CONFIG_HOME"), QFile::encodeName(path));
        {
            TempUserStore inner;
            QVERIFY(inner.path() != path);
        }
        QCOMPARE(qgetenv("XDG_CONFIG_HOME"), QFile::encodeName(path));
    }
    QCOMPARE(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"), had);
    QCOMPARE(qgetenv("XDG_CONFIG_HOME"), old);
    QVERIFY(!QFileInfo::exists(path));

    qunsetenv("XDG_CONFIG_HOME");
    { TempUserStore tmp; }
    QVERIFY(!qEnvironmentVariableIsSet("XDG_CONFIG_HOME"));
    if (had)
        qputenv("XDG_CONFIG_HOME", old);
}

#endif

QTEST_GUILESS_MAIN(TestUserStore)
#include "tst_userstore.moc"
