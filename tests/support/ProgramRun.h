#pragma once
// The whole program in a test: a program directory with the settings file and
// the built language modules, and a start-up in it that ends with the object.
//
//   ProgramFolder folder;                  // English and Chinese modules
//   folder.mapPort("COM1", sim.devicePath());
//   Started run(folder.dir.path());
//   run.frame()->onCommand(...);

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include "shell/KQ_517App.h"
#include "shell/MainFrame.h"
#include "tests/support/TestSupport.h"

struct ProgramFolder {
    TempUserStore store;
    TempProgramDir dir;

    explicit ProgramFolder(bool withModules = true)
    {
        dir.copyDefaultSettings();
        if (withModules)
            for (const char* lang : {"English", "Chinese"})
                copyModule(QString::fromLatin1(lang) + QStringLiteral("517.rcc"));
    }
    bool copyModule(const QString& name, const QString& as = QString())
    {
        return QFile::copy(QStringLiteral(KQ517_PROGRAM_DIR "/") + name, dir.filePath(as.isEmpty() ? name : as));
    }
    void setLanguage(const QByteArray& language)
    {
        QByteArray text = dir.readFile();
        text.replace("Language=English", "Language=" + language);
        dir.writeSettings(text);
    }
    // The settings file has a [Ports] section already: the mapping goes into it.
    void mapPort(const QByteArray& name, const QString& device)
    {
        QByteArray text = dir.readFile();
        text.replace("[Ports]", "[Ports]\n" + name + '=' + device.toUtf8());
        dir.writeSettings(text);
    }
};

// Runs start-up in a folder and ends the run when it goes.
struct Started {
    CKQ_517App app;
    int status = 0;
    Started(const QString& programDir, const QStringList& args = {})
    {
        app.setProgramDirectory(programDir);
        status = app.InitInstance(args);
    }
    ~Started()
    {
        CMainFrame::setFileDialogHook({});
        app.ExitInstance();
    }
    CMainFrame* frame() const { return CMainFrame::instance(); }
};
