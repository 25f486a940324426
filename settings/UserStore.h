#pragma once
// The per-user store: 32-bit values ("com", "Type", "Field") and short texts
// (folders and file names of the writing options) under a key named
// by [Setup] AppName. On Windows the registry key HKEY_CURRENT_USER\Software\<AppName>;
// elsewhere a file under the user's configuration folder (XDG_CONFIG_HOME
// honoured). Every access opens (creating) the key, reads or writes, closes;
// failures are ignored.

#include <QByteArray>
#include <QString>

#include <cstdint>

class UserStore {
public:
    explicit UserStore(const QByteArray& appName);
    // Convenience: the key named by [Setup] AppName of g_settings.
    static UserStore fromSettings();

    // false when the value is missing or unreadable (*value left unchanged).
    bool read(const QString& name, std::uint32_t* value) const;
    std::uint32_t read(const QString& name, std::uint32_t def) const;
    void write(const QString& name, std::uint32_t value);
    // Text values (REG_SZ on Windows). A name holds either a number or a text:
    // reading it as the other kind finds nothing. Texts with line breaks or
    // NUL, or longer than kMaxStringBytes in UTF-8, are not stored.
    bool readString(const QString& name, QString* text) const;
    QString readString(const QString& name, const QString& def) const;
    void writeString(const QString& name, const QString& text);
    static bool storableString(const QString& text);
    static constexpr int kMaxStringBytes = 4096;

    // Where the values live on this platform (file path, or registry key text).
    QString location() const;

    // The user's own folder of this program, beside the store file outside
    // Windows: $XDG_CONFIG_HOME/KQ-517 (~/.config/KQ-517 without it); on
    // Windows KQ-517 in the local application data folder. No separator at
    // the end; the folder may not exist yet.
    static QString folder();

    // The file name (without ".conf") that the store file of appName gets
    // outside Windows: the AppName text with every character that could leave
    // the folder or upset a file system ("/", "\\", ":", "*", "?", quote, "<",
    // ">", "|", "%", control characters, a leading ".", a trailing "." or
    // blank) written as %XX; "%" for an empty name; a name whose file would
    // pass 248 bytes (room for the save's temporary name within 255) cut on
    // a character boundary and completed by a hash.
    static QString fileStem(const QByteArray& appName);

private:
    QByteArray m_appName;
};
