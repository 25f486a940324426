#pragma once
// CCompareDlg: shows, read-only, the lines that differ between the document
// and another file (one line per channel field, option or other byte).

#include <QDialog>
#include <QStringList>

class QLabel;
class QPlainTextEdit;

class CCompareDlg : public QDialog {
    Q_OBJECT
public:
    CCompareDlg(const QString& title, const QString& heading, const QStringList& lines, QWidget* parent = nullptr);

    QString heading() const;
    QStringList lines() const;

private:
    QLabel* m_heading;
    QPlainTextEdit* m_lines;
};
