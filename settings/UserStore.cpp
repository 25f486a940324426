#include "settings/UserStore.h"

#include "codeplug/AtomicFile.h"
#include "settings/FileNameLimit.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>

#include <string>

#if defined(Q_OS_WIN)
#  ifndef NOMINMAX
#    define NOMINMAX
#  endif
#  include <windows.h>
#  include <QStandardPaths>
#else
#  include <QStringDecoder>
#endif

UserStore::UserStore(const QByteArray& appName) : m_appName(appName) {}

UserStore UserStore::fromSettings()
{
    return UserStore(g_settings.GetString("Setup", "AppName", QByteArray()));
}

QString UserStore::readString(const QString& name, const QString& def) const
{
    QString text = def;
    readString(name, &text);
    return text;
}

std::uint32_t UserStore::read(const QString& name, std::uint32_t def) const
{
    std::uint32_t v = def;
    read(name, &v);
    return v;
}

QString UserStore::fileStem(const QByteArray& appName)
{
    const QString text = decodeSettingsText(appName);
    if (text.isEmpty())
        return QStringLiteral("%");  // no other name gives a lone "%"
    static const QString kUnsafe = QStringLiteral("/\\:*?\"<>|%");
    QString out;
    const qsizetype last = text.size() - 1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool unsafe = c.unicode() < 0x20 || c.unicode() == 0x7F || kUnsafe.contains(c)
                            || (i == 0 && c == QLatin1Char('.'))
                            || (i == last && (c == QLatin1Char('.') || c == QLatin1Char(' ')));
        if (!unsafe) {
            out += c;
            continue;
        }
        const QByteArray bytes = QString(c).toUtf8();
        for (char b : bytes)
            out += QString::asprintf("%%%02X", unsigned(static_cast<unsigned char>(b)));
    }
    // A file name longer than a save can write is cut on a character
    // boundary; a hash of the whole name keeps long names apart.
    static const QString kSuffix = QStringLiteral(".conf");
    const int room = filename::kMaxNameBytes - int(kSuffix.size());
    if (out.toUtf8().size() > room) {
        const QString h = QString::fromLatin1(
            QCryptographicHash::hash(appName, QCryptographicHash::Sha1).toHex().left(12));
        out = filename::cutToBytes(out, room - 1 - int(h.size())) + QLatin1Char('~') + h;
    }
    return out;
}

bool UserStore::storableString(const QString& text)
{
    return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))
           && !text.contains(QChar(0)) && text.toUtf8().size() <= kMaxStringBytes;
}

#if defined(Q_OS_WIN)

// ---------------------------------------------------------------------------
// Windows: the registry key HKEY_CURRENT_USER\Software\<AppName>, REG_DWORD.
// ---------------------------------------------------------------------------

namespace {

std::wstring keyPath(const QByteArray& appName)
{
    return (QStringLiteral("Software\\") + decodeSettingsText(appName)).toStdWString();
}

HKEY openKey(const QByteArray& appName)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath(appName).c_str(), 0, nullptr, 0,
                        KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr)
        != ERROR_SUCCESS)
        return nullptr;
    return key;
}

}  // namespace

bool UserStore::read(const QString& name, std::uint32_t* value) const
{
    HKEY key = openKey(m_appName);
    if (!key)
        return false;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;  // never more than 4 bytes
    const std::wstring w = name.toStdWString();
    const LONG rc = RegQueryValueExW(key, w.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(&data), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data)
        return false;
    if (value)
        *value = std::uint32_t(data);
    return true;
}

