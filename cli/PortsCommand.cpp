// kq517 ports: placeholder until the port listing lands.
#include "cli/Commands.h"

int runPorts(const QStringList&)
{
    return kExitOk;
}
