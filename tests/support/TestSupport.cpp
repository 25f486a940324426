#include "tests/support/TestSupport.h"

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/KQ_517Doc.h"
#include "codeplug/MemoryImage.h"
#include "texts/CellTexts.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

// ---------------------------------------------------------------------------
// TempProgramDir
// ---------------------------------------------------------------------------

TempProgramDir::TempProgramDir()
{
    m_oldStrProgramDir = g_strProgramDir;
    m_oldLanguage = g_strLanguage;
    m_oldChinese = g_bChinese;
    m_oldProgramDirectory = CIniFile::setProgramDirectory(m_dir.path());
    if (m_dir.isValid())
        g_strProgramDir = m_dir.path() + QLatin1Char('/');
    else
        CIniFile::setProgramDirectory(m_oldProgramDirectory);
}

TempProgramDir::~TempProgramDir()
{
    const QString mine = QDir::cleanPath(m_dir.path()) + QLatin1Char('/');
    if (g_settings.isOpen() && QDir::cleanPath(g_settings.path()).startsWith(mine))
        g_settings.Close();  // writes back into the folder when changed
    CIniFile::setProgramDirectory(m_oldProgramDirectory);
    g_strProgramDir = m_oldStrProgramDir;
    g_strLanguage = m_oldLanguage;
    g_bChinese = m_oldChinese;
}

bool TempProgramDir::isValid() const
{
    return m_dir.isValid();
}

QString TempProgramDir::path() const
{
    return m_dir.path();
}

QString TempProgramDir::filePath(const QString& name) const
{
    return m_dir.filePath(name);
}

bool TempProgramDir::writeSettings(const QByteArray& text, const QString& fileName)
{
    QFile f(filePath(fileName));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(text) == text.size();
}

bool TempProgramDir::copyDefaultSettings()
{
    QFile src(QStringLiteral(KQ517_SOURCE_DIR "/resources/KQ-517.ini"));
    if (!src.open(QIODevice::ReadOnly))
        return false;
    return writeSettings(src.readAll());
}

QByteArray TempProgramDir::readFile(const QString& name) const
{
    QFile f(filePath(name));
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool TempProgramDir::openSettings(bool writeOnClose)
{
    return g_settings.OpenInProgramDir(QStringLiteral("KQ-517.ini"), writeOnClose, true, true, false);
}

bool TempProgramDir::openSettingsAndLanguage(bool writeOnClose)
{
    const bool ok = openSettings(writeOnClose);
    g_strLanguage = g_settings.GetText("Setup", "Language");
    g_bChinese = g_strLanguage == QStringLiteral("Chinese");
    return ok;
}

// ---------------------------------------------------------------------------
// TempUserStore
// ---------------------------------------------------------------------------

TempUserStore::TempUserStore()
{
    m_hadValue = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    m_oldValue = qgetenv("XDG_CONFIG_HOME");
    if (m_dir.isValid())
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
}

TempUserStore::~TempUserStore()
{
    if (m_hadValue)
        qputenv("XDG_CONFIG_HOME", m_oldValue);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

bool TempUserStore::isValid() const
{
    return m_dir.isValid();
}

QString TempUserStore::path() const
{
    return m_dir.path();
}

void setCells(ChannelTable& table, int channel, const QStringList& cells)
{
    for (int c = 0; c < cells.size(); ++c)
        table.setCell(channel, ChannelTable::ColRx + c, cells.at(c));
}

void putChannel(CKQ_517Doc& doc, int channel, const QStringList& cells)
{
    ChannelTable table(moduleCellWords(false));
    for (int c = 1; c <= 5; ++c)
        table.setCell(channel, c, cells.value(c - 1));
    MemoryImage image = doc.image();
    table.encodeChannel(image, channel);
    doc.setChannel(channel, Channel::fromRecord(image.channel(channel)));
}

QByteArray readFile(const QString& path, const QByteArray& missing)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : missing;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

MemoryImage patternImage(int seed, int step)
{
    MemoryImage image;
    for (int i = 0; i < layout::kImageSize; ++i)
        image.set(i, std::uint8_t((i * step + seed) & 0xFF));
    return image;
}

texts::TextTable moduleTable(const QString& language)
{
    QFile file(QStringLiteral(KQ517_SOURCE_DIR "/resources/%1/strings.json").arg(language));
    return file.open(QIODevice::ReadOnly) ? texts::TextTable::fromJson(file.readAll()) : texts::TextTable();
}

QStringList placeholders(const QString& text)
{
    static const QRegularExpression marker(QStringLiteral("%\\d+"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    found.sort();
    found.removeDuplicates();
    return found;
}

void checkIdsInBothModules(int first, int last, int atLeast)
{
    const texts::TextTable english = moduleTable(QStringLiteral("English"));
    const texts::TextTable chinese = moduleTable(QStringLiteral("Chinese"));
    int count = 0;
    for (int id = first; id <= last; ++id) {
        QCOMPARE(english.contains(id), chinese.contains(id));
        if (!english.contains(id))
            continue;
        ++count;
        QVERIFY2(!english.text(id).isEmpty() && !chinese.text(id).isEmpty(), qPrintable(QString::number(id)));
        QCOMPARE(placeholders(chinese.text(id)), placeholders(english.text(id)));
    }
    QVERIFY2(count >= atLeast, qPrintable(QString::number(count)));
}

void addModuleRows(const char* column)
{
    QTest::addColumn<QString>(column);
    QTest::newRow("English") << QStringLiteral("English");
    QTest::newRow("Chinese") << QStringLiteral("Chinese");
}

void addBoolRows(const char* column, const char* whenFalse, const char* whenTrue)
{
    QTest::addColumn<bool>(column);
    QTest::newRow(whenFalse) << false;
    QTest::newRow(whenTrue) << true;
}

WordSet moduleWords(const QString& language)
{
    static QHash<QString, WordSet> read;
    if (!read.contains(language)) {
        read.insert(language, texts::wordSet(moduleTable(language)));
    }
    return read.value(language);
}

CellWords moduleCellWords(bool chinese)
{
    const WordSet english = moduleWords(QStringLiteral("English"));
    const WordSet zh = moduleWords(QStringLiteral("Chinese"));
    return CellWords(chinese ? zh : english, {english, zh});
}
