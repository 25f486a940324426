#include "shell/LanguageDlg.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "shell/HelpLauncher.h"
#include "shell/LanguageModule.h"
#include "shell/MainFrame.h"

namespace {
constexpr int kTemplateId = 134;
constexpr int kHelpContext = 32799;
CLanguageDlg::RelaunchHook g_relaunchHook;
}  // namespace

CLanguageDlg::CLanguageDlg(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (QWidget* form = LanguageModule::loadDialog(kTemplateId, this)) {
        form->setWindowFlags(Qt::Widget);
        setWindowTitle(form->windowTitle());
        setFixedSize(form->size());
        layout->addWidget(form);
        m_radioEnglish = form->findChild<QRadioButton*>(LanguageModule::controlName(1006));
        m_radioChinese = form->findChild<QRadioButton*>(LanguageModule::controlName(1007));
        if (auto* ok = form->findChild<QPushButton*>(LanguageModule::controlName(1)))
            connect(ok, &QPushButton::clicked, this, &CLanguageDlg::OnOK);
        if (auto* cancel = form->findChild<QPushButton*>(LanguageModule::controlName(2)))
            connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }
}

void CLanguageDlg::setRelaunchHook(RelaunchHook hook) { g_relaunchHook = std::move(hook); }

void CLanguageDlg::showEvent(QShowEvent* event)
{
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

void CLanguageDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1)
        HelpLauncher::showContext(kHelpContext);
    QDialog::keyPressEvent(event);
}

void CLanguageDlg::OnOK()
{
    if (m_radioChinese && m_radioChinese->isChecked())
        m_nLanguage = 1;
    else if (m_radioEnglish && m_radioEnglish->isChecked())
        m_nLanguage = 0;
    const int current = g_bChinese ? 1 : 0;
    if (m_nLanguage == current) {
        accept();
        return;
    }
    m_bLanguageChanged = true;
    const QByteArray language = g_bChinese ? QByteArrayLiteral("English") : QByteArrayLiteral("Chinese");
    {
        // The maker's file, written as this store goes out of scope.
        CIniFile maker(4);
        maker.OpenInProgramDir(QStringLiteral("Halvorn.ini"), true, false, true, false);
        maker.SetString("Setup", "Language", language);
    }
    g_settings.SetString("Setup", "Language", language);
    // The new instance reads the settings file at its start: it must hold the
    // new language before that, not only when this process ends.
    g_settings.Save(false);
    accept();
    restartProgram();
}

void CLanguageDlg::restartProgram()
{
    // This instance ends (nothing is ever modified, so nothing asks to save),
    // then the same program file starts anew with the new language.
    if (CMainFrame* main = CMainFrame::instance())
        main->close();
    const QString program = QCoreApplication::applicationFilePath();
    if (g_relaunchHook) {
        g_relaunchHook(program);
        return;
    }
    QProcess::startDetached(program, {});
}
