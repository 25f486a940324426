#include "shell/KQ_517App.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QFileInfo>
#include <QIcon>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QRegularExpression>

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/SettingsFileLocation.h"
#include "shell/AboutDlg.h"
#include "settings/ui/AppMessage.h"
#include "shell/ChildFrame.h"
#include "shell/DocTemplate.h"
#include "settings/ui/LanguageModule.h"
#include "shell/MainFrame.h"
#include "shell/StartupTrace.h"
#include "view/KQ_517View.h"
#include "view/PrintSwitches.h"
#include "texts/TextTable.h"

namespace {
CKQ_517App* g_app = nullptr;

// The program's own title, the caption of messages shown before a module loads.
const QString kOwnTitle = QStringLiteral("KQ_517");
constexpr int kLoadFailedText = 62004;        // "Load language DLL fail"
constexpr int kModuleIncompleteText = 62005;  // the module lacks the main window's resources
}  // namespace

CKQ_517App::CKQ_517App() { g_app = this; }

CKQ_517App::~CKQ_517App()
{
    delete m_pMainFrame;
    if (g_app == this)
        g_app = nullptr;
}

CKQ_517App* CKQ_517App::instance() { return g_app; }

const CMultiDocTemplate& CKQ_517App::docTemplate()
{
    if (g_app && g_app->m_pDocTemplate)
        return *g_app->m_pDocTemplate;
    static const CMultiDocTemplate standard = CMultiDocTemplate::standard();
    return standard;
}

