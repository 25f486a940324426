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

QByteArray PortNames::environmentName(int number)
{
    return "KQ517_COM" + QByteArray::number(number);
}

bool PortNames::environmentDecides(const QString& name)
{
    const int number = comNumber(name);
    return number != 0 && !qEnvironmentVariable(environmentName(number).constData()).trimmed().isEmpty();
}

void PortNames::settingsDecide(const QString& name)
{
    if (const int number = comNumber(name))
        qunsetenv(environmentName(number).constData());
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
    // The environment wins over the settings file: ./run points COM1 at its
    // simulated radio this way without writing the device into the file (a
    // restarted program inherits the variable).
    const QString fromEnvironment = qEnvironmentVariable(environmentName(number).constData()).trimmed();
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    const QString mapped = QString::fromUtf8(settings.GetString("Ports", key)).trimmed();
    if (!mapped.isEmpty())
        return mapped;
#ifdef Q_OS_WIN
    return QString::fromLatin1(key);
#else
    return QStringLiteral("/dev/ttyUSB%1").arg(number - 1);
#endif
}
