// kq517 ports: the serial devices found, the COM names mapped to them, and
// whether each can be opened (and why not).

#include <QFile>

#include <cstdio>

#include "cli/Commands.h"
#include "link/PortSurvey.h"
#include "texts/FieldReasons.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"

namespace {

void printField(const char* name, const QString& value)
{
    std::fprintf(stdout, "  %-16s %s\n", name, value.isEmpty() ? "-" : value.toLocal8Bit().constData());
}

int runPorts(const ParsedArgs&)
{
    const texts::TextTable& english = texts::TextTable::english();  // for scripts, whatever the language
    const QList<SurveyedPort> ports = PortSurvey::survey(g_settings);
    if (ports.isEmpty())
        std::fputs("No serial devices found, and no COM name maps to one.\n", stdout);
    for (const SurveyedPort& port : ports) {
        std::fprintf(stdout, "%s%s\n", QFile::encodeName(port.device).constData(),
                     port.detected ? "" : qPrintable(QStringLiteral("  ") + english.text(texts::fieldid::kNotListed)));
        if (port.detected) {
            printField("description", port.description);
            printField("vendor:product", port.vendorProduct);
            printField("serial number", port.serialNumber);
        }
        printField("COM name", port.comNames.join(QStringLiteral(", ")));
        printField("can be opened", port.openable ? QStringLiteral("yes")
                                                  : QStringLiteral("no: ") + texts::openReasonAlone(port.openError, english));
    }
    std::fflush(stdout);
    return kExitOk;
}

}  // namespace

const VerbRecord& portsVerb()
{
    static const VerbRecord verb{"ports", "", 0, 0, "the serial devices and COM1 to COM4", {},
                               "For each device: what the system says of it, the COM names mapped to it, and "
                               "whether it can be opened (and why not).",
                               runPorts};
    return verb;
}
