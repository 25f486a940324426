#pragma once
// Where a settings file of the program is read and where its changes go. In a
// folder the user may write (a build folder) both are the file next to the
// program, as always. In a folder the user may not write (an installed
// program) changes go to a copy in the user's configuration folder, made at
// the first save; once that copy exists it is the one read.

#include <QString>

class CIniFile;

class SettingsFileLocation {
public:
    struct Place {
        QString readPath;   // the file to open
        QString writePath;  // where a save writes; readPath unless the program folder is read-only
    };

    // fileName in programDir, with the per-user copy kept in userDir.
    static Place choose(const QString& programDir, const QString& userDir, const QString& fileName);

    // Opens store on fileName of CIniFile::programDirectory() the way choose()
    // places it, with the user's copy in UserStore::folder(). Returns what
    // CIniFile::Open returned.
    static bool open(CIniFile& store, const QString& fileName, bool writeOnClose, bool reserved,
                     bool noCase, bool backupOnClose);

    // The folder holding the program's data files (settings file, language
    // modules) for the folder of the running executable: that folder itself
    // when the settings file or a language module lies there (a build
    // folder), else the installed data folder beside it when that exists
    // (/usr/bin -> /usr/share/kq517), else the executable's folder.
    static QString dataDirectory(const QString& executableDir);

    // Whether the settings file at filePath may be written, in place or by
    // putting a new file in its folder. Tests steer the answer with
    // setWritableCheck (root may write everywhere); returns the check set before
    // (nullptr: the file system's answer).
    static bool isWritable(const QString& filePath);
    using WritableCheck = bool (*)(const QString& filePath);
    static WritableCheck setWritableCheck(WritableCheck check);
};
