// Where the settings file is read and written: beside the program when that
// folder may be written, else a copy in the user's configuration folder made
// at the first change; and where an installed program finds its data folder.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/SettingsFileLocation.h"
#include "settings/UserStore.h"
#include "tests/support/TestSupport.h"

namespace {

// Writes a file, making its folder first.
bool makeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The tests run as root, who may write everywhere: files below this folder
// count as read-only instead.
QString g_readOnlyFolder;

bool writableUnlessInReadOnlyFolder(const QString& filePath)
{
    return g_readOnlyFolder.isEmpty() || !filePath.startsWith(g_readOnlyFolder + QLatin1Char('/'));
}

// Makes the program directory read-only for its lifetime.
struct ReadOnlyProgramDir {
    SettingsFileLocation::WritableCheck previous;
    explicit ReadOnlyProgramDir(const QString& dir)
    {
        g_readOnlyFolder = dir;
        previous = SettingsFileLocation::setWritableCheck(writableUnlessInReadOnlyFolder);
    }
    ~ReadOnlyProgramDir()
    {
        SettingsFileLocation::setWritableCheck(previous);
        g_readOnlyFolder.clear();
    }
};

const QByteArray kShipped = "[Setup]\r\nLanguage=English\r\nType1=KQ-517\r\n[Ports]\r\nCOM2=/dev/ttyS1\r\n";

}  // namespace

class TestSettingsLocation : public QObject {
    Q_OBJECT

private slots:
    void choose_data();
    void choose();
    void readOnlyFolderCopiesOnFirstChange();
    void realReadOnlyFolder();
    void writableFolderKeepsItsFile();
    void failedMoveKeepsTheStore();
    void otherFilesFollowTheSameRule();
    void dataDirectory_data();
    void dataDirectory();
};

void TestSettingsLocation::choose_data()
{
    QTest::addColumn<bool>("writable");
    QTest::addColumn<bool>("shipped");  // the file exists beside the program
    QTest::addColumn<bool>("copied");   // the user's copy exists
    QTest::addColumn<QString>("read");  // "program" or "user"
    QTest::addColumn<QString>("write");
    QTest::newRow("build folder") << true << true << false << "program" << "program";
    QTest::newRow("build folder, stray user copy ignored") << true << true << true << "program" << "program";
    QTest::newRow("build folder, no file yet") << true << false << false << "program" << "program";
    QTest::newRow("installed, first run") << false << true << false << "program" << "user";
    QTest::newRow("installed, copy made before") << false << true << true << "user" << "user";
    QTest::newRow("installed, nothing shipped") << false << false << false << "user" << "user";
}

void TestSettingsLocation::choose()
{
    QFETCH(bool, writable);
    QFETCH(bool, shipped);
    QFETCH(bool, copied);
    QFETCH(QString, read);
    QFETCH(QString, write);
    QTemporaryDir program, user;
    if (shipped)
        QVERIFY(makeFile(program.filePath(QStringLiteral("KQ-517.ini")), kShipped));
    if (copied)
        QVERIFY(makeFile(user.filePath(QStringLiteral("KQ-517.ini")), kShipped));
    std::unique_ptr<ReadOnlyProgramDir> readOnly;
    if (!writable)
        readOnly = std::make_unique<ReadOnlyProgramDir>(program.path());

    const auto place = SettingsFileLocation::choose(program.path(), user.path(), QStringLiteral("KQ-517.ini"));
    const auto where = [&](const QString& path) {
        if (path == program.filePath(QStringLiteral("KQ-517.ini")))
            return QStringLiteral("program");
        if (path == user.filePath(QStringLiteral("KQ-517.ini")))
            return QStringLiteral("user");
        return QStringLiteral("elsewhere: ") + path;
    };
    QCOMPARE(where(place.readPath), read);
    QCOMPARE(where(place.writePath), write);
}

