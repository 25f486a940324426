#include "view/CompareDlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CCompareDlg::CCompareDlg(const QString& title, const QString& heading, const QStringList& lines, QWidget* parent)
    : QDialog(parent), m_heading(new QLabel(heading, this)), m_lines(new QPlainTextEdit(this))
{
    setWindowTitle(title);
    m_heading->setWordWrap(true);
    m_lines->setReadOnly(true);
    m_lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Values line up better in a fixed-pitch font.
    m_lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_lines->setPlainText(lines.join(QLatin1Char('\n')));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_lines, 1);
    layout->addWidget(buttons);
    resize(560, 360);
}

QString CCompareDlg::heading() const { return m_heading->text(); }

QStringList CCompareDlg::lines() const
{
    const QString text = m_lines->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}
