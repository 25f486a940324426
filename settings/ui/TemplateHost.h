#pragma once
// TemplateHost: shows a dialog template of the language module inside an owning
// QDialog. OK (id1) runs the owner's accept(), Cancel (id2) and Escape its
// reject(); F1 asks for help at the id of the control that has the focus, or
// at the dialog's own help context when it has one.

#include <QObject>
#include <QPointer>

class QDialog;
class QWidget;

class TemplateHost : public QObject {
    Q_OBJECT
public:
    TemplateHost(QDialog* owner, int templateId);

    // Loads the template once; false while the language module lacks it.
    bool ensureLoaded();
    bool isLoaded() const { return !m_form.isNull(); }
    QWidget* form() const { return m_form; }

    template <typename T>
    T* control(int id) const;

    // F1 asks for this context whatever control has the focus (0: the
    // focused control's id).
    void setHelpContext(int context) { m_nHelpContext = context; }

    // The control id of the owner's focus widget or of its nearest parent that
    // has one (0 when none).
    int focusedControlId() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* findControl(int id) const;

    QDialog* m_owner;
    int m_templateId;
    int m_nHelpContext = 0;
    QPointer<QWidget> m_form;
};

template <typename T>
T* TemplateHost::control(int id) const
{
    return qobject_cast<T*>(findControl(id));
}
