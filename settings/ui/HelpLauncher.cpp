#include "settings/ui/HelpLauncher.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "settings/Globals.h"

#ifdef Q_OS_WIN
#include <QProcess>
#endif

namespace {
QList<HelpLauncher::Request> g_requests;
bool g_launchEnabled = true;
}  // namespace

void HelpLauncher::showContext(int context)
{
    g_requests.append({g_strHelpFile, kHelpContextCommand, context});
    if (!g_launchEnabled)
        return;
    const QString file = g_strProgramDir + g_strHelpFile;
    if (!QFileInfo::exists(file))
        return;  // like a missing viewer: the request does nothing
#ifdef Q_OS_WIN
    // hh.exe -mapid <context> <file> opens the compiled help at the context.
    QProcess::startDetached(QStringLiteral("hh.exe"),
                            {QStringLiteral("-mapid"), QString::number(context), file});
#else
    QDesktopServices::openUrl(QUrl::fromLocalFile(file));
#endif
}

const QList<HelpLauncher::Request>& HelpLauncher::requests() { return g_requests; }

void HelpLauncher::clearRequests() { g_requests.clear(); }

void HelpLauncher::setLaunchEnabled(bool enabled) { g_launchEnabled = enabled; }
