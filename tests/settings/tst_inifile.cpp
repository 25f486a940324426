// CIniFile: reading and writing rules, duplicates, case rules,
// inline comment cuts, SetString marking, backups, write-on-close, the two
// mended faults, atomic save, GBK texts, OpenInProgramDir.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "tests/support/TestSupport.h"

#if defined(Q_OS_UNIX)
#  include <csignal>
#  include <sys/resource.h>
#  include <sys/stat.h>
#  include <sys/wait.h>
#  include <unistd.h>
#endif

// Friend of CIniFile: looks at the store's tables.
class IniFileInspector {
public:
    static QList<QByteArray> keys(const CIniFile& f, int s)
    {
        return (s < f.m_keys.size() && f.m_keys.at(s)) ? *f.m_keys.at(s) : QList<QByteArray>();
    }
    static QList<QByteArray> values(const CIniFile& f, int s)
    {
        return (s < f.m_values.size() && f.m_values.at(s)) ? *f.m_values.at(s) : QList<QByteArray>();
    }
    static QList<QByteArray> sectionNames(const CIniFile& f)
    {
        return f.m_sectionNames.mid(0, f.m_nLastSection + 1);
    }
    static int lastSection(const CIniFile& f) { return f.m_nLastSection; }
    static int slotCount(const CIniFile& f) { return int(f.m_keys.size()); }
    static int valueSlotCount(const CIniFile& f) { return int(f.m_values.size()); }
    static void setModified(CIniFile& f) { f.m_bModified = true; }
    static bool readFailed(const CIniFile& f) { return f.m_bReadFailed; }
    static QString backupPath(const CIniFile& f) { return f.m_strBackupPath; }
    static void setOpenHook(QIODevice* (*hook)(const QString&)) { CIniFile::s_openForReadingHook = hook; }
};

namespace {

#if defined(Q_OS_LINUX)
// Runs child() in a forked process, so that what it changes for itself (file
// size limit, signal handling, user) stays out of the test runner, and checks
// that it ended with exit code 0. whenDone runs in this process as soon as the
// child has ended, before the checks: it undoes what was set up for the child.
// The caller returns when QTest::currentTestFailed().
void runInChild(const std::function<int()>& child, const std::function<void()>& whenDone = {})
{
    const pid_t pid = fork();
    QVERIFY(pid >= 0);
    if (pid == 0)
        _exit(child());
    int status = 0;
    const pid_t waited = waitpid(pid, &status, 0);
    if (whenDone)
        whenDone();
    QCOMPARE(waited, pid);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
}
#endif

// A device that gives some bytes and then fails: a read error in the middle
// of the file.
class FailingDevice : public QIODevice {
public:
    explicit FailingDevice(QByteArray data) : m_data(std::move(data))
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* out, qint64 max) override
    {
        if (m_pos >= m_data.size()) {
            setErrorString(QStringLiteral("simulated read error"));
            return -1;
        }
        const qint64 n = qMin<qint64>(max, m_data.size() - m_pos);
        memcpy(out, m_data.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_data;
    qsizetype m_pos = 0;
};

QIODevice* failingOpen(const QString&)
{
    return new FailingDevice("[Setup]\r\nLanguage=English\r\nAppName=Partial");
}

}  // namespace

class TestIniFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void construction();
    void readingRules();
    void readingRulesFixture();
    void spacedHeaderIsOtherSection();
    void commentLinesDropped();
    void headerOnlyWithBrackets_data();
    void headerOnlyWithBrackets();
    void unnamedSectionWrittenFirst();
    void emptyHeaderKeptWhenSaved();
    void tablesGrowInSteps();
    void duplicateSections();
    void duplicateKeys();
    void caseRules();
    void caseSensitiveStore();
    void nameComparisonEdges_data();
    void nameComparisonEdges();
    void valueChangeMarkingEdges_data();
    void valueChangeMarkingEdges();
    void doubleByteNamesKeepTrailBytes();
    void commentCuts_data();
    void commentCuts();
    void setStringMarking();
    void setStringAppendsNewSectionAtEnd();
    void setStringWithoutFile();
    void missingFileCreatedAndWritten();
    void openFailure();
    void writeFormatCrLf();
    void bytesPassThrough();
    void utf8ByteOrderMark();
    void laterLineByteOrderMarkSurvives_data();
    void laterLineByteOrderMarkSurvives();
    void saveWithoutChangesWritesNothing();
    void openAnotherFileSavesFirst();
    void closing_data();
    void closing();
    void backupNaming_data();
    void backupNaming();
    void backupNameReusedForLifeOfObject();
    void backupAfter999();
    void readErrorNeverWritesPartialContents();
    void saveIsAtomic();
    void inPlaceFallbackCutsTheFile();
    void readOnlyFileLeftAlone();
    void gbkText();
    void utf8Text();
    void decodeSettingsTextRules();
    void openInProgramDir();
    void directoryOfStartPath_data();
    void directoryOfStartPath();
    void programDirectoryFromArgv0();
    void tempProgramDirDefaultSettings();

private:
    QTemporaryDir* m_dir = nullptr;
    QString file(const QString& name = QStringLiteral("KQ-517.ini")) const { return m_dir->filePath(name); }
};

void TestIniFile::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
}

void TestIniFile::cleanup()
{
    IniFileInspector::setOpenHook(nullptr);
    delete m_dir;
    m_dir = nullptr;
}

void TestIniFile::construction()
{
    CIniFile ini(4);
    QVERIFY(!ini.isOpen());
    QVERIFY(!ini.isModified());
    QCOMPARE(ini.GetString("Setup", "Language", "dflt"), QByteArray("dflt"));
    QCOMPARE(IniFileInspector::slotCount(ini), 0);
    QCOMPARE(IniFileInspector::lastSection(ini), 0);
}

