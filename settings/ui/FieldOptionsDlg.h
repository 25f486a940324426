#pragma once
// CFieldOptionsDlg: Setup > Options, the writing options of the user: back up
// the radio before writing (and where), verify after writing, record a serial
// trace (and into which file). Edits the FieldPreferences it is handed; OK
// takes the changes into it, Cancel leaves it as it was. Built in code, its
// texts from the active language module.

#include <QDialog>

#include <functional>

#include "settings/FieldPreferences.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class CFieldOptionsDlg : public QDialog {
    Q_OBJECT
public:
    enum : int {
        IDC_BACKUP = 1201,
        IDC_BACKUP_FOLDER = 1202,
        IDC_BACKUP_BROWSE = 1203,
        IDC_VERIFY = 1204,
        IDC_TRACE = 1205,
        IDC_TRACE_FILE = 1206,
        IDC_TRACE_BROWSE = 1207,
    };

    explicit CFieldOptionsDlg(FieldPreferences& prefs, QWidget* parent = nullptr);

    // Where Browse... asks for a folder or file; tests replace it. The
    // argument is the current text; an empty answer keeps it.
    std::function<QString(bool folder, const QString& current)> browse;

signals:
    // F1: help on the command that opened the dialog.
    void helpRequested();

public slots:
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateEnabled();

    FieldPreferences& m_prefs;
    QCheckBox* m_backup;
    QLineEdit* m_backupFolder;
    QPushButton* m_backupBrowse;
    QCheckBox* m_verify;
    QCheckBox* m_trace;
    QLineEdit* m_traceFile;
    QPushButton* m_traceBrowse;
};
