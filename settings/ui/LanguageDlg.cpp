#include "settings/ui/LanguageDlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRadioButton>
#include <QShowEvent>

#include <algorithm>

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/SettingsFileLocation.h"
#include "settings/ui/TemplateHost.h"

namespace {
constexpr int kTemplateId = 134;
constexpr int kHelpContext = 32799;
const QString kModuleSuffix = QStringLiteral("517.rcc");
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
    m_languages = {QStringLiteral("English"), QStringLiteral("Chinese")};
    if (m_template->ensureLoaded()) {
        m_radioEnglish = m_template->control<QRadioButton>(1006);
        m_radioChinese = m_template->control<QRadioButton>(1007);
    }
    m_radios = {m_radioEnglish, m_radioChinese};
    addFurtherLanguages();
}

QStringList CLanguageDlg::furtherLanguages(const QString& programDir)
{
    QStringList languages;
    const QStringList files = QDir(programDir).entryList({QLatin1Char('*') + kModuleSuffix}, QDir::Files);
    for (const QString& file : files) {
        // The file system may list a name in another case than the pattern's.
        if (!file.endsWith(kModuleSuffix, Qt::CaseInsensitive))
            continue;
        const QString language = file.left(file.size() - kModuleSuffix.size());
        if (language.isEmpty() || language.compare(QStringLiteral("English"), Qt::CaseInsensitive) == 0 ||
            language.compare(QStringLiteral("Chinese"), Qt::CaseInsensitive) == 0)
            continue;
        languages.append(language);
    }
    std::sort(languages.begin(), languages.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return languages;
}

void CLanguageDlg::addFurtherLanguages()
{
    const QStringList further = furtherLanguages(g_strProgramDir);
    if (further.isEmpty() || !m_radioEnglish || !m_radioChinese)
        return;
    // One more button per module, named by its language, below the template's
    // two at the same spacing; the group and the dialog grow to hold them.
    QWidget* group = m_radioChinese->parentWidget();
    const int step = std::max(m_radioChinese->y() - m_radioEnglish->y(), m_radioChinese->height());
    const int grow = step * int(further.size());
    for (int i = 0; i < further.size(); ++i) {
        auto* radio = new QRadioButton(further.at(i), group);
        radio->setObjectName(QStringLiteral("language%1").arg(i + 2));
        radio->setGeometry(m_radioChinese->geometry().translated(0, step * (i + 1)));
        radio->show();
        m_languages.append(further.at(i));
        m_radios.append(radio);
    }
    if (group && group != m_template->form())
        group->resize(group->width(), group->height() + grow);
    if (QWidget* form = m_template->form()) {
        form->setMinimumSize(form->width(), form->height() + grow);
        setFixedSize(width(), height() + grow);
    }
}

int CLanguageDlg::currentChoice() const
{
    if (g_bChinese)
        return 1;
    // A further language counts as chosen when its module is the one named
    // (the module lookup ignores case); any other name is English's.
    for (int i = 2; i < m_languages.size(); ++i) {
        if (m_languages.at(i).compare(g_strLanguage, Qt::CaseInsensitive) == 0)
            return i;
    }
    return 0;
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
    m_nLanguage = currentChoice();
    for (int i = 0; i < m_radios.size(); ++i) {
        if (m_radios.at(i))
            m_radios.at(i)->setChecked(m_nLanguage == i);
    }
}

void CLanguageDlg::OnOK()
{
    for (int i = 0; i < m_radios.size(); ++i) {
        if (m_radios.at(i) && m_radios.at(i)->isChecked())
            m_nLanguage = i;
    }
    const int current = currentChoice();
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
    const QByteArray language = m_languages.value(m_nLanguage, m_languages.first()).toUtf8();
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