void TestIniFile::readingRules()
{
    QVERIFY(writeFile(file(), "  [Setup]  \r\nLanguage = Chinese \r\nLanguage=Chinese\r\nLanguage\r\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    QCOMPARE(IniFileInspector::sectionNames(ini), (QList<QByteArray>{"", "Setup"}));
    QCOMPARE(IniFileInspector::keys(ini, 0), QList<QByteArray>());
    QCOMPARE(IniFileInspector::keys(ini, 1), (QList<QByteArray>{"Language", "Language", "Language"}));
    QCOMPARE(IniFileInspector::values(ini, 1), (QList<QByteArray>{"Chinese", "Chinese", ""}));
    // The later pair wins.
    QCOMPARE(ini.GetString("Setup", "Language", "x"), QByteArray(""));

    IniFileInspector::setModified(ini);
    ini.Save(false);
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("[Setup]\r\nLanguage=Chinese\r\nLanguage=Chinese\r\nLanguage=\r\n"));
}

void TestIniFile::readingRulesFixture()
{
    const QByteArray text = readFile(QStringLiteral(KQ517_TEST_DATA "/settings/edge-cases.ini"), "<missing>");
    QVERIFY2(text.contains("\n  [Setup]  \n") && text.contains("Language = Chinese \n"),
             "the fixture must keep its blanks");
    QVERIFY(writeFile(file(), text));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        QCOMPARE(ini.GetString("", "top"), QByteArray("before any header"));
        QCOMPARE(ini.GetString("Setup", "#x"), QByteArray("1"));
        QCOMPARE(ini.GetString(" Setup ", "Spaced"), QByteArray("yes"));
        QCOMPARE(ini.GetString("", "Empty"), QByteArray());  // the first "" section is section 0
        QCOMPARE(IniFileInspector::sectionNames(ini),
                 (QList<QByteArray>{"", "Setup", " Setup ", "", "setup"}));
        QCOMPARE(IniFileInspector::values(ini, 3), QList<QByteArray>{"section"});
        IniFileInspector::setModified(ini);
    }
    QCOMPARE(readFile(file(), "<missing>"),
             QByteArray("top=before any header\r\n"
                        "[Setup]\r\nLanguage=Chinese\r\nLanguage=Chinese\r\nLanguage=\r\n#x=1\r\n"
                        "[ Setup ]\r\nSpaced=yes\r\n"
                        "[]\r\nEmpty=section\r\n"
                        "[setup]\r\nLanguage=Second section\r\n"));
}

void TestIniFile::spacedHeaderIsOtherSection()
{
    QVERIFY(writeFile(file(), "[ Setup ]\nLanguage=English\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    QCOMPARE(ini.GetString("Setup", "Language", "none"), QByteArray("none"));
    QCOMPARE(ini.GetString(" Setup ", "Language", "none"), QByteArray("English"));
}

void TestIniFile::commentLinesDropped()
{
    QVERIFY(writeFile(file(), "[S]\n;a=1\n/b=2\n\\c=3\n*d=4\n=e\n\n   \n\t\n#x=1\n k = v \n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    QCOMPARE(IniFileInspector::keys(ini, 1), (QList<QByteArray>{"#x", "k"}));
    QCOMPARE(IniFileInspector::values(ini, 1), (QList<QByteArray>{"1", "v"}));
}

void TestIniFile::headerOnlyWithBrackets_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("isHeader");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("plain") << QByteArray("[A]") << true << QByteArray("A");
    QTest::newRow("blanks outside") << QByteArray(" \t[A]\t ") << true << QByteArray("A");
    QTest::newRow("blanks inside") << QByteArray("[ A ]") << true << QByteArray(" A ");
    QTest::newRow("brackets inside") << QByteArray("[[A]]") << true << QByteArray("[A]");
    QTest::newRow("empty") << QByteArray("[]") << true << QByteArray("");
    QTest::newRow("open only") << QByteArray("[A") << false << QByteArray();
    QTest::newRow("lone bracket") << QByteArray("[") << false << QByteArray();
    QTest::newRow("text after") << QByteArray("[A] x") << false << QByteArray();
}

void TestIniFile::headerOnlyWithBrackets()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, isHeader);
    QFETCH(QByteArray, name);
    QVERIFY(writeFile(file(), line + "\r\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    if (isHeader) {
        QCOMPARE(IniFileInspector::lastSection(ini), 1);
        QCOMPARE(IniFileInspector::sectionNames(ini).value(1), name);
    } else {
        QCOMPARE(IniFileInspector::lastSection(ini), 0);
        QCOMPARE(IniFileInspector::keys(ini, 0), QList<QByteArray>{line.trimmed()});
    }
}

void TestIniFile::unnamedSectionWrittenFirst()
{
    QVERIFY(writeFile(file(), "a=1\nb=2\n"));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        QCOMPARE(ini.GetString("", "b"), QByteArray("2"));
        ini.SetString("Setup", "Language", "English");
        ini.SetString("", "c", "3");
    }
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("a=1\r\nb=2\r\nc=3\r\n[Setup]\r\nLanguage=English\r\n"));
}

void TestIniFile::emptyHeaderKeptWhenSaved()
{
    // A save (here the port mapping COM Setup's OK stores) writes the "[]"
    // header back, so the pairs after it do not replace those of [Setup].
    QVERIFY(writeFile(file(), "[Setup]\nType1=KQ-517\nField1=130 - 160MHz\n[]\nType1=Other\n"
                             "Field1=400 - 470MHz\n"));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        QCOMPARE(ini.GetString("Setup", "Type1"), QByteArray("KQ-517"));
        ini.SetString("Ports", "COM1", "/dev/ttyUSB1");
    }
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("[Setup]\r\nType1=KQ-517\r\nField1=130 - 160MHz\r\n[]\r\n"
                                         "Type1=Other\r\nField1=400 - 470MHz\r\n[Ports]\r\n"
                                         "COM1=/dev/ttyUSB1\r\n"));
    CIniFile again(4);
    QVERIFY(again.Open(file(), false, true, true, false));
    QCOMPARE(again.GetString("Setup", "Type1"), QByteArray("KQ-517"));
    QCOMPARE(again.GetString("Setup", "Field1"), QByteArray("130 - 160MHz"));
    QCOMPARE(again.GetString("Ports", "COM1"), QByteArray("/dev/ttyUSB1"));
}

