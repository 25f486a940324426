#include "link/ui/ComSetupDlg.h"

#include <QComboBox>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "link/PortNames.h"
#include "link/PortSurvey.h"
#include "link/SerialBytePort.h"
#include "link/ui/FieldTexts.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/UserStore.h"
#include "settings/ui/HelpLauncher.h"
#include "settings/ui/LanguageModule.h"

namespace {
constexpr int kPortCount = 4;
const QString kValueName = QStringLiteral("com");

QString portName(int number) { return QString::asprintf("%s%d", "com", number); }
}  // namespace

CComSetupDlg::CComSetupDlg(QString* port, QObject* parent) : QObject(parent), m_pPort(port) {}

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
    m_newMappings.clear();
    addMappingRow();
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
        showDevice(i, PortNames::device(name));
    }

    // The remembered port number 1..4 (default 1); anything else selects none.
    const std::uint32_t stored = UserStore::fromSettings().read(kValueName, std::uint32_t{1});
    m_nPort = stored >= 1 && stored <= kPortCount ? static_cast<int>(stored) - 1 : -1;
    exchangeToButtons();
}

void CComSetupDlg::showDevice(int index, const QString& device)
{
    QRadioButton* radio = button(index);
    if (!radio)
        return;
    // Opened exactly as a transfer opens it, and closed again at once.
    PortOpenError error;
    const bool canOpen = SerialBytePort::canOpen(device, &error);
    radio->setEnabled(canOpen);
    const QString reason = texts::openReason(error);
    // A device the environment chose for this run says so, unless the user
    // has just mapped the name here (which decides from OK on).
    const QString name = portName(index + 1);
    bool mappedHere = false;
    for (const QString& key : m_newMappings.keys())
        mappedHere = mappedHere || key.compare(name, Qt::CaseInsensitive) == 0;
    const bool fromEnvironment = PortNames::environmentDecides(name) && !mappedHere;
    const QString shown = fromEnvironment ? fieldtext::environmentNote(name, device) : device;
    const QString tip = canOpen || reason.isEmpty() ? shown : shown + QLatin1Char('\n') + reason;
    radio->setToolTip(tip);
    if (auto* label = m_window->findChild<QLabel*>(QStringLiteral("device%1").arg(IDC_COM1 + index))) {
        label->setText(shown);
        label->setToolTip(tip);
        label->setEnabled(canOpen);
    }
}

void CComSetupDlg::addMappingRow()
{
    // A row below the ports: COM name, detected device, Map. The buttons and
    // the window move down to make room.
    constexpr int kRowHeight = 32;
    const int top = 134;
    for (int id : {1, 2}) {
        if (auto* b = m_window->findChild<QPushButton*>(LanguageModule::controlName(id)))
            b->move(b->x(), b->y() + kRowHeight);
    }
    m_window->resize(m_window->width(), m_window->height() + kRowHeight);
    m_window->setMinimumHeight(m_window->height());

    m_mapName = new QComboBox(m_window);
    m_mapName->setObjectName(QStringLiteral("mapName"));
    m_mapName->setGeometry(30, top, 62, 22);
    for (int n = 1; n <= kPortCount; ++n)
        m_mapName->addItem(QStringLiteral("COM%1").arg(n));
    m_mapName->setToolTip(texts::text(fieldtext::kMapNameTip));

    m_mapDevice = new QComboBox(m_window);
    m_mapDevice->setObjectName(QStringLiteral("mapDevice"));
    m_mapDevice->setGeometry(96, top, 96, 22);
    for (const SurveyedPort& port : PortSurvey::survey(g_settings)) {
        // Devices only a COM name points at are offered too: mappings can
        // be swapped.
        QStringList lines{port.device};
        if (!port.detected)
            lines << texts::text(texts::fieldid::kNotListed);
        if (!port.description.isEmpty())
            lines << port.description;
        if (!port.vendorProduct.isEmpty())
            lines << port.vendorProduct;
        if (!port.serialNumber.isEmpty())
            lines << texts::text(fieldtext::kSerialNumber, port.serialNumber);
        if (!port.openable)
            lines << texts::openReasonAlone(port.openError);
        m_mapDevice->addItem(port.device, port.device);
        m_mapDevice->setItemData(m_mapDevice->count() - 1, lines.join(QLatin1Char('\n')), Qt::ToolTipRole);
    }
    m_mapDevice->setEnabled(m_mapDevice->count() > 0);
    m_mapDevice->setToolTip(m_mapDevice->count() > 0
                                ? texts::text(fieldtext::kDevicesFound)
                                : texts::text(fieldtext::kNoDeviceFound));

    auto* map = new QPushButton(texts::text(fieldtext::kMapButton), m_window);
    map->setObjectName(QStringLiteral("mapButton"));
    map->setGeometry(196, top, 43, 22);
    map->setAutoDefault(false);
    map->setEnabled(m_mapDevice->count() > 0);
    map->setToolTip(texts::text(fieldtext::kMapButtonTip));
    connect(map, &QPushButton::clicked, this, &CComSetupDlg::OnMap);
    for (QWidget* w : std::initializer_list<QWidget*>{m_mapName, m_mapDevice, map})
        w->show();
}

void CComSetupDlg::OnMap()
{
    if (!m_window || !m_mapName || !m_mapDevice || m_mapDevice->currentIndex() < 0)
        return;
    const int index = m_mapName->currentIndex();
    const QString device = m_mapDevice->currentData().toString();
    m_newMappings.insert(m_mapName->currentText(), device);
    exchangeFromButtons();
    showDevice(index, device);
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
    // With no button selected the name becomes "com0" and 0 is stored; the
    // next transfer then reports that the port cannot be opened.
    if (m_pPort)
        *m_pPort = portName(m_nPort + 1);
    UserStore::fromSettings().write(kValueName, static_cast<std::uint32_t>(m_nPort + 1));
    if (!m_newMappings.isEmpty()) {
        for (auto it = m_newMappings.cbegin(); it != m_newMappings.cend(); ++it) {
            g_settings.SetString("Ports", it.key().toUtf8(), it.value().toUtf8());
            // The user's choice takes effect at once, ahead of the environment.
            PortNames::settingsDecide(it.key());
        }
        g_settings.Save(false);
        m_newMappings.clear();
    }
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
