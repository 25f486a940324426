#include "settings/ui/LanguageModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>
#include <QPointer>
#include <QResource>
#include <QUiLoader>
#include <QWidget>

#include "texts/TextTable.h"

namespace {
QString g_loadedModule;
const QString kRoot = QStringLiteral(":/lang/");
}  // namespace

QString LanguageModule::moduleFileName(const QString& language)
{
    return language + QStringLiteral("517.rcc");
}

bool LanguageModule::load(const QString& language, const QString& programDir)
{
    unload();
    const QString wanted = moduleFileName(language);
    QDir dir(programDir);
    QString found;
    if (QFileInfo::exists(dir.filePath(wanted))) {
        found = dir.filePath(wanted);
    } else {
        // File names compare without regard to case, so "chinese" finds Chinese517.rcc.
        const QStringList entries = dir.entryList({QStringLiteral("*.rcc")}, QDir::Files);
        for (const QString& entry : entries) {
            if (entry.compare(wanted, Qt::CaseInsensitive) == 0) {
                found = dir.filePath(entry);
                break;
            }
        }
    }
    if (found.isEmpty() || !QResource::registerResource(found))
        return false;
    g_loadedModule = found;
    // Every text the program renders now comes from this module. A module
    // found under another case of its name ("chinese" finding
    // Chinese517.rcc) gives its resources, but the program's own texts follow
    // the name as written, as they always have: English unless the program
    // has a table of exactly that name.
    QFile strings(path(QStringLiteral("strings.json")));
    const QByteArray json = strings.open(QIODevice::ReadOnly) ? strings.readAll() : QByteArray();
    const texts::TextTable table =
        texts::TextTable::forModule(json, language, QFileInfo(found).fileName() != wanted);
    texts::setActive(table);
    return true;
}

void LanguageModule::unload()
{
    if (!g_loadedModule.isEmpty())
        QResource::unregisterResource(g_loadedModule);
    g_loadedModule.clear();
    texts::setActive(texts::TextTable::english());
}

bool LanguageModule::isLoaded() { return !g_loadedModule.isEmpty(); }

QString LanguageModule::loadedPath() { return g_loadedModule; }

QString LanguageModule::path(const QString& relative) { return kRoot + relative; }

bool LanguageModule::exists(const QString& relative)
{
    return isLoaded() && QFileInfo::exists(path(relative));
}

QJsonDocument LanguageModule::json(const QString& relative)
{
    if (!isLoaded())
        return {};
    QFile file(path(relative));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll());
}

QString LanguageModule::string(int id)
{
    return isLoaded() ? texts::text(id) : QString();
}

namespace {

// The one form loader, made at the first form. The module's forms use Qt's
// own widgets only, but a QUiLoader loads every Qt Designer plugin installed
// when it is made, and one of them (the Qt Quick widget's) brings the whole
// Qt Quick and QML stack into the process: a large part of a start's time
// and memory for nothing. So the loader is made while the plugin folders are
// out of sight.
QUiLoader& formLoader()
{
    static QPointer<QUiLoader> loader;
    if (!loader) {
        const QStringList pluginFolders = QCoreApplication::libraryPaths();
        QCoreApplication::setLibraryPaths({});
        loader = new QUiLoader(QCoreApplication::instance());
        QCoreApplication::setLibraryPaths(pluginFolders);
    }
    return *loader;
}

}  // namespace

QWidget* LanguageModule::loadDialog(int id, QWidget* parent)
{
    if (!isLoaded())
        return nullptr;
    QFile file(path(QStringLiteral("dialogs/%1.ui").arg(id)));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return formLoader().load(&file, parent);
}

QIcon LanguageModule::icon(int id)
{
    const QString p = path(QStringLiteral("icons/%1.png").arg(id));
    return exists(QStringLiteral("icons/%1.png").arg(id)) ? QIcon(p) : QIcon();
}

QPixmap LanguageModule::bitmap(int id)
{
    const QString rel = QStringLiteral("bitmaps/%1.bmp").arg(id);
    return exists(rel) ? QPixmap(path(rel)) : QPixmap();
}

QCursor LanguageModule::cursor(int id, const QCursor& fallback)
{
    const QString rel = QStringLiteral("cursors/%1.png").arg(id);
    if (!exists(rel))
        return fallback;
    QPixmap pm(path(rel));
    return pm.isNull() ? fallback : QCursor(pm);
}

int LanguageModule::controlId(const QWidget* widget)
{
    if (!widget)
        return 0;
    const QString name = widget->objectName();
    if (!name.startsWith(QStringLiteral("id")))
        return 0;
    bool ok = false;
    const int id = name.mid(2).toInt(&ok);
    return ok ? id : 0;
}
