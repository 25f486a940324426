#include "settings/ui/LanguageDlg.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRadioButton>
#include <QShowEvent>

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/SettingsFileLocation.h"
#include "settings/ui/TemplateHost.h"

namespace {
constexpr int kTemplateId = 134;
constexpr int kHelpContext = 32799;
CLanguageDlg::RelaunchHook g_relaunchHook;

CLanguageDlg::ProgramHooks& programHooks()
{
    static CLanguageDlg::ProgramHooks hooks;
    return hooks;
}
}  // namespace

void CLanguageDlg::setProgramHooks(ProgramHooks hooks) { programHooks() = std::move(hooks); }

CLanguageDlg::CLanguageDlg(QWidget* parent) : QDialog(parent), m_template(new TemplateHost(this, kTemplateId))
{
    // F1 anywhere in the dialog: help on the Language command.
    m_template->setHelpContext(kHelpContext);
    if (m_template->ensureLoaded()) {
        m_radioEnglish = m_template->control<QRadioButton>(1006);
        m_radioChinese = m_template->control<QRadioButton>(1007);
    }
}

void CLanguageDlg::setRelaunchHook(RelaunchHook hook) { g_relaunchHook = std::move(hook); }

void CLanguageDlg::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        OnInitDialog();
    QDialog::showEvent(event);
}

void CLanguageDlg::OnInitDialog()
{
    m_nLanguage = g_bChinese ? 1 : 0;
    if (m_radioEnglish)
        m_radioEnglish->setChecked(m_nLanguage == 0);
    if (m_radioChinese)
        m_radioChinese->setChecked(m_nLanguage == 1);
}

void CLanguageDlg::OnOK()
{
    if (m_radioChinese && m_radioChinese->isChecked())
        m_nLanguage = 1;
    else if (m_radioEnglish && m_radioEnglish->isChecked())
        m_nLanguage = 0;
    const int current = g_bChinese ? 1 : 0;
    if (m_nLanguage == current) {
        QDialog::accept();
        return;
    }
    // The program restarts: documents with unsaved changes are offered a
    // save first, and Cancel leaves the language as it is.
    if (programHooks().askToSave && !programHooks().askToSave()) {
        QDialog::reject();
        return;
    }
    m_bLanguageChanged = true;
    const QByteArray language = g_bChinese ? QByteArrayLiteral("English") : QByteArrayLiteral("Chinese");
    {
        // The maker's file, written as this store goes out of scope.
        CIniFile maker(4);
        SettingsFileLocation::open(maker, QStringLiteral("Halvorn.ini"), true, false, true, false);
        maker.SetString("Setup", "Language", language);
    }
    g_settings.SetString("Setup", "Language", language);
    // The new instance reads the settings file at its start: it must hold the
    // new language before that, not only when this process ends.
    g_settings.Save(false);
    QDialog::accept();
    restartProgram();
}

void CLanguageDlg::restartProgram()
{
    // This instance ends (its documents were offered a save already), then
    // the same program file starts anew with the new language.
    if (programHooks().closeProgram)
        programHooks().closeProgram();
    const QString program = QCoreApplication::applicationFilePath();
    if (g_relaunchHook) {
        g_relaunchHook(program);
        return;
    }
    QProcess::startDetached(program, {});
}
