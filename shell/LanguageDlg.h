#pragma once
// CLanguageDlg: the Language dialog (template 134). On OK stores the chosen
// language in "Halvorn.ini" and the settings file, and restarts the program.

#include <QDialog>

class CLanguageDlg : public QDialog {
    Q_OBJECT
public:
    explicit CLanguageDlg(QWidget* parent = nullptr);
    int DoModal() { return exec(); }
};
