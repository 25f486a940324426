#include "tests/support/TestSupport.h"

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/KQ_517Doc.h"
#include "texts/CellTexts.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QFileInfo>

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

void putChannel(CKQ_517Doc& doc, int channel, const QStringList& cells)
{
    ChannelTable table(moduleCellWords(false));
    for (int c = 1; c <= 5; ++c)
        table.setCell(channel, c, cells.value(c - 1));
    MemoryImage image = doc.image();
    table.encodeChannel(image, channel);
    doc.setChannel(channel, Channel::fromRecord(image.channel(channel)));
}

WordSet moduleWords(const QString& language)
{
    static QHash<QString, WordSet> read;
    if (!read.contains(language)) {
        QFile file(QStringLiteral(KQ517_SOURCE_DIR "/resources/%1/strings.json").arg(language));
        read.insert(language, file.open(QIODevice::ReadOnly)
                                  ? texts::wordSet(texts::TextTable::fromJson(file.readAll()))
                                  : WordSet());
    }
    return read.value(language);
}

CellWords moduleCellWords(bool chinese)
{
    const WordSet english = moduleWords(QStringLiteral("English"));
    const WordSet zh = moduleWords(QStringLiteral("Chinese"));
    return CellWords(chinese ? zh : english, {english, zh});
}