// The installed case from start to restart: nothing is copied while nothing
// changes; the first change lands in the user's copy with everything else the
// shipped file held; the next start reads that copy; the shipped file never
// changes.
void TestSettingsLocation::readOnlyFolderCopiesOnFirstChange()
{
    TempUserStore store;
    TempProgramDir dir;
    QVERIFY(dir.writeSettings(kShipped));
    ReadOnlyProgramDir readOnly(dir.path());
    const QString copy = UserStore::folder() + QStringLiteral("/KQ-517.ini");
    QVERIFY(copy.startsWith(store.path()));

    {
        CIniFile settings;
        QVERIFY(SettingsFileLocation::open(settings, QStringLiteral("KQ-517.ini"), true, false, true, false));
        QCOMPARE(settings.GetString("Setup", "Language"), QByteArray("English"));
        settings.SetString("Setup", "Language", "English");  // no change
    }
    QVERIFY(!QFile::exists(copy));

    {
        CIniFile settings;
        QVERIFY(SettingsFileLocation::open(settings, QStringLiteral("KQ-517.ini"), true, false, true, false));
        settings.SetString("Setup", "Language", "Chinese");
        settings.Save(false);
        QVERIFY(QFile::exists(copy));
        QCOMPARE(settings.path(), copy);
        settings.SetString("Ports", "COM3", "/dev/ttyACM0");  // a later change goes to the copy too
    }
    QCOMPARE(readFile(dir.filePath(QStringLiteral("KQ-517.ini")), "<missing>"), kShipped);
    QCOMPARE(readFile(copy, "<missing>"), QByteArray("[Setup]\r\nLanguage=Chinese\r\nType1=KQ-517\r\n"
                                       "[Ports]\r\nCOM2=/dev/ttyS1\r\nCOM3=/dev/ttyACM0\r\n"));

    // The next start.
    CIniFile settings;
    QVERIFY(SettingsFileLocation::open(settings, QStringLiteral("KQ-517.ini"), false, true, true, false));
    QCOMPARE(settings.path(), copy);
    QCOMPARE(settings.GetString("Setup", "Language"), QByteArray("Chinese"));
    QCOMPARE(settings.GetString("Ports", "COM3"), QByteArray("/dev/ttyACM0"));
}

// The same with the file system's own answer, for a user who is not root.
void TestSettingsLocation::realReadOnlyFolder()
{
    TempUserStore store;
    TempProgramDir dir;
    QVERIFY(dir.writeSettings(kShipped));
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                        | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("KQ-517.ini")),
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    QVERIFY(QFile::setPermissions(dir.path(), readOnly));
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(dir.path(), readOnly | QFile::WriteOwner);
    });
    if (QFileInfo(dir.filePath(QStringLiteral("KQ-517.ini"))).isWritable())
        QSKIP("this user may write read-only files (root): covered by the steered check above");

    {
        CIniFile settings;
        QVERIFY(SettingsFileLocation::open(settings, QStringLiteral("KQ-517.ini"), true, false, true, false));
        settings.SetString("Setup", "Language", "Chinese");
    }
    QCOMPARE(readFile(dir.filePath(QStringLiteral("KQ-517.ini")), "<missing>"), kShipped);
    CIniFile again;
    QVERIFY(SettingsFileLocation::open(again, QStringLiteral("KQ-517.ini"), false, true, true, false));
    QCOMPARE(again.path(), UserStore::folder() + QStringLiteral("/KQ-517.ini"));
    QCOMPARE(again.GetString("Setup", "Language"), QByteArray("Chinese"));
}

