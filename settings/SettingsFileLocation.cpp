#include "settings/SettingsFileLocation.h"

#include "settings/IniFile.h"
#include "settings/UserStore.h"

#include <QDir>
#include <QFileInfo>

#ifndef KQ517_INSTALLED_DATA_DIR
#  define KQ517_INSTALLED_DATA_DIR "../share/kq517"
#endif

namespace {

SettingsFileLocation::WritableCheck g_writableCheck = nullptr;

QString joined(const QString& dir, const QString& fileName)
{
    if (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\')))
        return dir + fileName;
    return dir + QLatin1Char('/') + fileName;
}

}  // namespace

bool SettingsFileLocation::isWritable(const QString& filePath)
{
    if (g_writableCheck)
        return g_writableCheck(filePath);
    const QFileInfo file(filePath);
    if (file.exists())
        return file.isFile() && file.isWritable();
    // A missing file is made in its folder.
    return QFileInfo(file.absolutePath()).isWritable();
}

SettingsFileLocation::WritableCheck SettingsFileLocation::setWritableCheck(WritableCheck check)
{
    const WritableCheck previous = g_writableCheck;
    g_writableCheck = check;
    return previous;
}

SettingsFileLocation::Place SettingsFileLocation::choose(const QString& programDir, const QString& userDir,
                                                         const QString& fileName)
{
    const QString beside = joined(programDir, fileName);
    if (isWritable(beside))
        return {beside, beside};
    const QString copy = joined(userDir, fileName);
    // Nothing to read beside the program, or a copy made before: the copy.
    if (QFileInfo(copy).isFile() || !QFileInfo::exists(beside))
        return {copy, copy};
    return {beside, copy};
}

bool SettingsFileLocation::open(CIniFile& store, const QString& fileName, bool writeOnClose, bool reserved,
                                bool noCase, bool backupOnClose)
{
    const Place place = choose(CIniFile::programDirectory(), UserStore::folder(), fileName);
    // Open makes a missing file, so the user's folder must be there.
    if (place.readPath == place.writePath)
        QDir().mkpath(QFileInfo(place.readPath).absolutePath());
    const bool opened = store.Open(place.readPath, writeOnClose, reserved, noCase, backupOnClose);
    if (opened)
        store.setWritePath(place.writePath);
    return opened;
}

QString SettingsFileLocation::dataDirectory(const QString& executableDir)
{
    const QDir here(executableDir);
    if (here.exists(QStringLiteral("KQ-517.ini"))
        || !here.entryList({QStringLiteral("*517.rcc")}, QDir::Files).isEmpty())
        return executableDir;
    const QString installed = QDir::cleanPath(here.filePath(QStringLiteral(KQ517_INSTALLED_DATA_DIR)));
    if (QFileInfo(installed).isDir())
        return installed;
    return executableDir;
}