void TestIniFile::tablesGrowInSteps()
{
    QByteArray text;
    for (int i = 1; i <= 9; ++i)
        text += "[S" + QByteArray::number(i) + "]\nk=" + QByteArray::number(i) + "\n";
    QVERIFY(writeFile(file(), text));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    QCOMPARE(IniFileInspector::lastSection(ini), 9);
    QCOMPARE(IniFileInspector::slotCount(ini), 12);
    QCOMPARE(IniFileInspector::valueSlotCount(ini), 12);
    QCOMPARE(ini.GetString("S9", "k"), QByteArray("9"));
    ini.SetString("S10", "k", "10");
    ini.SetString("S11", "k", "11");
    ini.SetString("S12", "k", "12");
    QCOMPARE(IniFileInspector::lastSection(ini), 12);
    QCOMPARE(IniFileInspector::slotCount(ini), 16);
    QCOMPARE(ini.GetString("S12", "k"), QByteArray("12"));

    CIniFile three(3);
    QVERIFY(three.Open(file(), false, true, true, false));
    QCOMPARE(IniFileInspector::slotCount(three), 12);
}

void TestIniFile::duplicateSections()
{
    QVERIFY(writeFile(file(), "[Setup]\nLanguage=English\n[Setup]\nLanguage=Chinese\nOnly=second\n"));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        QCOMPARE(ini.GetString("Setup", "Language"), QByteArray("English"));
        // Only the first section answers, even for a key it lacks.
        QCOMPARE(ini.GetString("Setup", "Only", "none"), QByteArray("none"));
        ini.SetString("Setup", "Only", "first");
    }
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("[Setup]\r\nLanguage=English\r\nOnly=first\r\n"
                                         "[Setup]\r\nLanguage=Chinese\r\nOnly=second\r\n"));
}

void TestIniFile::duplicateKeys()
{
    QVERIFY(writeFile(file(), "[Setup]\nLanguage=English\nLanguage=Chinese\n"));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        QCOMPARE(ini.GetString("Setup", "Language"), QByteArray("Chinese"));
        ini.SetString("Setup", "Language", "German");
        QCOMPARE(ini.GetString("Setup", "Language"), QByteArray("German"));
    }
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("[Setup]\r\nLanguage=English\r\nLanguage=German\r\n"));
}