namespace {

// Qt's translation of its own texts for the interface language: Chinese
// modules get the Chinese one (the module lookup ignores case, so does this);
// every other language keeps Qt's English.
void installQtTranslation(const QString& language)
{
    static QTranslator translator;
    QCoreApplication::removeTranslator(&translator);
    if (language.compare(QStringLiteral("Chinese"), Qt::CaseInsensitive) != 0)
        return;
    if (translator.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}

}  // namespace

int CKQ_517App::InitInstance(const QStringList& args)
{
    setAppName(kOwnTitle);
    // With a print switch nobody answers a box: failures go to standard error.
    if (parsePrintSwitches(args).present)
        setMessagesToStandardError(true);

    // 1. The settings file of the program directory (the installed data
    //    folder when the program is installed; the user's copy once the
    //    program may not write there); a missing file only means empty
    //    defaults.
    const QString programDir =
        m_strProgramDirOverride.isEmpty()
            ? SettingsFileLocation::dataDirectory(QCoreApplication::applicationDirPath())
            : m_strProgramDirOverride;
    CIniFile::setProgramDirectory(programDir);
    SettingsFileLocation::open(g_settings, QStringLiteral("KQ-517.ini"), true, false, true, false);

    StartupTrace::phase("settings file");

    // 2.-3. The interface language.
    g_strLanguage = decodeSettingsText(g_settings.GetString("Setup", "Language", ""));
    g_bChinese = g_strLanguage == QStringLiteral("Chinese");

    // 4.-5. Its module, and the help file.
    const bool loaded = LanguageModule::load(g_strLanguage, programDir);
    g_strHelpFile = g_bChinese ? QStringLiteral("chHelp.chm") : QStringLiteral("enHelp.chm");

    StartupTrace::phase("language module");

    // 6. No module, no window.
    if (!loaded) {
        appMessageBox(nullptr,
                      texts::TextTable::builtIn(g_strLanguage).text(kLoadFailedText),
                      QMessageBox::Ok, QMessageBox::NoIcon, kOwnTitle);
        return kStartupFailed;
    }

    // 7. The module is the resource source from here on. Qt's own dialogs and
    //    buttons (OK, Cancel, the print and file dialogs) follow its language.
    installQtTranslation(g_strLanguage);

    // 9. The program directory, with its trailing separator.
    g_strProgramDir = QDir::fromNativeSeparators(programDir);
    if (!g_strProgramDir.endsWith(QLatin1Char('/')))
        g_strProgramDir += QLatin1Char('/');

    // 12. The one document registration.
    m_pDocTemplate = std::make_unique<CMultiDocTemplate>(CMultiDocTemplate::standard());

    // 13. The main window; a resource missing from the module ends the program silently.
    m_pMainFrame = new CMainFrame;
    if (!m_pMainFrame->isValid()) {
        delete m_pMainFrame;
        m_pMainFrame = nullptr;
        if (messagesToStandardError())
            appMessageBox(nullptr, texts::TextTable::builtIn(g_strLanguage).text(kModuleIncompleteText));
        return kStartupFailed;
    }

    StartupTrace::phase("main window");

    // 18. The document menu's About item shows "About Title". Set before the
    //     first document window opens, so that its menu bar is built once.
    const QByteArray section = g_strLanguage.toUtf8();
    m_pMainFrame->setAboutMenuText(g_settings.GetText(section, "About Title", QString()));

    // 14. The command line.
    const int status = processCommandLine(args);
    if (status != kRunMessageLoop)
        return status;

    StartupTrace::phase("document window");

    // 15.-16. Maximised, with the program directory's icon when there is one.
    m_pMainFrame->showMaximized();
    const QIcon titleIcon(g_strProgramDir + QStringLiteral("title.ico"));
    if (!titleIcon.availableSizes().isEmpty())
        m_pMainFrame->setWindowIcon(titleIcon);

    // 17. The application's name from now on: the language's "Company".
    setAppName(g_settings.GetText(section, "Company", QString()));
    StartupTrace::phase("shown");
    StartupTrace::watchMapped(m_pMainFrame);
    return kRunMessageLoop;
}

int CKQ_517App::processCommandLine(const QStringList& args)
{
    const PrintRequest print = parsePrintSwitches(args);
    if (print.present) {
        QString error;
        // A print switch without a file prints nothing: refuse it before any
        // window opens.
        CChildFrame* frame =
            print.file.isEmpty() ? nullptr : m_pMainFrame->openDocumentWindow(print.file);
        if (!frame && print.file.isEmpty()) {
            runPrintRequest(nullptr, print, &error);
            appMessageBox(nullptr, error);
        }
        if (!frame)
            return kStartupFailed;
        const bool ok = runPrintRequest(frame->view(), print, &error);
        if (!ok && !error.isEmpty())
            appMessageBox(nullptr, error);
        return ok ? 0 : kStartupFailed;
    }
    // The first argument that is not a switch ("/x" or "-x") names a document file.
    static const QRegularExpression kSwitch(QStringLiteral("^[-/][A-Za-z]+$"));
    QString file;
    for (const QString& arg : args) {
        if (!kSwitch.match(arg).hasMatch()) {
            file = arg;
            break;
        }
    }
    if (file.isEmpty()) {
        OnFileNew();
        return m_pMainFrame->childFrames().isEmpty() ? kStartupFailed : kRunMessageLoop;
    }
    return m_pMainFrame->openDocumentWindow(file) ? kRunMessageLoop : kStartupFailed;
}

int CKQ_517App::ExitInstance()
{
    delete m_pMainFrame;
    m_pMainFrame = nullptr;
    LanguageModule::unload();
    return 0;
}

void CKQ_517App::OnFileNew()
{
    CMainFrame* main = CMainFrame::instance();
    if (!main || CKQ_517View::anyTransferRunning())
        return;
    if (QMdiSubWindow* active = main->activeChildFrame()) {
        const auto answer = appMessageBox(main, LanguageModule::string(61452),
                                          QMessageBox::Ok | QMessageBox::Cancel);
        if (answer != QMessageBox::Ok)
            return;
        // Unsaved changes are offered a save before the document goes.
        if (!main->SaveModified(qobject_cast<CChildFrame*>(active)))
            return;
        main->destroyChildFrame(active);
    }
    main->openDocumentWindow(QString());
}

void CKQ_517App::OnAppAbout()
{
    CAboutDlg dialog(CMainFrame::instance());
    dialog.DoModal();
}
