#pragma once
// CProductInfoDlg: the Product Information dialog (template 136): model and
// band of the active document, from the settings file's lists.

#include <QDialog>
#include <QPointer>

class CKQ_517Doc;
class CKQ_517View;
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

    // Works on this document and view instead of the main window's active ones
    // (tests, callers that hold them). Both nullptr go back to the active ones.
    void setTarget(CKQ_517Doc* document, CKQ_517View* view);

    // Open: models from the settings file, the user's last model and band.
    void OnInitDialog();
    // A new model was chosen: its bands, the first one selected.
    void OnSelChangeType();
    // OK: image bytes, per-user values, main title and the view's band limits.
    void OnOK();
    void accept() override { OnOK(); }

    QComboBox* m_comboBand = nullptr;
    QComboBox* m_comboType = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CKQ_517Doc* document() const;
    CKQ_517View* view() const;

    TemplateHost* m_template = nullptr;
    QPointer<CKQ_517Doc> m_targetDocument;
    QPointer<CKQ_517View> m_targetView;
    bool m_bExplicitTarget = false;
};
