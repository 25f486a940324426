#pragma once
// COptionalFeaturesDlg: the Optional Features dialog (template 132): squelch
// level, time-out timer and key beep of the active document's image.

#include <QDialog>
#include <QPointer>

class CKQ_517Doc;
class QCheckBox;
class QComboBox;
class QShowEvent;
class TemplateHost;

class COptionalFeaturesDlg : public QDialog {
    Q_OBJECT
public:
    enum : int {
        IDD = 132,
        IDC_CHECK_BEEP = 1014,
        IDC_COMBO_SQUELCH = 1116,
        IDC_COMBO_TIMEOUT = 1118,
    };

    explicit COptionalFeaturesDlg(QWidget* parent = nullptr);
    ~COptionalFeaturesDlg() override;
    int DoModal() { return exec(); }

    // The document whose option bytes the dialog shows and sets; nullptr (or
    // a document that went away): none, the controls stay disabled.
    void setTarget(CKQ_517Doc* document);

    // Open: fills the controls from the document's settings row. Runs each
    // time the dialog is shown.
    void OnInitDialog();
    // OK: stores the three fields into the document found again now, then closes.
    void OnOK();
    void accept() override { OnOK(); }

    QCheckBox* m_checkBeep = nullptr;
    QComboBox* m_comboTimeOut = nullptr;
    QComboBox* m_comboSquelch = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CKQ_517Doc* document() const;

    TemplateHost* m_template = nullptr;
    QPointer<CKQ_517Doc> m_target;
};
