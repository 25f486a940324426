#include "shell/AboutDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "shell/HelpLauncher.h"
#include "shell/LanguageModule.h"

namespace {
constexpr int kTemplateId = 100;

QString languageText(const char* key)
{
    return g_settings.GetText(g_strLanguage.toUtf8(), key, QString());
}
}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    if (QWidget* form = LanguageModule::loadDialog(kTemplateId, this)) {
        form->setWindowFlags(Qt::Widget);
        setFixedSize(form->size());
        layout->addWidget(form);
        m_version = form->findChild<QLabel*>(LanguageModule::controlName(1010));
        m_copyright = form->findChild<QLabel*>(LanguageModule::controlName(1011));
        m_owner = form->findChild<QLabel*>(LanguageModule::controlName(1012));
        m_icon = form->findChild<QLabel*>(LanguageModule::controlName(1013));
        if (auto* ok = form->findChild<QPushButton*>(LanguageModule::controlName(1)))
            connect(ok, &QPushButton::clicked, this, &QDialog::accept);
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

void CAboutDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        // Help on a dialog: its help id is 0x20000 + template id; the help
        // routine passes that less 0x10000.
        HelpLauncher::showContext(0x10000 + kTemplateId);
        return;
    }
    QDialog::keyPressEvent(event);
}