void TestIniFile::caseRules()
{
    QVERIFY(writeFile(file(), "[SETUP]\nCompany=Halvorn\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    QCOMPARE(ini.GetString("Setup", "company"), QByteArray("Halvorn"));
    QCOMPARE(ini.GetString("setup", "COMPANY"), QByteArray("Halvorn"));
    ini.SetString("Setup", "COMPANY", "Other");
    QCOMPARE(IniFileInspector::keys(ini, 1), QList<QByteArray>{"Company"});  // the pair keeps its name
    QCOMPARE(ini.GetString("SeTuP", "Company"), QByteArray("Other"));
}

void TestIniFile::caseSensitiveStore()
{
    QVERIFY(writeFile(file(), "[SETUP]\nCompany=Halvorn\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, /*noCase*/ false, false));
    QCOMPARE(ini.GetString("Setup", "Company", "none"), QByteArray("none"));
    QCOMPARE(ini.GetString("SETUP", "company", "none"), QByteArray("none"));
    QCOMPARE(ini.GetString("SETUP", "Company", "none"), QByteArray("Halvorn"));
    // Without noCase a change of case alone marks the store.
    ini.SetString("SETUP", "Company", "HALVORN");
    QVERIFY(ini.isModified());
}

// Names compared without regard to case: the first and last letters of the
// alphabet fold, the characters just outside them (whose codes differ by the
// same 0x20) do not, and double-byte text folds only its ASCII letters.
void TestIniFile::nameComparisonEdges_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("asked");
    QTest::addColumn<bool>("noCase");
    QTest::addColumn<bool>("found");
    const auto row = [](const char* name, const char* stored, const char* asked, bool noCase, bool found) {
        QTest::newRow(name) << QByteArray(stored) << QByteArray(asked) << noCase << found;
    };
    row("A finds a", "nA", "na", true, true);
    row("a finds A", "na", "nA", true, true);
    row("Z finds z", "nZ", "nz", true, true);
    row("z finds Z", "nz", "nZ", true, true);
    row("whole name, both ends", "AZ", "az", true, true);
    row("@ is not `", "n@", "n`", true, false);
    row("` is not @", "n`", "n@", true, false);
    row("[ is not {", "n[", "n{", true, false);
    row("{ is not [", "n{", "n[", true, false);
    row("] is not }", "n]", "n}", true, false);
    row("backslash is not |", "n\\", "n|", true, false);
    row("^ is not ~", "n^", "n~", true, false);
    row("_ is not DEL", "n_", "n\x7f", true, false);
    row("digit is not letter", "n1", "nQ", true, false);
    // GBK: 0xC1 and 0xE1 are the lead bytes of two different characters (in
    // Latin-1 they would be a capital and a small letter).
    row("GBK lead bytes 0xC1/0xE1 differ", "\xC1\xA1", "\xE1\xA1", true, false);
    row("GBK trail bytes 0xD0/0xF0 differ", "\xD6\xD0", "\xD6\xF0", true, false);
    row("GBK text itself", "\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4", true, true);
    row("GBK text, ASCII letter after it folds", "\xD6\xD0\xCE\xC4Z", "\xD6\xD0\xCE\xC4z", true, true);
    row("GBK text, ASCII letter before it folds", "A\xD6\xD0", "a\xD6\xD0", true, true);
    row("UTF-8 text itself", "\xE4\xB8\xAD\xE6\x96\x87", "\xE4\xB8\xAD\xE6\x96\x87", true, true);
    row("UTF-8 text, ASCII letters around it fold", "Z\xE4\xB8\xAD" "A", "z\xE4\xB8\xAD" "a", true, true);
    row("UTF-8 characters one 0x20 apart differ", "\xE4\xB8\xAD", "\xE4\xB8\x8D", true, false);
    row("byte-wise: A is not a", "nA", "na", false, false);
    row("byte-wise: Z is not z", "nZ", "nz", false, false);
    row("byte-wise: GBK text itself", "\xD6\xD0\xCE\xC4", "\xD6\xD0\xCE\xC4", false, true);
}

void TestIniFile::nameComparisonEdges()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, asked);
    QFETCH(bool, noCase);
    QFETCH(bool, found);
    // The same name as a section and as a key, with neighbours that must not answer.
    QVERIFY(writeFile(file(), "[other]\n" + stored + "=wrong section\n[" + stored + "]\nkey=by section\nnot "
                                 + stored + "=wrong key\n" + stored + "=by key\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, noCase, false));
    QCOMPARE(ini.GetString(stored, "key", "none"), QByteArray("by section"));  // the name as it stands
    QCOMPARE(ini.GetString(asked, "key", "none"), QByteArray(found ? "by section" : "none"));
    QCOMPARE(ini.GetString(stored, asked, "none"), QByteArray(found ? "by key" : "none"));
}

// With names compared without regard to case, a value that changes only the
// case of its letters is stored without marking the store; any other change,
// also one to a character 0x20 away from a letter, marks it.
void TestIniFile::valueChangeMarkingEdges_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("marked");
    QTest::newRow("A to a") << QByteArray("vA") << QByteArray("va") << false;
    QTest::newRow("z to Z") << QByteArray("vz") << QByteArray("vZ") << false;
    QTest::newRow("@ to `") << QByteArray("v@") << QByteArray("v`") << true;
    QTest::newRow("[ to {") << QByteArray("v[") << QByteArray("v{") << true;
    QTest::newRow("GBK 0xC1 to 0xE1") << QByteArray("\xC1\xA1") << QByteArray("\xE1\xA1") << true;
}

void TestIniFile::valueChangeMarkingEdges()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(bool, marked);
    QVERIFY(writeFile(file(), "[Setup]\nk=" + before + "\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    ini.SetString("Setup", "k", after);
    QCOMPARE(ini.isModified(), marked);
    QCOMPARE(ini.GetString("Setup", "k"), after);  // stored either way
}

void TestIniFile::doubleByteNamesKeepTrailBytes()
{
    // GBK 0x81 0x41 and 0x81 0x61 are two different characters whose second
    // bytes look like "A" and "a".
    QVERIFY(writeFile(file(), "[\x81\x41]\nk=upper\n[\x81\x61]\nk=lower\n[Ab\x81\x41]\nk=mixed\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    QCOMPARE(ini.GetString("\x81\x41", "k"), QByteArray("upper"));
    QCOMPARE(ini.GetString("\x81\x61", "k"), QByteArray("lower"));
    QCOMPARE(ini.GetString("aB\x81\x41", "k"), QByteArray("mixed"));
    QCOMPARE(ini.GetString("aB\x81\x61", "k", "none"), QByteArray("none"));
    // UTF-8 names fold their ASCII letters after a multi-byte character.
    ini.SetString("中a", "K", "v");
    QCOMPARE(ini.GetString("中A", "k"), QByteArray("v"));
}

void TestIniFile::commentCuts_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QByteArray>("returned");
    QTest::newRow("double slash") << QByteArray("English // default") << QByteArray("English ");
    QTest::newRow("semicolon stays") << QByteArray("a;b") << QByteArray("a;b");
    QTest::newRow("tab semicolon") << QByteArray("a\t;b") << QByteArray("a");
    QTest::newRow("blank semicolon stays") << QByteArray("a ;b") << QByteArray("a ;b");
    QTest::newRow("slash star") << QByteArray("x /* c */") << QByteArray("x ");
    QTest::newRow("single slash stays") << QByteArray("a/b") << QByteArray("a/b");
    QTest::newRow("order: // then tab;") << QByteArray("a\t;b//c") << QByteArray("a");
    QTest::newRow("order: /* after //") << QByteArray("a/*b//c") << QByteArray("a");
    QTest::newRow("whole comment") << QByteArray("//all") << QByteArray("");
    QTest::newRow("url") << QByteArray("http://x") << QByteArray("http:");
}

void TestIniFile::commentCuts()
{
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, returned);
    // Through the file (values are trimmed at reading) ...
    QVERIFY(writeFile(file(), "[S]\nk=" + stored + "\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    QCOMPARE(ini.GetString("S", "k"), returned);
    // ... and through SetString (untrimmed): the stored value stays whole.
    ini.SetString("S", "k2", stored);
    QCOMPARE(ini.GetString("S", "k2"), returned);
    QCOMPARE(IniFileInspector::values(ini, 1).value(1), stored);
}

void TestIniFile::setStringMarking()
{
    QVERIFY(writeFile(file(), "; comment\n[Setup]\nLanguage=English\n"));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        ini.SetString("Setup", "Language", "English");
        QVERIFY(!ini.isModified());
        ini.SetString("Setup", "Language", "ENGLISH");  // case alone: stored, not marked
        QVERIFY(!ini.isModified());
        QCOMPARE(ini.GetString("Setup", "Language"), QByteArray("ENGLISH"));
    }
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("; comment\n[Setup]\nLanguage=English\n"));  // untouched
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        ini.SetString("Setup", "Language", "Chinese");
        QVERIFY(ini.isModified());
    }
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("[Setup]\r\nLanguage=Chinese\r\n"));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        ini.SetString("Setup", "New", "");  // a new pair marks even with an empty value
        QVERIFY(ini.isModified());
    }
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("[Setup]\r\nLanguage=Chinese\r\nNew=\r\n"));
}

void TestIniFile::setStringAppendsNewSectionAtEnd()
{
    QVERIFY(writeFile(file(), "[A]\nx=1\n[B]\ny=2\n"));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        ini.SetString("C", "z", "3");
        ini.SetString("A", "w", "0");
    }
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("[A]\r\nx=1\r\nw=0\r\n[B]\r\ny=2\r\n[C]\r\nz=3\r\n"));
}

void TestIniFile::setStringWithoutFile()
{
    CIniFile ini(4);
    ini.SetString("Setup", "Language", "English");
    QVERIFY(!ini.isModified());
    QCOMPARE(ini.GetString("Setup", "Language", "d"), QByteArray("d"));
    QCOMPARE(ini.Save(false), QString());
}

