#pragma once
// The language module: a binary resource file "<Language>517.rcc" in the
// program directory holding, by the system's numeric ids, the string table,
// dialog templates (.ui), menus, accelerators, toolbar, icons, cursor and
// bitmap. Layout inside the module (resource root ":/lang/"):
//   strings.json              {"61448": "Out of range,please input again.", ...}
//   menus/<id>.json           menu tree (see MainFrame)
//   accelerators/<id>.json    toolbar/<id>.json + toolbar/<id>.png
//   dialogs/<id>.ui           Qt Designer form; controls are named "id<control id>"
//                             ("id1" OK, "id2" Cancel, "id1001" ...)
//   icons/<id>.png  cursors/<id>.png  bitmaps/<id>.bmp

#include <QCursor>
#include <QIcon>
#include <QJsonDocument>
#include <QPixmap>
#include <QString>

class QWidget;

class LanguageModule {
public:
    static QString moduleFileName(const QString& language);  // language + "517.rcc"

    // Finds the module in programDir (file name case ignored, as the original
    // platform did) and registers it as the resource source. Unloads any
    // module loaded before. False when missing or not loadable.
    static bool load(const QString& language, const QString& programDir);
    static void unload();
    static bool isLoaded();
    static QString loadedPath();

    // Looked up in the loaded module only ("" / null when missing).
    static QString string(int id);
    static QString path(const QString& relative);  // ":/lang/" + relative
    static bool exists(const QString& relative);
    static QJsonDocument json(const QString& relative);
    // Instantiates dialogs/<id>.ui with parent; nullptr when missing.
    static QWidget* loadDialog(int id, QWidget* parent);
    static QIcon icon(int id);
    static QPixmap bitmap(int id);
    static QCursor cursor(int id, const QCursor& fallback = QCursor());

    // The control id encoded in a widget's object name ("id1001" -> 1001), 0 if none.
    static int controlId(const QWidget* widget);
    static QString controlName(int id) { return QStringLiteral("id%1").arg(id); }
};
