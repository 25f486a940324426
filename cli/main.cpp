// kq517: the command line front of the core: show, export, read, write, sim.

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#include "cli/Commands.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/SettingsFileLocation.h"

namespace {

void printUsage(FILE* to)
{
    std::fputs(
        "usage: kq517 <command> [options]\n"
        "  show FILE.dat                      print the channel table and options\n"
        "  export FILE.dat [-o OUT.csv] [--format csv|chirp]\n"
        "                                     the channel table as CSV or CHIRP CSV\n"
        "  import IN.csv [--base BASE.dat] -o OUT.dat\n"
        "                                     channels from CSV or CHIRP CSV into a .dat file\n"
        "  diff A.dat B.dat                   what differs between two .dat files\n"
        "  read --port PORT -o OUT.dat [--base FILE.dat] [--retry N] [--trace FILE]\n"
        "                                     read the radio into a .dat file\n"
        "  write --port PORT FILE.dat [--retry N] [--trace FILE] [--backup DIR]\n"
        "        [--verify] [--repeat] [--force]\n"
        "                                     write a .dat file to the radio\n"
        "  ports                              the serial devices and COM1 to COM4\n"
        "  sim [--image FILE.dat] [--save FILE.dat] [--link PATH] [--baud N] [faults]\n"
        "                                     a simulated radio on a pseudo-terminal\n"
        "Run 'kq517 sim --help' for the fault options.\n",
        to);
}

}  // namespace

void printError(const QString& message)
{
    std::fprintf(stderr, "kq517: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}

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
    if (command == QLatin1String("show"))
        return runShow(args);
    if (command == QLatin1String("export"))
        return runExport(args);
    if (command == QLatin1String("import"))
        return runImport(args);
    if (command == QLatin1String("diff"))
        return runDiff(args);
    if (command == QLatin1String("read"))
        return runRead(args);
    if (command == QLatin1String("write"))
        return runWrite(args);
    if (command == QLatin1String("sim"))
        return runSim(args);
    if (command == QLatin1String("ports"))
        return runPorts(args);
    printError(QStringLiteral("unknown command '%1'").arg(command));
    printUsage(stderr);
    return kExitUsage;
}
