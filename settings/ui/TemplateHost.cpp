#include "settings/ui/TemplateHost.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/ui/HelpLauncher.h"
#include "settings/ui/LanguageModule.h"

TemplateHost::TemplateHost(QDialog* owner, int templateId)
    : QObject(owner), m_owner(owner), m_templateId(templateId)
{
}

bool TemplateHost::ensureLoaded()
{
    if (m_form)
        return true;
    QWidget* form = LanguageModule::loadDialog(m_templateId, m_owner);
    if (!form)
        return false;
    // Templates are stored as dialogs; here the owner is the window and the
    // template only its contents.
    form->setWindowFlags(Qt::Widget);
    const QSize size = form->size();
    form->setMinimumSize(size);

    auto* layout = new QVBoxLayout(m_owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(form);
    m_owner->setWindowTitle(form->windowTitle());
    m_owner->setFixedSize(size);
    m_form = form;
    form->show();  // shown with the owner; changing the window flags hid it

    if (auto* ok = control<QPushButton>(1))
        connect(ok, &QPushButton::clicked, m_owner, &QDialog::accept);
    if (auto* cancel = control<QPushButton>(2))
        connect(cancel, &QPushButton::clicked, m_owner, &QDialog::reject);
    // Key presses the controls do not take travel up to the form: Escape would
    // close only the embedded template, and F1 is ours. The owner itself sees
    // the keys pressed while no control has the focus.
    form->installEventFilter(this);
    m_owner->installEventFilter(this);
    return true;
}

QWidget* TemplateHost::findControl(int id) const
{
    return m_form ? m_form->findChild<QWidget*>(LanguageModule::controlName(id)) : nullptr;
}

int TemplateHost::focusedControlId() const
{
    // The form itself carries the template id: only the controls inside count.
    for (QWidget* w = m_owner->focusWidget(); w && w != m_form && w != m_owner; w = w->parentWidget()) {
        if (const int id = LanguageModule::controlId(w))
            return id;
    }
    return 0;
}

bool TemplateHost::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == m_form || watched == m_owner) && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            if (const int id = m_nHelpContext ? m_nHelpContext : focusedControlId())
                HelpLauncher::showContext(id);
            return true;
        }
        if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
            m_owner->reject();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
