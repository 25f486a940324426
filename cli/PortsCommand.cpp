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

void printField(int nameId, const QString& value)
{
    std::fprintf(stdout, "  %-16s %s\n", texts::TextTable::english().text(nameId).toLocal8Bit().constData(),
                 value.isEmpty() ? "-" : value.toLocal8Bit().constData());
}

int runPorts(const ParsedArgs&)
{
    const texts::TextTable& english = texts::TextTable::english();  // for scripts, whatever the language
    const QList<SurveyedPort> ports = PortSurvey::survey(g_settings);
    if (ports.isEmpty())
        std::fprintf(stdout, "%s\n", qPrintable(english.text(texts::fieldid::kNoPorts)));
    for (const SurveyedPort& port : ports) {
        std::fprintf(stdout, "%s%s\n", QFile::encodeName(port.device).constData(),
                     port.detected ? "" : qPrintable(QStringLiteral("  ") + english.text(texts::fieldid::kNotListed)));
        if (port.detected) {
            printField(texts::fieldid::kFieldDescription, port.description);
            printField(texts::fieldid::kFieldVendorProduct, port.vendorProduct);
            printField(texts::fieldid::kFieldSerialNumber, port.serialNumber);
        }
        printField(texts::fieldid::kFieldComName, port.comNames.join(QStringLiteral(", ")));
        printField(texts::fieldid::kFieldCanOpen,
                   port.openable ? english.text(texts::fieldid::kCanOpen)
                                 : english.text(texts::fieldid::kCannotOpen).arg(texts::openReasonAlone(port.openError, english)));
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
