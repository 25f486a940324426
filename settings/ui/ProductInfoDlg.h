#pragma once
// CProductInfoDlg: the Product Information dialog (template 136): model and
// band of the active document, from the settings file's lists.

#include <QDialog>

class CProductInfoDlg : public QDialog {
    Q_OBJECT
public:
    explicit CProductInfoDlg(QWidget* parent = nullptr);
    int DoModal() { return exec(); }
};
