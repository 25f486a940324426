#pragma once
// CProductInfoDlg: the Product Information dialog (template 136): model and
// band of the active document, from the settings file's lists.

#include <QDialog>
#include <QPointer>

class CKQ_517Doc;
class ChannelBandLimits;
class QComboBox;
class QShowEvent;
class TemplateHost;

class CProductInfoDlg : public QDialog {
    Q_OBJECT
public:
    enum : int {
        IDD = 136,
        IDC_COMBO_TYPE = 1013,
        IDC_COMBO_BAND = 1014,
        kMaxModels = 19,
    };

    explicit CProductInfoDlg(QWidget* parent = nullptr);
    ~CProductInfoDlg() override;
    int DoModal() { return exec(); }

    // The document whose model and band bytes OK sets, and the band limits
    // (the channel view's) it renews; either may be nullptr (nothing there
    // to set). A target that is a QObject and goes away is not written.
    void setTarget(CKQ_517Doc* document, ChannelBandLimits* view);

    // Open: models from the settings file, the user's last model and band.
    void OnInitDialog();
    // A new model was chosen: its bands, the first one selected.
    void OnSelChangeType();
    // OK: image bytes, per-user values, main title and the view's band limits.
    void OnOK();
    void accept() override { OnOK(); }

    QComboBox* m_comboBand = nullptr;
    QComboBox* m_comboType = nullptr;

signals:
    // OK made a new main window title (g_strMainTitle).
    void mainTitleChanged(const QString& title);

protected:
    void showEvent(QShowEvent* event) override;

private:
    CKQ_517Doc* document() const;
    ChannelBandLimits* view() const;

    TemplateHost* m_template = nullptr;
    QPointer<CKQ_517Doc> m_targetDocument;
    ChannelBandLimits* m_targetView = nullptr;
    QPointer<QObject> m_targetViewObject;  // the same, while it lives, when it is a QObject
    bool m_bViewIsObject = false;
};