void TestIniFile::missingFileCreatedAndWritten()
{
    QVERIFY(!QFile::exists(file()));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        QVERIFY(QFile::exists(file()));  // created empty at Open
        QCOMPARE(readFile(file(), "<missing>"), QByteArray());
        QCOMPARE(ini.GetString("Setup", "Language"), QByteArray());
        ini.SetString("Setup", "Language", "English");
    }
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("[Setup]\r\nLanguage=English\r\n"));
}

void TestIniFile::openFailure()
{
    {
        CIniFile ini(4);
        QVERIFY(!ini.Open(m_dir->filePath(QStringLiteral("no/such/folder/KQ-517.ini")), true, true, true, false));
        QVERIFY(!ini.isOpen());
        ini.SetString("Setup", "Language", "English");
        QCOMPARE(ini.GetString("Setup", "Language", "d"), QByteArray("d"));
    }
    QVERIFY(!QFileInfo::exists(m_dir->filePath(QStringLiteral("no"))));

    // A folder in place of the file.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("KQ-517.ini")));
    CIniFile ini(4);
    QVERIFY(!ini.Open(file(), true, true, true, false));
    QVERIFY(!ini.isOpen());
}

void TestIniFile::writeFormatCrLf()
{
    QVERIFY(writeFile(file(), "[Setup]\nk1 = v1\nk2=\nk3\n"));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        IniFileInspector::setModified(ini);
    }
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("[Setup]\r\nk1=v1\r\nk2=\r\nk3=\r\n"));
    // Reading CR LF back gives the same store.
    CIniFile again(4);
    QVERIFY(again.Open(file(), false, true, true, false));
    QCOMPARE(IniFileInspector::keys(again, 1), (QList<QByteArray>{"k1", "k2", "k3"}));
    QCOMPARE(IniFileInspector::values(again, 1), (QList<QByteArray>{"v1", "", ""}));
}

void TestIniFile::bytesPassThrough()
{
    QByteArray odd("\x80\x81\xfe\xff \xc3\xa9 \x01x");
    QVERIFY(writeFile(file(), "[S]\nk=" + odd + "\nlast=no newline at end"));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        QCOMPARE(ini.GetString("S", "k"), odd);
        QCOMPARE(ini.GetString("S", "last"), QByteArray("no newline at end"));
        IniFileInspector::setModified(ini);
    }
    QCOMPARE(readFile(file(), "<missing>"), "[S]\r\nk=" + odd + "\r\nlast=no newline at end\r\n");
}

void TestIniFile::utf8ByteOrderMark()
{
    QVERIFY(writeFile(file(), "\xEF\xBB\xBF[Setup]\r\nLanguage=Chinese\r\n"));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        QCOMPARE(IniFileInspector::sectionNames(ini), (QList<QByteArray>{"", "Setup"}));
        QCOMPARE(ini.GetString("Setup", "Language"), QByteArray("Chinese"));
        ini.SetString("Setup", "Language", "English");
    }
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("\xEF\xBB\xBF[Setup]\r\nLanguage=English\r\n"));
    // A file of the mark alone, or shorter than the mark.
    QVERIFY(writeFile(file(), "\xEF\xBB\xBF"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    QCOMPARE(IniFileInspector::keys(ini, 0), QList<QByteArray>());
    QVERIFY(writeFile(file("short.ini"), "a"));
    QVERIFY(ini.Open(file("short.ini"), false, true, true, false));
    QCOMPARE(IniFileInspector::keys(ini, 0), QList<QByteArray>{"a"});
    // Not a mark in the middle of the file.
    QVERIFY(writeFile(file("mid.ini"), "a=1\n\xEF\xBB\xBF[S]\n"));
    QVERIFY(ini.Open(file("mid.ini"), false, true, true, false));
    QCOMPARE(IniFileInspector::lastSection(ini), 0);
}

// A line that starts with its own byte order mark (two files joined): after a
// change, a save and a new Open it reads exactly as it did, and a second
// round writes the same bytes again.
void TestIniFile::laterLineByteOrderMarkSurvives_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("line");  // the marked line, as written back
    QTest::newRow("key after a comment")
        << QByteArray("; joined file\r\n\xEF\xBB\xBF" "AppName=Other\r\n[Setup]\r\nLanguage=English\r\n")
        << QByteArray("\xEF\xBB\xBF" "AppName=Other\r\n");
    QTest::newRow("header-like line after a blank line")
        << QByteArray("\r\n\xEF\xBB\xBF[Other]\r\nk=1\r\n[Setup]\r\nLanguage=English\r\n")
        << QByteArray("\xEF\xBB\xBF[Other]=\r\n");  // a key without "=" is written with one
    QTest::newRow("file with its own mark as well")
        << QByteArray("\xEF\xBB\xBF; first\r\n\xEF\xBB\xBFk=2\r\n[Setup]\r\nLanguage=English\r\n")
        << QByteArray("\xEF\xBB\xBFk=2\r\n");
    QTest::newRow("marked line inside a section")
        << QByteArray("[Setup]\r\n; joined\r\n\xEF\xBB\xBFType1=KQ-517\r\nLanguage=English\r\n")
        << QByteArray("\xEF\xBB\xBFType1=KQ-517\r\n");
}

void TestIniFile::laterLineByteOrderMarkSurvives()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, line);
    QVERIFY(writeFile(file(), text));
    QList<QByteArray> names;
    QList<QList<QByteArray>> keys;
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        names = IniFileInspector::sectionNames(ini);
        for (int s = 0; s < names.size(); ++s)
            keys.append(IniFileInspector::keys(ini, s));
        ini.SetString("Setup", "Language", "Chinese");
    }
    const QByteArray saved = readFile(file(), "<missing>");
    QVERIFY2(saved.contains(line), saved.constData());
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        QCOMPARE(IniFileInspector::sectionNames(ini), names);
        for (int s = 0; s < names.size(); ++s)
            QCOMPARE(IniFileInspector::keys(ini, s), keys.at(s));
        QCOMPARE(ini.GetString("Setup", "Language"), QByteArray("Chinese"));
        ini.SetString("Setup", "Language", "English");
        ini.SetString("Setup", "Language", "Chinese");
    }
    QCOMPARE(readFile(file(), "<missing>"), saved);
}

