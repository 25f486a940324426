#include "settings/UserStore.h"

#include "codeplug/AtomicFile.h"
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
    // Keep the name short enough for every file system; a hash of the whole
    // name keeps long names apart.
    if (out.toUtf8().size() > 120) {
        const QByteArray h = QCryptographicHash::hash(appName, QCryptographicHash::Sha1).toHex().left(12);
        QString cut = out.left(80);
        // Do not leave half of a "%XX" or of a surrogate pair at the end.
        const qsizetype pct = cut.lastIndexOf(QLatin1Char('%'));
        if (pct >= 0 && pct > cut.size() - 3)
            cut.truncate(pct);
        if (!cut.isEmpty() && cut.back().isHighSurrogate())
            cut.chop(1);
        out = cut + QLatin1Char('~') + QString::fromLatin1(h);
    }
    return out;
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

using Values = QList<QPair<QString, std::uint32_t>>;

// One line "name"=dword:hhhhhhhh; anything else is no value.
bool parseLine(const QByteArray& raw, QString* name, std::uint32_t* value)
{
    const QByteArray line = raw.trimmed();
    if (line.size() < 3 || line.at(0) != '"')
        return false;
    const qsizetype close = line.indexOf('"', 1);
    if (close < 0)
        return false;
    const QByteArray rest = line.mid(close + 1);
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
    *name = n;
    *value = v;
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
        QString name;
        std::uint32_t v = 0;
        if (!parseLine(line, &name, &v))
            continue;
        bool found = false;
        for (auto& p : values) {
            if (p.first.compare(name, Qt::CaseInsensitive) == 0) {
                p.second = v;
                found = true;
            }
        }
        if (!found)
            values.append({name, v});
    }
    return values;
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

}  // namespace

bool UserStore::read(const QString& name, std::uint32_t* value) const
{
    const QString path = location();
    createKey(path);
    const Values values = loadValues(path);
    for (const auto& p : values) {
        if (p.first.compare(name, Qt::CaseInsensitive) == 0) {
            if (value)
                *value = p.second;
            return true;
        }
    }
    return false;
}

void UserStore::write(const QString& name, std::uint32_t value)
{
    if (name.isEmpty() || name.contains(QLatin1Char('"')) || name.contains(QLatin1Char('\n'))
        || name.contains(QLatin1Char('\r')))
        return;
    const QString path = location();
    createKey(path);
    Values values = loadValues(path);
    bool found = false;
    for (auto& p : values) {
        if (p.first.compare(name, Qt::CaseInsensitive) == 0) {
            p.second = value;
            found = true;
        }
    }
    if (!found)
        values.append({name, value});

    QByteArray text("; KQ-517 per-user values (the registry key HKEY_CURRENT_USER\\Software\\");
    text += decodeSettingsText(m_appName).toUtf8().replace('\n', ' ').replace('\r', ' ');
    text += " on Windows)\n";
    for (const auto& p : values) {
        text += '"';
        text += p.first.toUtf8();
        text += "\"=dword:";
        text += QByteArray::number(p.second, 16).rightJustified(8, '0');
        text += '\n';
    }
    writeFileAtomically(path, text);  // a failure is ignored; the old file stays whole
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
