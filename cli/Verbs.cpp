#include "cli/Verbs.h"

#include <cstring>

#include "cli/Commands.h"

const QList<Verb>& verbs()
{
    static const QList<Verb> table = {
        {"show", "FILE.dat", "print the channel table and options", runShow},
        {"export", "FILE.dat [-o OUT.csv] [--format csv|chirp]", "the channel table as CSV or CHIRP CSV",
         runExport},
        {"import", "IN.csv [--base BASE.dat] -o OUT.dat", "channels from CSV or CHIRP CSV into a .dat file",
         runImport},
        {"diff", "A.dat B.dat", "what differs between two .dat files", runDiff},
        {"read", "--port PORT -o OUT.dat [--base FILE.dat] [--retry N] [--trace FILE]",
         "read the radio into a .dat file", runRead},
        {"write",
         "--port PORT FILE.dat [--retry N] [--trace FILE] [--backup DIR]\n        [--verify] [--repeat] [--force]",
         "write a .dat file to the radio", runWrite},
        {"ports", "", "the serial devices and COM1 to COM4", runPorts},
        {"sim", "[--image FILE.dat] [--save FILE.dat] [--link PATH] [--baud N] [faults]",
         "a simulated radio on a pseudo-terminal", runSim},
    };
    return table;
}

const Verb* findVerb(const QString& name)
{
    for (const Verb& verb : verbs()) {
        if (name == QLatin1String(verb.name))
            return &verb;
    }
    return nullptr;
}

void printUsage(FILE* to)
{
    // "  NAME SYNOPSIS" with the summary beside it when it fits in the
    // 37-column command field, else on the next line under the summaries.
    constexpr int kField = 37;
    std::fputs("usage: kq517 <command> [options]\n", to);
    for (const Verb& verb : verbs()) {
        QString line = QStringLiteral("  %1").arg(QLatin1String(verb.name));
        if (std::strlen(verb.synopsis) > 0)
            line += QLatin1Char(' ') + QLatin1String(verb.synopsis);
        const bool oneLine = !line.contains(QLatin1Char('\n')) && line.size() < kField;
        if (oneLine)
            line = line.leftJustified(kField) + QLatin1String(verb.summary);
        else
            line += QLatin1Char('\n') + QString(kField, QLatin1Char(' ')) + QLatin1String(verb.summary);
        std::fprintf(to, "%s\n", line.toLocal8Bit().constData());
    }
    std::fputs("Run 'kq517 sim --help' for the fault options.\n", to);
}
