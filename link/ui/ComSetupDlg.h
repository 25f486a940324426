#pragma once
// CComSetupDlg: the COM Setup dialog (template 135), shown modally by the
// channel view. Each opening probes COM1 to COM4 (a port that cannot be opened
// is greyed out), preselects the port remembered in the per-user value "com"
// and shows which device each name maps to. OK gives the active view's
// m_strPort "com<n>" and remembers n; Cancel stores nothing.
// Below the ports, a COM name can be mapped to any detected device (Map);
// OK keeps the new mappings in [Ports] of the settings file.

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

class QComboBox;
class QDialog;
class QRadioButton;

class CComSetupDlg : public QObject {
    Q_OBJECT
public:
    enum : int {
        IDD = 135,
        IDC_COM1 = 1007,  // COM1 to COM4 are 1007 to 1010
        IDH = 32777,      // help context: the COM Setup command
    };

    // owner is the view the dialog belongs to; OK sets the active view's port
    // (the owner when there is no main window).
    // port: the port name OK sets (the channel view's m_strPort); it must
    // outlive the dialog object, as a member of the dialog's parent does.
    explicit CComSetupDlg(QString* port, QObject* parent = nullptr);
    ~CComSetupDlg() override;

    // Shows the dialog modally over parentWindow; QDialog::Accepted or Rejected
    // (-1 when the template is missing).
    int DoModal(QWidget* parentWindow);
    // The window while DoModal runs (tests).
    QDialog* window() const { return m_window; }

    int m_nPort = -1;  // 0 = COM1 .. 3 = COM4, -1 none
    // Mappings chosen with Map and not yet kept: "COM2" -> "/dev/ttyUSB1".
    QMap<QString, QString> m_newMappings;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
    void OnOK();
    void exchangeToButtons();
    void exchangeFromButtons();
    QRadioButton* button(int index) const;
    // The device line of port index (0 to 3): device, greyed out with the
    // reason as its tip when it cannot be opened.
    void showDevice(int index, const QString& device);
    void addMappingRow();
    void OnMap();
    QComboBox* m_mapName = nullptr;
    QComboBox* m_mapDevice = nullptr;

    QString* m_pPort;
    QPointer<QDialog> m_window;
};