void TestIniFile::saveWithoutChangesWritesNothing()
{
    const QByteArray text("; keep me\n[Setup]\nLanguage=English\n");
    QVERIFY(writeFile(file(), text));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, true));
        QCOMPARE(ini.Save(true), QString());
    }
    QCOMPARE(readFile(file(), "<missing>"), text);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"KQ-517.ini"});  // no backup
}

void TestIniFile::openAnotherFileSavesFirst()
{
    QVERIFY(writeFile(file("a.ini"), "[A]\nx=1\n"));
    QVERIFY(writeFile(file("b.ini"), "[B]\ny=2\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file("a.ini"), false, true, true, false));  // even without writeOnClose
    ini.SetString("A", "x", "changed");
    QVERIFY(ini.Open(file("b.ini"), false, true, true, false));
    QCOMPARE(readFile(file("a.ini"), "<missing>"), QByteArray("[A]\r\nx=changed\r\n"));
    QVERIFY(!ini.isModified());
    QCOMPARE(ini.GetString("A", "x", "none"), QByteArray("none"));
    QCOMPARE(ini.GetString("B", "y"), QByteArray("2"));
}

// Closing the store writes it back only when asked to, and backs the old
// file up first only when asked to; nothing reaches the disk before the close.
void TestIniFile::closing_data()
{
    QTest::addColumn<bool>("writeOnClose");
    QTest::addColumn<bool>("backupOnClose");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QByteArray>("backup");  // empty: no backup file
    const QByteArray old("[Setup]\nLanguage=English\n");
    const QByteArray changed("[Setup]\r\nLanguage=Chinese\r\n");
    QTest::newRow("write on close") << true << false << changed << QByteArray();
    QTest::newRow("not asked to write") << false << false << old << QByteArray();
    QTest::newRow("backup on close") << true << true << changed << old;
}

void TestIniFile::closing()
{
    QFETCH(bool, writeOnClose);
    QFETCH(bool, backupOnClose);
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, backup);
    const QByteArray old("[Setup]\nLanguage=English\n");
    QVERIFY(writeFile(file(), old));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), writeOnClose, true, true, backupOnClose));
        ini.SetString("Setup", "Language", "Chinese");
        QCOMPARE(readFile(file(), "<missing>"), old);  // not yet
    }
    QCOMPARE(readFile(file(), "<missing>"), after);
    QCOMPARE(QFileInfo::exists(file("KQ-517.ini.001")), !backup.isEmpty());
    if (!backup.isEmpty())
        QCOMPARE(readFile(file("KQ-517.ini.001"), "<missing>"), backup);
}

void TestIniFile::backupNaming_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList() << "KQ-517.ini.001";
    QTest::newRow("001 and 007") << QStringList{"KQ-517.ini.001", "KQ-517.ini.007"} << "KQ-517.ini.008";
    QTest::newRow("dat counts 0") << QStringList{"KQ-517.dat"} << "KQ-517.ini.001";
    QTest::newRow("other stem ignored") << QStringList{"Other.ini.050", "KQ.ini.090"} << "KQ-517.ini.001";
    QTest::newRow("same stem, any ending") << QStringList{"KQ-517-old.041"} << "KQ-517.ini.042";
    QTest::newRow("blank and sign") << QStringList{"KQ-517.ini. 12", "KQ-517.ini.-50"} << "KQ-517.ini.013";
    QTest::newRow("folder counts too") << QStringList{"KQ-517.ini.020/"} << "KQ-517.ini.021";
    QTest::newRow("999") << QStringList{"KQ-517.ini.999"} << "KQ-517.ini.1000";
    QTest::newRow("1000 reads as 0") << QStringList{"KQ-517.ini.1000", "KQ-517.ini.003"} << "KQ-517.ini.004";
}

void TestIniFile::backupNaming()
{
    QFETCH(QStringList, present);
    QFETCH(QString, expected);
    for (const QString& name : present) {
        if (name.endsWith(QLatin1Char('/')))
            QVERIFY(QDir(m_dir->path()).mkdir(name.chopped(1)));
        else
            QVERIFY(writeFile(file(name), "old backup"));
    }
    QVERIFY(writeFile(file(), "[Setup]\nLanguage=English\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    ini.SetString("Setup", "Language", "Chinese");
    QCOMPARE(ini.Save(true), file(expected));
    QCOMPARE(readFile(file(expected), "<missing>"), QByteArray("[Setup]\nLanguage=English\n"));
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("[Setup]\r\nLanguage=Chinese\r\n"));
    QVERIFY(ini.isModified());  // stays set after a save
}

void TestIniFile::backupNameReusedForLifeOfObject()
{
    QVERIFY(writeFile(file(), "[Setup]\nLanguage=English\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    ini.SetString("Setup", "Language", "Chinese");
    QCOMPARE(ini.Save(true), file("KQ-517.ini.001"));
    ini.SetString("Setup", "Language", "German");
    QCOMPARE(ini.Save(true), file("KQ-517.ini.001"));  // same name, replaced
    QCOMPARE(readFile(file("KQ-517.ini.001"), "<missing>"), QByteArray("[Setup]\r\nLanguage=Chinese\r\n"));
    QVERIFY(!QFile::exists(file("KQ-517.ini.002")));
    // A save without backup returns the name of the earlier backup.
    QCOMPARE(ini.Save(false), file("KQ-517.ini.001"));
    // ... and so does a save after reopening (the name stays with the object).
    QVERIFY(ini.Open(file(), false, true, true, false));
    ini.SetString("Setup", "Language", "English");
    QCOMPARE(ini.Save(true), file("KQ-517.ini.001"));
    QCOMPARE(readFile(file("KQ-517.ini.001"), "<missing>"), QByteArray("[Setup]\r\nLanguage=German\r\n"));
}

void TestIniFile::backupAfter999()
{
    QVERIFY(writeFile(file("KQ-517.ini.999"), "999"));
    QVERIFY(writeFile(file(), "[S]\nv=0\n"));
    for (int round = 1; round <= 3; ++round) {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), false, true, true, false));
        ini.SetString("S", "v", QByteArray::number(round));
        QCOMPARE(ini.Save(true), file("KQ-517.ini.1000"));
        const QByteArray previous =
            round == 1 ? QByteArray("[S]\nv=0\n") : "[S]\r\nv=" + QByteArray::number(round - 1) + "\r\n";
        QCOMPARE(readFile(file("KQ-517.ini.1000"), "<missing>"), previous);
    }
}

