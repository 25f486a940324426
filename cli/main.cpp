// kq517: the command line front of the core. The verbs and their help are in
// cli/Verbs.cpp; this only opens the settings file and dispatches.

#include <QCoreApplication>

#include "cli/Commands.h"
#include "cli/Verbs.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/SettingsFileLocation.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h")) {
        printUsage(args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? kExitUsage : kExitOk;
    }

    // The settings file the program uses (next to it, or in the installed
    // data folder, or the user's copy of it) supplies port mappings and the
    // model and band lists; it is only read here, never written back.
    CIniFile::setProgramDirectory(SettingsFileLocation::dataDirectory(QCoreApplication::applicationDirPath()));
    SettingsFileLocation::open(g_settings, QStringLiteral("KQ-517.ini"), false, true, true, false);

    const QString command = args.takeFirst();
    if (const Verb* verb = findVerb(command))
        return verb->run(args);
    printError(QStringLiteral("unknown command '%1'").arg(command));
    printUsage(stderr);
    return kExitUsage;
}
