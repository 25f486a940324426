#pragma once
// CAboutDlg: the About box (dialog 100): title, version and copyright lines
// from the language section of the settings file, the "title.ico" picture.

#include <QDialog>

class QLabel;
class TemplateHost;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    int DoModal() { return exec(); }

    QLabel* versionText() const { return m_version; }
    QLabel* copyrightText() const { return m_copyright; }
    QLabel* ownerText() const { return m_owner; }
    QLabel* iconControl() const { return m_icon; }

private:
    TemplateHost* m_template = nullptr;
    QLabel* m_version = nullptr;    // 1010
    QLabel* m_copyright = nullptr;  // 1011
    QLabel* m_owner = nullptr;      // 1012
    QLabel* m_icon = nullptr;       // 1013
};
