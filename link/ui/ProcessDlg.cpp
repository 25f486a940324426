#include "link/ui/ProcessDlg.h"

#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

#include "link/ui/FieldTexts.h"
#include "settings/Globals.h"
#include "settings/ui/LanguageModule.h"

CProcessDlg::CProcessDlg(QObject* owner, QObject* parent) : QObject(parent), m_owner(owner) {}

CProcessDlg::~CProcessDlg() { DestroyWindow(); }

bool CProcessDlg::Create(QWidget* ownerWindow)
{
    if (m_window)
        return true;
    QWidget* widget = LanguageModule::loadDialog(IDD, ownerWindow);
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (!dialog) {
        delete widget;
        return false;
    }
    m_window = dialog;
    dialog->setModal(false);
    // The loader leaves a form with a parent as a child widget: make it a window
    // (caption, system menu, no context help button).
    dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint);
    m_progress = dialog->findChild<QProgressBar*>(LanguageModule::controlName(IDC_PROGRESS));
    m_position = dialog->findChild<QLabel*>(LanguageModule::controlName(IDC_POSITION));
    m_buttonOk = dialog->findChild<QPushButton*>(LanguageModule::controlName(1));
    auto* buttonCancel = dialog->findChild<QPushButton*>(LanguageModule::controlName(2));
    if (m_buttonOk)
        connect(m_buttonOk, &QPushButton::clicked, this, &CProcessDlg::OnOK);
    if (buttonCancel)
        connect(buttonCancel, &QPushButton::clicked, this, &CProcessDlg::OnCancel);
    // Escape and the close box go through OnCancel, so that a running transfer
    // is not left without its window.
    dialog->installEventFilter(this);
    // The port above the bar, the step of a write with options below the buttons.
    m_portLine = new QLabel(dialog);
    m_portLine->setObjectName(QStringLiteral("portLine"));
    m_portLine->setGeometry(35, 8, 239, 20);
    m_stepLine = new QLabel(dialog);
    m_stepLine->setObjectName(QStringLiteral("stepLine"));
    m_stepLine->setGeometry(35, 94, 239, 20);

    OnInitDialog();
    dialog->show();
    // Centred over the owner, or over the screen when there is none.
    const QRect area = ownerWindow && ownerWindow->isVisible()
                           ? ownerWindow->frameGeometry()
                           : (dialog->screen() ? dialog->screen()->availableGeometry() : QRect());
    if (area.isValid()) {
        QRect frame = dialog->frameGeometry();
        frame.moveCenter(area.center());
        dialog->move(frame.topLeft());
    }
    return true;
}

void CProcessDlg::OnInitDialog()
{
    if (m_progress) {
        m_progress->setRange(0, 63);
        m_progress->setValue(0);
    }
    if (m_position)
        m_position->setText(QStringLiteral("0"));
    m_window->setWindowTitle(m_strTitle);
    if (m_portLine) {
        m_portLine->setText(m_strPortLine);
        m_portLine->setToolTip(m_strPortLine);
        // A long device name, or the note that the environment chose it,
        // widens the line and the window (keeping its right margin) rather
        // than being cut off.
        const int needed = m_portLine->sizeHint().width();
        if (needed > m_portLine->width()) {
            const int margin = std::max(0, m_window->width() - (m_portLine->x() + m_portLine->width()));
            m_portLine->resize(needed, m_portLine->height());
            m_window->resize(std::max(m_window->width(), m_portLine->x() + needed + margin), m_window->height());
        }
    }
    if (m_stepLine)
        m_stepLine->clear();
    m_stepShown = false;
    m_bCancel = false;
}

void CProcessDlg::DestroyWindow()
{
    if (!m_window)
        return;
    QDialog* window = m_window;
    m_window = nullptr;
    window->removeEventFilter(this);
    window->hide();
    // Deleted later: DestroyWindow may run from inside one of the window's own
    // button handlers.
    window->deleteLater();
}

void CProcessDlg::advanceProgress()
{
    if (!m_progress)
        return;
    const int value = m_progress->value();
    if (value < kLastPosition) {
        m_progress->setValue(value + 1);  // step 1
        if (m_position)
            m_position->setText(QString::asprintf("%d", m_progress->value()));
    }
}

void CProcessDlg::stepProgress(FieldStep step, int row)
{
    if (row == 0 && m_stepShown && step != m_step && m_progress) {
        m_progress->setValue(0);
        if (m_position)
            m_position->setText(QStringLiteral("0"));
    }
    if (!m_stepShown || step != m_step) {
        m_step = step;
        m_stepShown = true;
        // A plain read or write has one step and says nothing more.
        if (m_stepLine && (step == FieldStep::Backup || step == FieldStep::Verify || !m_stepLine->text().isEmpty()))
            m_stepLine->setText(texts::stepProgress(step) + QStringLiteral("..."));
    }
    advanceProgress();
}

int CProcessDlg::position() const { return m_progress ? m_progress->value() : 0; }

void CProcessDlg::OnOK()
{
    if (!m_window || !m_buttonOk || !m_buttonOk->isEnabled())
        return;
    m_buttonOk->setEnabled(false);
    if (m_owner)
        QMetaObject::invokeMethod(m_owner, "OnRadioTransfer", Qt::QueuedConnection);
}

void CProcessDlg::OnCancel()
{
    if (!m_window)
        return;
    const bool notStarted = m_buttonOk && m_buttonOk->isEnabled();
    m_bCancel = true;
    if (notStarted)
        DestroyWindow();
}

void CProcessDlg::RefuseStart()
{
    if (!m_window)
        return;
    if (m_bCancel)
        DestroyWindow();
    else if (m_buttonOk)
        m_buttonOk->setEnabled(true);
}

bool CProcessDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::Close) {
            event->ignore();
            OnCancel();
            return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            OnCancel();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