void TestIniFile::readErrorNeverWritesPartialContents()
{
    const QByteArray text("[Setup]\r\nLanguage=English\r\nAppName=Partial but whole here\r\nType1=KQ-517\r\n");
    QVERIFY(writeFile(file(), text));
    IniFileInspector::setOpenHook(&failingOpen);
    {
        CIniFile ini(4);
        QVERIFY(!ini.Open(file(), true, true, true, true));
        QVERIFY(IniFileInspector::readFailed(ini));
        // What was read may still answer lookups ...
        QCOMPARE(ini.GetString("Setup", "Language"), QByteArray("English"));
        // ... but is never written back, not by Save, not at close.
        ini.SetString("Setup", "Language", "Chinese");
        QCOMPARE(ini.Save(true), QString());
        IniFileInspector::setOpenHook(nullptr);
    }
    QCOMPARE(readFile(file(), "<missing>"), text);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{"KQ-517.ini"});

    // Opening another file must not write the partial contents either, and
    // the new file is then written normally.
    IniFileInspector::setOpenHook(&failingOpen);
    CIniFile ini(4);
    QVERIFY(!ini.Open(file(), true, true, true, false));
    ini.SetString("Setup", "Language", "Chinese");
    IniFileInspector::setOpenHook(nullptr);
    QVERIFY(ini.Open(file("other.ini"), true, true, true, false));
    QVERIFY(!IniFileInspector::readFailed(ini));
    QCOMPARE(readFile(file(), "<missing>"), text);
    ini.SetString("S", "k", "v");
    ini.Close();
    QCOMPARE(readFile(file("other.ini"), "<missing>"), QByteArray("[S]\r\nk=v\r\n"));
}

void TestIniFile::saveIsAtomic()
{
#if defined(Q_OS_LINUX)
    // A save that cannot write its text (file size limit) leaves the old file
    // whole and no stray file behind. Run in a child process: the limit and
    // the ignored SIGXFSZ must not touch the test runner.
    const QByteArray old("[Setup]\r\nLanguage=English\r\n");
    QVERIFY(writeFile(file(), old));
    runInChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit lim {};
        lim.rlim_cur = lim.rlim_max = 64;
        setrlimit(RLIMIT_FSIZE, &lim);
        int rc = 0;
        {
            CIniFile ini(4);
            if (!ini.Open(file(), true, true, true, false))
                rc = 3;
            ini.SetString("Setup", "Big", QByteArray(4000, 'x'));
            if (!ini.Save(false).isEmpty())
                rc = 4;
            if (!ini.isModified())
                rc = 5;
        }  // the close tries again and fails again
        return rc;
    });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(readFile(file(), "<missing>"), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"KQ-517.ini"});
#else
    QSKIP("needs Linux (file size limit in a child process)");
#endif
}

