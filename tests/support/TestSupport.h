#pragma once
// Shared test helpers: a temporary program directory and a temporary per-user
// store. Both undo what they changed when they go out of scope.
//
//   TempUserStore store;              // per-user values land in a temporary folder
//   TempProgramDir dir;               // program directory = a temporary folder
//   dir.copyDefaultSettings();        // resources/KQ-517.ini into it
//   dir.openSettings();               // g_settings bound to <dir>/KQ-517.ini
//   ... g_settings.GetString("Setup", "Type1") ...
//
// Use them as locals of one test function (or members of a fixture) so that
// every test starts from a clean folder. They are not meant to be nested with
// another object of the same kind.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "codeplug/CellWords.h"

// A temporary folder that is the program directory for its lifetime:
// CIniFile::setProgramDirectory(path()) and g_strProgramDir = path() + "/".
// The destructor lets go of g_settings if it is bound to a file in this folder
// (g_settings.Close(): written back there when changed), then restores the previous program directory and
// g_strProgramDir; the folder and everything in it are removed.
class TempProgramDir {
public:
    TempProgramDir();
    ~TempProgramDir();

    TempProgramDir(const TempProgramDir&) = delete;
    TempProgramDir& operator=(const TempProgramDir&) = delete;

    bool isValid() const;
    QString path() const;                          // no trailing separator
    QString filePath(const QString& name) const;   // path() + "/" + name

    // Writes text byte for byte to the settings file (or another file of the
    // folder). True on success.
    bool writeSettings(const QByteArray& text, const QString& fileName = QStringLiteral("KQ-517.ini"));
    // Copies KQ517_SOURCE_DIR "/resources/KQ-517.ini" (the built-in example:
    // model KQ-517, band "130 - 160MHz", [English] and [Chinese]) into the folder.
    bool copyDefaultSettings();
    // The whole contents of a file of the folder (empty when missing).
    QByteArray readFile(const QString& name = QStringLiteral("KQ-517.ini")) const;

    // (Re)opens g_settings on <path>/KQ-517.ini the way start-up does:
    // OpenInProgramDir("KQ-517.ini", writeOnClose, 1, noCase = 1, backup = 0).
    // A store already bound elsewhere is written back first (CIniFile::Open).
    // Returns what Open returned.
    bool openSettings(bool writeOnClose = true);
    // Also sets g_strLanguage from [Setup] Language and g_bChinese, as
    // start-up steps 2 and 3 do. Both are restored by the destructor.
    bool openSettingsAndLanguage(bool writeOnClose = true);

private:
    QTemporaryDir m_dir;
    QString m_oldProgramDirectory;
    QString m_oldStrProgramDir;
    QString m_oldLanguage;
    bool m_oldChinese = false;
};

// Points XDG_CONFIG_HOME at a temporary folder for its lifetime, so that the
// per-user store (UserStore outside Windows) reads and writes there; restores
// the old value (or its absence) in the destructor.
class TempUserStore {
public:
    TempUserStore();
    ~TempUserStore();

    TempUserStore(const TempUserStore&) = delete;
    TempUserStore& operator=(const TempUserStore&) = delete;

    bool isValid() const;
    QString path() const;  // the folder XDG_CONFIG_HOME points at

private:
    QTemporaryDir m_dir;
    QByteArray m_oldValue;
    bool m_hadValue = false;
};

class CKQ_517Doc;
class ChannelTable;
class MemoryImage;

// The whole contents of a file; missing when it cannot be read.
QByteArray readFile(const QString& path, const QByteArray& missing = QByteArray());
// Writes bytes to a file, replacing what it held. True on success.
bool writeFile(const QString& path, const QByteArray& bytes);
// An image whose byte i is (i * step + seed) & 0xFF: neighbours differ, so a
// block landing at the wrong address shows.
MemoryImage patternImage(int seed, int step = 13);
namespace texts { class TextTable; }

// The string table of the language module in resources/<language>/ (empty
// when the file cannot be read).
texts::TextTable moduleTable(const QString& language);
// The placeholders %1, %2 ... a text takes, each once, sorted.
QStringList placeholders(const QString& text);
// Every id from first to last is in both modules or in neither, never empty,
// with the same placeholders in both; at least atLeast of them are there.
// Fails the running test otherwise.
void checkIdsInBothModules(int first, int last, int atLeast);
// Adds the rows "English" and "Chinese" to a _data() function, in a column
// of the module's name.
void addModuleRows(const char* column = "language");
// Adds a bool column and its two rows, false first.
void addBoolRows(const char* column, const char* whenFalse, const char* whenTrue);

// The cell words ("None", "Yes", "No", the column headers) of the language
// module built from resources/<language>/ ("English", "Chinese").
WordSet moduleWords(const QString& language);
// Shown in that module's words (Chinese when chinese), read in the words of
// both modules, as the program and the command line read cells.
CellWords moduleCellWords(bool chinese);

// Types cells into a channel's columns from Rx on (Rx, Tx, Dec, Enc, Busy Lock).
void setCells(ChannelTable& table, int channel, const QStringList& cells);

// Puts a channel whose five cells (Rx, Tx, Dec, Enc, Busy Lock) read as given
// into the document, as if it had been typed or read from a radio.
void putChannel(CKQ_517Doc& doc, int channel, const QStringList& cells);
