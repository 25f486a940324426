#pragma once
// Opens the help file at a context number. On Windows the HTML help viewer
// (command 15, HH_HELP_CONTEXT); elsewhere the desktop's handler for the file.
// Every request is recorded so tests can see it; tests switch launching off.

#include <QList>
#include <QString>

class HelpLauncher {
public:
    static constexpr int kHelpContextCommand = 15;

    struct Request {
        QString file;  // g_strHelpFile, a bare name
        int command;
        int context;
    };

    // Help on g_strHelpFile at context.
    static void showContext(int context);

    static const QList<Request>& requests();
    static void clearRequests();
    static void setLaunchEnabled(bool enabled);  // false in tests: record only
};
