#pragma once
// CKQ_517App: starts and ends the program: settings file, language, language
// module, program directory, document registration, main window, command
// line. Owns File New (with its question) and the About box.

#include <QString>
#include <QStringList>

#include <memory>

class CMainFrame;
class CMultiDocTemplate;

class CKQ_517App {
public:
    // Exit status of a start-up that failed (no module, no window, a file that
    // does not open).
    static constexpr int kStartupFailed = 1;
    // InitInstance's answer when the message loop should run.
    static constexpr int kRunMessageLoop = -1;

    CKQ_517App();
    ~CKQ_517App();

    static CKQ_517App* instance();

    // The folder of the settings file, the language modules and the pictures;
    // the running program's folder unless set (tests).
    void setProgramDirectory(const QString& dir) { m_strProgramDirOverride = dir; }

    // Start-up with the command line (without the program name). Returns
    // kRunMessageLoop when the program runs on, else the exit status.
    int InitInstance(const QStringList& args);
    // End of run: releases the language module.
    int ExitInstance();

    CMainFrame* mainFrame() const { return m_pMainFrame; }

    // The document registration (the standard one when none was made).
    static const CMultiDocTemplate& docTemplate();

    // File New (57600): asks before discarding the active document window.
    static void OnFileNew();
    // About (57664).
    static void OnAppAbout();

private:
    int processCommandLine(const QStringList& args);

    QString m_strProgramDirOverride;
    CMainFrame* m_pMainFrame = nullptr;
    std::unique_ptr<CMultiDocTemplate> m_pDocTemplate;
};
