#include "tests/support/ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>

namespace {
constexpr int kPollMs = 5;
}

ModalAnswerer::ModalAnswerer(QMessageBox::StandardButton button, int kinds)
    : m_button(button), m_kinds(kinds)
{
    connect(&m_timer, &QTimer::timeout, this, &ModalAnswerer::poll);
    m_timer.start(kPollMs);
}

QStringList ModalAnswerer::texts() const
{
    QStringList list;
    for (const Seen& s : m_seen)
        list << s.text;
    return list;
}

void ModalAnswerer::poll()
{
    QPointer<QDialog> dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible())
        return;
    if (dialog == m_handled)
        return;  // still closing from the last answer
    QMessageBox* box = qobject_cast<QMessageBox*>(dialog.data());
    if (!(m_kinds & (box ? MessageBoxes : OtherDialogs)))
        return;

    // The same window may be shown again once this showing has ended.
    if (m_handled)
        disconnect(m_handled, &QDialog::finished, this, nullptr);
    m_handled = dialog;
    connect(dialog, &QDialog::finished, this, [this] { m_handled = nullptr; });

    Seen seen;
    seen.className = QString::fromLatin1(dialog->metaObject()->className());
    seen.caption = dialog->windowTitle();
    seen.parent = dialog->parentWidget();
    if (box) {
        seen.text = box->text();
        seen.buttons = box->standardButtons();
        seen.icon = box->icon();
    }
    m_seen.append(seen);
    if (m_once)
        m_timer.stop();

    if (box) {
        const QMessageBox::StandardButton answer = m_answers.isEmpty() ? m_button : m_answers.takeFirst();
        if (QAbstractButton* button = box->button(answer))
            button->click();
    } else if (m_onDialog) {
        m_onDialog(dialog);
    }
    if (dialog && dialog->isVisible())
        dialog->reject();
}
