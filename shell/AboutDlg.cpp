#include "shell/AboutDlg.h"

#include <QLabel>
#include <QPixmap>

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/ui/TemplateHost.h"

namespace {
constexpr int kTemplateId = 100;

QString languageText(const char* key)
{
    return g_settings.GetText(g_strLanguage.toUtf8(), key, QString());
}
}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_template(new TemplateHost(this, kTemplateId))
{
    // Help on a dialog: its help id is 0x20000 + template id; the help
    // routine passes that less 0x10000.
    m_template->setHelpContext(0x10000 + kTemplateId);
    if (m_template->ensureLoaded()) {
        m_version = m_template->control<QLabel>(1010);
        m_copyright = m_template->control<QLabel>(1011);
        m_owner = m_template->control<QLabel>(1012);
        m_icon = m_template->control<QLabel>(1013);
    }

    // The template's own texts are always replaced, with empty text when a key is missing.
    setWindowTitle(languageText("About Title"));
    if (m_version)
        m_version->setText(languageText("Version"));
    if (m_copyright)
        m_copyright->setText(languageText("Copyrights"));
    if (m_owner)
        m_owner->setText(languageText("Copyrights Owner"));
    const QPixmap titleIcon(g_strProgramDir + QStringLiteral("title.ico"));
    if (m_icon && !titleIcon.isNull())
        m_icon->setPixmap(titleIcon.scaled(m_icon->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}
