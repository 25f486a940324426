#pragma once
// CProcessDlg: the modeless progress dialog of a radio transfer (template 131).
// The object lives as long as its channel view; its window exists only while a
// transfer is offered (OK enabled) or running (OK disabled). OK asks the owner
// to start the transfer; Cancel either closes at once (nothing started) or
// raises m_bCancel for the running transfer to notice at its next pump pass.

#include <QObject>
#include <QPointer>
#include <QString>

#include "link/FieldSession.h"

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

class CProcessDlg : public QObject {
    Q_OBJECT
public:
    enum : int {
        IDD = 131,
        IDC_PROGRESS = 1001,
        IDC_POSITION = 1009,
        // The progress bar stops at this row count (61 rows travel).
        kLastPosition = 61,
    };

    // owner receives the queued call to its slot "OnRadioTransfer" when OK is pressed.
    explicit CProcessDlg(QObject* owner, QObject* parent = nullptr);
    ~CProcessDlg() override;

    // Creates the window from template 131, owned by ownerWindow (the main
    // window; may be null), initialises it, shows it centred over its owner.
    // False when the template is missing.
    bool Create(QWidget* ownerWindow);
    // Destroys the window; the object stays for the next transfer.
    void DestroyWindow();
    QDialog* window() const { return m_window; }
    bool hasWindow() const { return !m_window.isNull(); }

    // One row moved: steps the bar while it is below 61 and shows the position.
    void advanceProgress();
    // One row of a step of a write with backup or verify: the bar starts
    // again at each new step and the line below names the step.
    void stepProgress(FieldStep step, int row);
    int position() const;

    // OK and Cancel as the buttons (and Escape / the close box) run them.
    void OnOK();
    void OnCancel();
    // A start the owner refused (another transfer was running): OK is enabled
    // again so the offer stands, or the window closes when Cancel was pressed
    // meanwhile.
    void RefuseStart();

    bool m_bCancel = false;
    QString m_strTitle;
    QString m_strPortLine;  // the port the transfer will use, shown above the bar

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();

    QPointer<QObject> m_owner;
    QPointer<QDialog> m_window;
    QPointer<QProgressBar> m_progress;
    QPointer<QLabel> m_position;
    QPointer<QPushButton> m_buttonOk;
    QPointer<QLabel> m_portLine;
    QPointer<QLabel> m_stepLine;
    FieldStep m_step = FieldStep::Read;
    bool m_stepShown = false;
};