void UserStore::write(const QString& name, std::uint32_t value)
{
    HKEY key = openKey(m_appName);
    if (!key)
        return;
    const DWORD data = DWORD(value);
    const std::wstring w = name.toStdWString();
    RegSetValueExW(key, w.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
}

bool UserStore::readString(const QString& name, QString* text) const
{
    HKEY key = openKey(m_appName);
    if (!key)
        return false;
    const std::wstring w = name.toStdWString();
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, w.c_str(), nullptr, &type, nullptr, &size);
    if (rc != ERROR_SUCCESS || type != REG_SZ || size > kMaxStringBytes) {
        RegCloseKey(key);
        return false;
    }
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    rc = RegQueryValueExW(key, w.c_str(), nullptr, &type, reinterpret_cast<LPBYTE>(data.data()), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return false;
    data.resize(size / sizeof(wchar_t));
    while (!data.empty() && data.back() == L'\0')
        data.pop_back();
    if (text)
        *text = QString::fromStdWString(data);
    return true;
}

void UserStore::writeString(const QString& name, const QString& text)
{
    if (!storableString(text))
        return;
    HKEY key = openKey(m_appName);
    if (!key)
        return;
    const std::wstring w = name.toStdWString();
    const std::wstring data = text.toStdWString();
    RegSetValueExW(key, w.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                   DWORD((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

QString UserStore::location() const
{
    return QStringLiteral("HKEY_CURRENT_USER\\") + QString::fromStdWString(keyPath(m_appName));
}

QString UserStore::folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/KQ-517");
}

#else

// ---------------------------------------------------------------------------
// Elsewhere: $XDG_CONFIG_HOME/KQ-517/<AppName>.conf, one value a line in the
// form of a registry export:   "com"=dword:00000001
// and for a text value:         "BackupFolder"="/home/ann/radios"
// (backslash and quote written as \\ and \").
// ---------------------------------------------------------------------------

namespace {

constexpr qint64 kMaxStoreFileSize = 64 * 1024;

QString configRoot()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

// One value of the store: a number or a text.
struct Value {
    QString name;
    bool isText = false;
    std::uint32_t number = 0;
    QString text;
};
using Values = QList<Value>;

// The text of "..." starting at line[open] (the opening quote), with \\ and
// \" undone; false when the closing quote is missing or the line goes on.
bool parseText(const QByteArray& line, qsizetype open, QString* text)
{
    QByteArray bytes;
    qsizetype i = open + 1;
    for (; i < line.size(); ++i) {
        const char c = line.at(i);
        if (c == '"')
            break;
        if (c == '\\') {
            if (++i >= line.size())
                return false;
        }
        bytes += line.at(i);
    }
    if (i != line.size() - 1)
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8);
    *text = utf8.decode(bytes);
    return !utf8.hasError();
}

QByteArray quotedText(const QString& text)
{
    QByteArray out("\"");
    for (char c : text.toUtf8()) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

// One line "name"=dword:hhhhhhhh or "name"="text"; anything else is no value.
bool parseLine(const QByteArray& raw, Value* value)
{
    const QByteArray line = raw.trimmed();
    if (line.size() < 3 || line.at(0) != '"')
        return false;
    const qsizetype close = line.indexOf('"', 1);
    if (close < 0)
        return false;
    const QByteArray rest = line.mid(close + 1);
    if (rest.startsWith("=\"")) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString n = utf8.decode(line.mid(1, close - 1));
        QString text;
        if (utf8.hasError() || n.isEmpty() || !parseText(line, close + 2, &text))
            return false;
        *value = Value{n, true, 0, text};
        return true;
    }
    static const QByteArray kPrefix("=dword:");
    if (!rest.startsWith(kPrefix))
        return false;
    const QByteArray hex = rest.mid(kPrefix.size());
    if (hex.isEmpty() || hex.size() > 8)  // more than 4 bytes: not a value of ours
        return false;
    std::uint32_t v = 0;
    for (char c : hex) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = (v << 4) | std::uint32_t(d);
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString n = utf8.decode(line.mid(1, close - 1));
    if (utf8.hasError() || n.isEmpty())
        return false;
    *value = Value{n, false, v, QString()};
    return true;
}

// The valid values of the store file, in file order; a later line for the
// same name replaces the earlier one. Value names compare like registry
// value names, without regard to case.
Values loadValues(const QString& path)
{
    Values values;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return values;
    if (f.size() > kMaxStoreFileSize)
        return values;  // not a store file of ours
    const QByteArray all = f.read(kMaxStoreFileSize);
    for (const QByteArray& line : all.split('\n')) {
        Value v;
        if (!parseLine(line, &v))
            continue;
        bool found = false;
        for (auto& p : values) {
            if (p.name.compare(v.name, Qt::CaseInsensitive) == 0) {
                p = v;
                found = true;
            }
        }
        if (!found)
            values.append(v);
    }
    return values;
}

bool storableName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('"')) && !name.contains(QLatin1Char('\n'))
           && !name.contains(QLatin1Char('\r'));
}


// Opens the "key": creates the folder and an empty store file when missing.
// Failures are ignored.
void createKey(const QString& path)
{
    const QFileInfo fi(path);
    QDir().mkpath(fi.absolutePath());
    if (!fi.exists()) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            f.close();
    }
}

// Replaces or adds value in the store file at path, written atomically.
void storeValue(const QString& path, const QByteArray& appName, const Value& value)
{
    createKey(path);
    Values values = loadValues(path);
    bool found = false;
    for (auto& p : values) {
        if (p.name.compare(value.name, Qt::CaseInsensitive) == 0) {
            const QString kept = p.name;  // the name keeps the spelling it was first stored with
            p = value;
            p.name = kept;
            found = true;
        }
    }
    if (!found)
        values.append(value);

    QByteArray text("; KQ-517 per-user values (the registry key HKEY_CURRENT_USER\\Software\\");
    text += decodeSettingsText(appName).toUtf8().replace('\n', ' ').replace('\r', ' ');
    text += " on Windows)\n";
    for (const auto& p : values) {
        text += '"';
        text += p.name.toUtf8();
        if (p.isText) {
            text += "\"=";
            text += quotedText(p.text);
        } else {
            text += "\"=dword:";
            text += QByteArray::number(p.number, 16).rightJustified(8, '0');
        }
        text += '\n';
    }
    writeFileAtomically(path, text);  // a failure is ignored; the old file stays whole
}

}  // namespace

bool UserStore::read(const QString& name, std::uint32_t* value) const
{
    const QString path = location();
    createKey(path);
    const Values values = loadValues(path);
    for (const auto& p : values) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (p.isText)
                return false;  // a text value is no number
            if (value)
                *value = p.number;
            return true;
        }
    }
    return false;
}

bool UserStore::readString(const QString& name, QString* text) const
{
    const QString path = location();
    createKey(path);
    const Values values = loadValues(path);
    for (const auto& p : values) {
        if (p.name.compare(name, Qt::CaseInsensitive) == 0) {
            if (!p.isText)
                return false;
            if (text)
                *text = p.text;
            return true;
        }
    }
    return false;
}

void UserStore::write(const QString& name, std::uint32_t value)
{
    if (storableName(name))
        storeValue(location(), m_appName, Value{name, false, value, QString()});
}

void UserStore::writeString(const QString& name, const QString& text)
{
    if (storableName(name) && storableString(text))
        storeValue(location(), m_appName, Value{name, true, 0, text});
}

QString UserStore::location() const
{
    return folder() + QLatin1Char('/') + fileStem(m_appName) + QStringLiteral(".conf");
}

QString UserStore::folder()
{
    return configRoot() + QStringLiteral("/KQ-517");
}

#endif
