// kq517: the command line front of the core. The verbs and their help are in
// their records (cli/Verbs.cpp lists them); this only opens the settings file
// and dispatches.

#include <QCoreApplication>

#include <cstdio>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/Help.h"
#include "cli/OptionParser.h"
#include "cli/Verbs.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/SettingsFileLocation.h"
#include "texts/TextTable.h"

namespace {

int printTo(FILE* to, const QString& text, int status)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    return std::fflush(to) == 0 ? status : kExitFailed;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty())
        return printTo(stderr, programUsage(), kExitUsage);
    const QString first = args.first();
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return printTo(stdout, programUsage(), kExitOk);
    if (first == QLatin1String("--version") || first == QLatin1String("version")) {
        if (args.size() > 1) {
            printError(texts::text(IDS_CLI_UNEXPECTED_AFTER, args.at(1), first));
            return kExitUsage;
        }
        return printTo(stdout, QStringLiteral("kq517 %1\n").arg(programVersion()), kExitOk);
    }

    // The settings file the program uses (next to it, or in the installed
    // data folder, or the user's copy of it) supplies port mappings and the
    // model and band lists; it is only read here, never written back.
    CIniFile::setProgramDirectory(SettingsFileLocation::dataDirectory(QCoreApplication::applicationDirPath()));
    SettingsFileLocation::open(g_settings, QStringLiteral("KQ-517.ini"), false, true, true, false);

    const QString command = args.takeFirst();
    if (const VerbRecord* verb = findVerb(command))
        return dispatchVerb(*verb, args);
    printError(texts::text(command.startsWith(QLatin1Char('-')) ? IDS_CLI_UNKNOWN_OPTION : IDS_CLI_UNKNOWN_COMMAND,
                           command));
    printTo(stderr, texts::text(IDS_CLI_RUN_HELP) + QLatin1Char('\n'), kExitUsage);
    return kExitUsage;
}
