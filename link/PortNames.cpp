#include "link/PortNames.h"

#include <QRegularExpression>

#include "settings/Globals.h"
#include "settings/IniFile.h"

int PortNames::comNumber(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^COM([1-4])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(name);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

bool PortNames::isDevicePath(const QString& name)
{
#ifdef Q_OS_WIN
    return name.startsWith(QLatin1String("\\\\.\\"));
#else
    return name.startsWith(QLatin1Char('/'));
#endif
}

QString PortNames::device(const QString& name)
{
    return device(name, g_settings);
}

QString PortNames::device(const QString& name, const CIniFile& settings)
{
    if (isDevicePath(name))
        return name;
    const int number = comNumber(name);
    if (number == 0)
        return QString();
    const QByteArray key = "COM" + QByteArray::number(number);
    const QString mapped = QString::fromUtf8(settings.GetString("Ports", key)).trimmed();
    if (!mapped.isEmpty())
        return mapped;
#ifdef Q_OS_WIN
    return QString::fromLatin1(key);
#else
    return QStringLiteral("/dev/ttyUSB%1").arg(number - 1);
#endif
}
