#pragma once
// CIniFile: a small INI-style store. Loads the whole file on Open, answers
// lookups from memory, collects changes and rewrites the whole file when closed
// (optionally after a numbered backup). Texts are byte strings and pass through
// unchanged.

#include <QByteArray>
#include <QList>
#include <QString>

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

    QString path() const { return m_strPath; }
    bool isOpen() const { return !m_strPath.isEmpty(); }
    bool isModified() const { return m_bModified; }

    // The folder the program runs from (ends without a separator). Set once at
    // start-up from the running executable; tests point it at a temporary folder.
    static QString programDirectory();
    static void setProgramDirectory(const QString& dir);

private:
    friend class IniFileInspector;  // tests

    int FindSection(const QByteArray& name) const;
    int FindKey(int section, const QByteArray& key) const;
    int Compare(const QByteArray& a, const QByteArray& b) const;
    void MakeBackupName();
    void Clear();
    void growTo(int sectionIndex);

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
    QString m_strPath;
};

// Text of a settings value for display: UTF-8, or GBK when not valid UTF-8.
QString decodeSettingsText(const QByteArray& bytes);