void TestIniFile::inPlaceFallbackCutsTheFile()
{
#if defined(Q_OS_LINUX)
    // The folder may not be written (no atomic save possible), the file may:
    // the file is rewritten in place and ends where the new text ends.
    QByteArray old("[Setup]\r\n");
    for (int i = 0; i < 50; ++i)
        old += "; a comment line that makes the old file much longer than the new text\r\n";
    old += "Language=English\r\n";
    QVERIFY(writeFile(file(), old));
    const QByteArray dirPath = QFile::encodeName(m_dir->path());
    const QByteArray filePath = QFile::encodeName(file());
    const bool root = geteuid() == 0;
    const uid_t nobody = 65534;
    if (root)
        QCOMPARE(chown(filePath.constData(), nobody, nobody), 0);
    QCOMPARE(chmod(dirPath.constData(), 0555), 0);
    QCOMPARE(chmod(filePath.constData(), 0644), 0);

    runInChild(
        [&] {
            if (root && (setgid(nobody) != 0 || setuid(nobody) != 0))
                return 2;
            int rc = 0;
            {
                CIniFile ini(4);
                if (!ini.Open(QFile::decodeName(filePath), false, true, true, false))
                    rc = 3;
                ini.SetString("Setup", "Language", "Chinese");
                ini.Save(false);
            }
            return rc;
        },
        [&] { chmod(dirPath.constData(), 0700); });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(readFile(file(), "<missing>"), QByteArray("[Setup]\r\nLanguage=Chinese\r\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"KQ-517.ini"});
#else
    QSKIP("needs Linux (permissions in a child process)");
#endif
}

void TestIniFile::readOnlyFileLeftAlone()
{
#if defined(Q_OS_LINUX)
    // A file that may not be written is not replaced, even though the folder
    // would allow it (the original could open it neither way).
    const QByteArray old("[Setup]\r\nLanguage=English\r\n");
    QVERIFY(writeFile(file(), old));
    const QByteArray filePath = QFile::encodeName(file());
    const bool root = geteuid() == 0;
    const uid_t nobody = 65534;
    QCOMPARE(chmod(QFile::encodeName(m_dir->path()).constData(), 0777), 0);
    QCOMPARE(chmod(filePath.constData(), 0444), 0);
    runInChild(
        [&] {
            if (root && (setgid(nobody) != 0 || setuid(nobody) != 0))
                return 2;
            int rc = 0;
            {
                CIniFile ini(4);
                if (!ini.Open(QFile::decodeName(filePath), true, true, true, false))
                    rc = 3;
                ini.SetString("Setup", "Language", "Chinese");
                if (!ini.Save(false).isEmpty())
                    rc = 4;
            }
            return rc;
        },
        [&] { chmod(QFile::encodeName(m_dir->path()).constData(), 0700); });
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(readFile(file(), "<missing>"), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"KQ-517.ini"});
#else
    QSKIP("needs Linux");
#endif
}

void TestIniFile::gbkText()
{
    const QString fixture = QStringLiteral(KQ517_TEST_DATA "/settings/gbk.ini");
    const QByteArray bytes = readFile(fixture, "<missing>");
    // The fixture really holds GBK: "编程" is B1 E0 B3 CC.
    QVERIFY(bytes.contains("\xB1\xE0\xB3\xCC"));
    QVERIFY(writeFile(file(), bytes));
    {
        CIniFile ini(4);
        QVERIFY(ini.Open(file(), true, true, true, false));
        QCOMPARE(ini.GetString("Chinese", "AppName"), QByteArray("KQ-517 \xB1\xE0\xB3\xCC\xC8\xED\xBC\xFE"));
        QCOMPARE(ini.GetText("Chinese", "AppName"), QStringLiteral("KQ-517 编程软件"));
        QCOMPARE(ini.GetText("Chinese", "Title"), QStringLiteral("信道信息"));
        QCOMPARE(ini.GetText("Setup", "Type2"), QStringLiteral("对讲机"));
        QCOMPARE(ini.GetText("Setup", "Type1"), QStringLiteral("KQ-517"));
        QCOMPARE(ini.GetText("Setup", "Missing", QStringLiteral("dflt")), QStringLiteral("dflt"));
        QCOMPARE(ini.GetText("Nowhere", "Missing"), QString());
        IniFileInspector::setModified(ini);
    }
    // Written back byte for byte (the fixture has CR LF line ends already).
    QCOMPARE(readFile(file(), "<missing>"), bytes);
}

void TestIniFile::utf8Text()
{
    QVERIFY(writeFile(file(), "[Chinese]\nAppName=KQ-517 编程软件 // comment\n"));
    CIniFile ini(4);
    QVERIFY(ini.Open(file(), false, true, true, false));
    QCOMPARE(ini.GetText("Chinese", "AppName"), QStringLiteral("KQ-517 编程软件 "));
}

void TestIniFile::decodeSettingsTextRules()
{
    QCOMPARE(decodeSettingsText(QByteArray()), QString());
    QCOMPARE(decodeSettingsText("plain ASCII"), QStringLiteral("plain ASCII"));
    QCOMPARE(decodeSettingsText("\xE4\xBF\xA1\xE9\x81\x93"), QStringLiteral("信道"));    // UTF-8
    QCOMPARE(decodeSettingsText("\xD0\xC5\xB5\xC0"), QStringLiteral("信道"));            // GBK
    QCOMPARE(decodeSettingsText("\xBC\xD3\xD4\xD8"), QStringLiteral("加载"));            // GBK
    // Bytes that are neither still give some text, never a crash.
    QVERIFY(!decodeSettingsText("\xFF\xFF\x80").isNull());
}

void TestIniFile::openInProgramDir()
{
    TempProgramDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(CIniFile::programDirectory(), dir.path());
    QCOMPARE(g_strProgramDir, dir.path() + QLatin1Char('/'));
    QVERIFY(dir.writeSettings("[Setup]\r\nLanguage=Chinese\r\n"));
    {
        CIniFile ini(4);
        QVERIFY(ini.OpenInProgramDir(QStringLiteral("KQ-517.ini"), true, true, true, false));
        QCOMPARE(QFileInfo(ini.path()).canonicalFilePath(), QFileInfo(dir.filePath("KQ-517.ini")).canonicalFilePath());
        QCOMPARE(ini.GetString("Setup", "Language"), QByteArray("Chinese"));
    }
    {
        // The Language dialog's file: created when missing, written at close.
        CIniFile halvorn(4);
        QVERIFY(halvorn.OpenInProgramDir(QStringLiteral("Halvorn.ini"), true, true, true, false));
        halvorn.SetString("Setup", "Language", "English");
    }
    QCOMPARE(dir.readFile(QStringLiteral("Halvorn.ini")), QByteArray("[Setup]\r\nLanguage=English\r\n"));

    // A trailing separator given to setProgramDirectory is dropped.
    CIniFile::setProgramDirectory(dir.path() + QLatin1Char('/'));
    QCOMPARE(CIniFile::programDirectory(), dir.path());
}

void TestIniFile::directoryOfStartPath_data()
{
    QTest::addColumn<QString>("startPath");
    QTest::addColumn<QString>("expected");
    QTest::newRow("absolute") << "/opt/kq517/bin/KQ_517" << "/opt/kq517/bin";
    QTest::newRow("relative") << "./KQ_517" << ".";
    QTest::newRow("nested relative") << "bin/KQ_517" << "bin";
    QTest::newRow("root") << "/KQ_517" << "/";
    QTest::newRow("bare name") << "KQ_517" << QDir::currentPath();
    QTest::newRow("empty") << "" << QDir::currentPath();
}

void TestIniFile::directoryOfStartPath()
{
    QFETCH(QString, startPath);
    QFETCH(QString, expected);
    QCOMPARE(CIniFile::directoryOfStartPath(startPath), expected);
}

void TestIniFile::programDirectoryFromArgv0()
{
    const QString saved = CIniFile::setProgramDirectory(QString());
    const QString argv0 = QCoreApplication::arguments().value(0);
    const QString expected = CIniFile::directoryOfStartPath(argv0);
    const QString got = CIniFile::programDirectory();
    CIniFile::setProgramDirectory(saved);
    QCOMPARE(got, expected);
    QCOMPARE(QFileInfo(got).canonicalFilePath(),
             QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath());
}

void TestIniFile::tempProgramDirDefaultSettings()
{
    const QString before = CIniFile::programDirectory();
    {
        TempProgramDir dir;
        QVERIFY(dir.copyDefaultSettings());
        QVERIFY(dir.openSettingsAndLanguage());
        QCOMPARE(g_settings.GetText("Setup", "Type1"), QStringLiteral("KQ-517"));
        QCOMPARE(g_settings.GetText("Setup", "Field1"), QStringLiteral("130 - 160MHz"));
        QCOMPARE(g_strLanguage, QStringLiteral("English"));
        QVERIFY(!g_bChinese);
        QVERIFY(g_settings.isOpen());
    }
    QVERIFY(!g_settings.isOpen());
    QCOMPARE(CIniFile::programDirectory(), before);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
