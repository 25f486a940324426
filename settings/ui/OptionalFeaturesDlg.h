#pragma once
// COptionalFeaturesDlg: the Optional Features dialog (template 132): squelch
// level, time-out timer and key beep of the active document's image.

#include <QDialog>

class COptionalFeaturesDlg : public QDialog {
    Q_OBJECT
public:
    explicit COptionalFeaturesDlg(QWidget* parent = nullptr);
    int DoModal() { return exec(); }
};
