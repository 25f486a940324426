#pragma once
// CIniFile: a small INI-style store. Loads the whole file on Open, answers
// lookups from memory, collects changes and rewrites the whole file when closed
// (optionally after a numbered backup). Texts are byte strings and pass through
// unchanged.

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

class CIniFile {
public:
    explicit CIniFile(int growBy = 4);
    virtual ~CIniFile();  // closes: Save(m_bBackupOnClose) when m_bWriteOnClose, then Clear

    CIniFile(const CIniFile&) = delete;
    CIniFile& operator=(const CIniFile&) = delete;

    bool Open(const QString& path, bool writeOnClose, bool reserved, bool noCase, bool backupOnClose);
    // Opens fileName in the program directory (see programDirectory()).
    bool OpenInProgramDir(const QString& fileName, bool writeOnClose, bool reserved, bool noCase,
                          bool backupOnClose);

    QByteArray GetString(const QByteArray& section, const QByteArray& key,
                         const QByteArray& def = QByteArray()) const;
    void SetString(const QByteArray& section, const QByteArray& key, const QByteArray& value);
    // Returns m_strBackupPath when the file was written, else an empty string.
    QString Save(bool makeBackup);

    // GetString shown as text: UTF-8, or GBK (code page 936) when not valid UTF-8.
    QString GetText(const QByteArray& section, const QByteArray& key,
                    const QString& def = QString()) const;

    // What the destructor does, for a store that must let go of its file
    // earlier (tests): Save(m_bBackupOnClose) when m_bWriteOnClose, then Clear.
    void Close();

    // Where the next save writes when it is not the file opened (an empty path:
    // the file opened). That save writes the whole store there, making the
    // folder when needed, and binds the store to the new file; the opened
    // file stays as it was. Open forgets it.
    void setWritePath(const QString& path);

    QString path() const { return m_strPath; }
    bool isOpen() const { return !m_strPath.isEmpty(); }
    bool isModified() const { return m_bModified; }

    // The folder the program runs from (ends without a separator). Set once at
    // start-up from the running executable; tests point it at a temporary folder.
    static QString programDirectory();
    // Returns the folder set before (empty when none was set). An empty dir
    // goes back to the default (the folder of argv[0]).
    static QString setProgramDirectory(const QString& dir);
    // The folder of a start path (argv[0]): everything before its last
    // separator; the current directory when it holds none.
    static QString directoryOfStartPath(const QString& startPath);

private:
    friend class IniFileInspector;  // tests

    int FindSection(const QByteArray& name) const;
    int FindKey(int section, const QByteArray& key) const;
    int Compare(const QByteArray& a, const QByteArray& b) const;
    void MakeBackupName();
    void Clear();
    void growTo(int sectionIndex);

    // Tests only (through IniFileInspector): when set, Open reads from the
    // device this returns (owned by Open) instead of opening the file.
    static QIODevice* (*s_openForReadingHook)(const QString& path);

    QList<QList<QByteArray>*> m_keys;
    QList<QList<QByteArray>*> m_values;
    QList<QByteArray> m_sectionNames;
    int m_nLastSection = 0;
    int m_nGrowBy = 4;
    bool m_bNoCase = true;
    bool m_bWriteOnClose = false;
    QString m_strBackupPath;
    bool m_bBackupOnClose = false;
    bool m_bModified = false;
    bool m_bReadFailed = false;  // a read error during Open: never write the partial contents back
    bool m_bUtf8Bom = false;     // the file began with a UTF-8 byte order mark: kept when written
    QString m_strPath;
    QString m_strWritePath;  // see setWritePath
};

// Text of a settings value for display: UTF-8, or GBK when not valid UTF-8.
QString decodeSettingsText(const QByteArray& bytes);