void TestSettingsLocation::writableFolderKeepsItsFile()
{
    TempUserStore store;
    TempProgramDir dir;
    QVERIFY(dir.writeSettings(kShipped));
    const QString copy = UserStore::folder() + QStringLiteral("/KQ-517.ini");
    QVERIFY(makeFile(copy, "[Setup]\r\nLanguage=Chinese\r\n"));  // left by an installed copy
    {
        CIniFile settings;
        QVERIFY(SettingsFileLocation::open(settings, QStringLiteral("KQ-517.ini"), true, false, true, false));
        QCOMPARE(settings.GetString("Setup", "Language"), QByteArray("English"));
        settings.SetString("Setup", "Type2", "KQ-518");
    }
    QCOMPARE(readFile(dir.filePath(QStringLiteral("KQ-517.ini")), "<missing>"),
             QByteArray("[Setup]\r\nLanguage=English\r\nType1=KQ-517\r\nType2=KQ-518\r\n"
                        "[Ports]\r\nCOM2=/dev/ttyS1\r\n"));
    QCOMPARE(readFile(copy, "<missing>"), QByteArray("[Setup]\r\nLanguage=Chinese\r\n"));
}

// A user folder that cannot be made (a file stands in its way): the save
// fails, the shipped file stays whole and the store keeps what it holds.
void TestSettingsLocation::failedMoveKeepsTheStore()
{
    QTemporaryDir dir;
    const QString shipped = dir.filePath(QStringLiteral("KQ-517.ini"));
    QVERIFY(makeFile(shipped, kShipped));
    QVERIFY(makeFile(dir.filePath(QStringLiteral("blocked")), "a file"));
    CIniFile settings;
    QVERIFY(settings.Open(shipped, false, true, true, false));
    settings.setWritePath(dir.filePath(QStringLiteral("blocked/KQ-517/KQ-517.ini")));
    settings.SetString("Setup", "Language", "Chinese");
    QVERIFY(settings.Save(false).isEmpty());
    QCOMPARE(settings.path(), shipped);
    QCOMPARE(settings.GetString("Setup", "Language"), QByteArray("Chinese"));
    QCOMPARE(readFile(shipped, "<missing>"), kShipped);
    QCOMPARE(readFile(dir.filePath(QStringLiteral("blocked")), "<missing>"), QByteArray("a file"));
}

// The maker's file written by the language change lands beside the settings
// file in both cases.
void TestSettingsLocation::otherFilesFollowTheSameRule()
{
    TempUserStore store;
    TempProgramDir dir;
    ReadOnlyProgramDir readOnly(dir.path());
    {
        CIniFile maker;
        QVERIFY(SettingsFileLocation::open(maker, QStringLiteral("Halvorn.ini"), true, false, true, false));
        maker.SetString("Setup", "Language", "Chinese");
    }
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("Halvorn.ini"))));
    QCOMPARE(readFile(UserStore::folder() + QStringLiteral("/Halvorn.ini"), "<missing>"),
             QByteArray("[Setup]\r\nLanguage=Chinese\r\n"));
}

void TestSettingsLocation::dataDirectory_data()
{
    QTest::addColumn<QStringList>("files");  // made below a temporary root
    QTest::addColumn<QString>("expected");   // relative to the root
    QTest::newRow("build folder") << QStringList{"bin/KQ-517.ini", "bin/English517.rcc"} << "bin";
    QTest::newRow("build folder, settings file deleted") << QStringList{"bin/Chinese517.rcc"} << "bin";
    QTest::newRow("build folder wins over a data folder")
        << QStringList{"bin/KQ-517.ini", "share/kq517/KQ-517.ini"} << "bin";
    QTest::newRow("installed") << QStringList{"bin/kq517", "share/kq517/KQ-517.ini"} << "share/kq517";
    QTest::newRow("installed, data folder emptied") << QStringList{"bin/kq517", "share/kq517/"}
                                                     << "share/kq517";
    QTest::newRow("neither") << QStringList{"bin/kq517"} << "bin";
}

void TestSettingsLocation::dataDirectory()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    QTemporaryDir root;
    for (const QString& f : files) {
        if (f.endsWith(QLatin1Char('/')))
            QVERIFY(QDir().mkpath(root.filePath(f)));
        else
            QVERIFY(makeFile(root.filePath(f), "x"));
    }
    QCOMPARE(SettingsFileLocation::dataDirectory(root.filePath(QStringLiteral("bin"))),
             root.filePath(expected));
}

QTEST_GUILESS_MAIN(TestSettingsLocation)
#include "tst_settingslocation.moc"
