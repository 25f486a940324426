#include "link/ui/ComSetupDlg.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "link/PortNames.h"
#include "link/SerialBytePort.h"
#include "settings/UserStore.h"
#include "settings/ui/HelpLauncher.h"
#include "settings/ui/LanguageModule.h"
#include "shell/MainFrame.h"
#include "view/KQ_517View.h"

namespace {
constexpr int kPortCount = 4;
const QString kValueName = QStringLiteral("com");

QString portName(int number) { return QString::asprintf("%s%d", "com", number); }
}  // namespace

CComSetupDlg::CComSetupDlg(CKQ_517View* owner, QObject* parent) : QObject(parent), m_owner(owner) {}

CComSetupDlg::~CComSetupDlg() { delete m_window; }

QRadioButton* CComSetupDlg::button(int index) const
{
    return m_window ? m_window->findChild<QRadioButton*>(LanguageModule::controlName(IDC_COM1 + index))
                    : nullptr;
}

int CComSetupDlg::DoModal(QWidget* parentWindow)
{
    if (m_window)
        return -1;  // already open
    QWidget* widget = LanguageModule::loadDialog(IDD, parentWindow);
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (!dialog) {
        delete widget;
        return -1;
    }
    m_window = dialog;
    // The loader leaves a form with a parent as a child widget: make it a window.
    dialog->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint);
    if (auto* ok = dialog->findChild<QPushButton*>(LanguageModule::controlName(1)))
        connect(ok, &QPushButton::clicked, this, &CComSetupDlg::OnOK);
    if (auto* cancel = dialog->findChild<QPushButton*>(LanguageModule::controlName(2)))
        connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    // F1 anywhere in the dialog asks for help on the command.
    dialog->installEventFilter(this);
    for (QWidget* child : dialog->findChildren<QWidget*>())
        child->installEventFilter(this);

    OnInitDialog();
    const int result = dialog->exec();
    delete m_window;  // still ours unless the parent went away meanwhile
    return result;
}

void CComSetupDlg::OnInitDialog()
{
    for (int i = 0; i < kPortCount; ++i) {
        const QString name = portName(i + 1);
        QRadioButton* radio = button(i);
        if (!radio)
            continue;
        // Opened exactly as a transfer opens it, and closed again at once.
        QString error;
        const bool canOpen = SerialBytePort::canOpen(name, &error);
        radio->setEnabled(canOpen);
        const QString device = PortNames::device(name);
        const QString tip = canOpen || error.isEmpty() ? device : device + QLatin1Char('\n') + error;
        radio->setToolTip(tip);
        if (auto* label = m_window->findChild<QLabel*>(QStringLiteral("device%1").arg(IDC_COM1 + i))) {
            label->setText(device);
            label->setToolTip(tip);
            label->setEnabled(canOpen);
        }
    }

    // The remembered port number 1..4 (default 1); anything else selects none.
    const std::uint32_t stored = UserStore::fromSettings().read(kValueName, std::uint32_t{1});
    m_nPort = stored >= 1 && stored <= kPortCount ? static_cast<int>(stored) - 1 : -1;
    exchangeToButtons();
}

void CComSetupDlg::exchangeToButtons()
{
    // A greyed-out button can still be the selected one; with -1 none is.
    for (int i = 0; i < kPortCount; ++i) {
        if (QRadioButton* radio = button(i)) {
            radio->setAutoExclusive(false);
            radio->setChecked(i == m_nPort);
            radio->setAutoExclusive(true);
        }
    }
}

void CComSetupDlg::exchangeFromButtons()
{
    m_nPort = -1;
    for (int i = 0; i < kPortCount; ++i) {
        if (QRadioButton* radio = button(i); radio && radio->isChecked()) {
            m_nPort = i;
            break;
        }
    }
}

void CComSetupDlg::OnOK()
{
    if (!m_window)
        return;
    exchangeFromButtons();
    // The active view of the main window's active document window; the
    // owning view when there is no main window.
    CKQ_517View* view = nullptr;
    if (CMainFrame* frame = CMainFrame::instance())
        view = frame->activeView();
    if (!view)
        view = m_owner;
    // With no button selected the name becomes "com0" and 0 is stored; the
    // next transfer then reports that the port cannot be opened.
    if (view)
        view->m_strPort = portName(m_nPort + 1);
    UserStore::fromSettings().write(kValueName, static_cast<std::uint32_t>(m_nPort + 1));
    m_window->accept();
}

bool CComSetupDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        watched->isWidgetType() && m_window &&
        (watched == m_window || m_window->isAncestorOf(static_cast<QWidget*>(watched)))) {
        HelpLauncher::showContext(IDH);
        // A key event propagates from the focus widget to its parents, each of
        // which this filter watches: only the first one counts.
        event->accept();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
