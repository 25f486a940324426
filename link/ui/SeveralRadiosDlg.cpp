#include "link/ui/SeveralRadiosDlg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "codeplug/ImageLayout.h"
#include "link/FieldRun.h"
#include "link/SeriesTally.h"
#include "link/ui/FieldTexts.h"

CSeveralRadiosDlg::CSeveralRadiosDlg(const MemoryImage& image, const QString& port, const QString& portLine,
                                     const FieldPreferences& prefs, QWidget* parent)
    : QDialog(parent), m_image(image), m_port(port), m_prefs(prefs)
{
    setWindowTitle(texts::text(fieldtext::kSeveralTitle));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* portLabel = new QLabel(portLine, this);
    portLabel->setObjectName(QStringLiteral("portLine"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, layout::kRadioRowCount);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("results"));
    m_list->setMinimumSize(420, 160);
    m_next = new QPushButton(texts::text(fieldtext::kNextRadio), this);
    m_next->setObjectName(QStringLiteral("next"));
    m_finish = new QPushButton(texts::text(fieldtext::kFinish), this);
    m_finish->setObjectName(QStringLiteral("finish"));
    m_next->setAutoDefault(false);
    m_finish->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_next);
    buttons->addWidget(m_finish);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(portLabel);
    layout->addWidget(m_status);
    layout->addWidget(m_progress);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    // Never smaller than its contents, the wrapped status included.
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(m_next, &QPushButton::clicked, this, [this] {
        // Queued: the click returns before the write runs its pump loop.
        if (!m_writing)
            QTimer::singleShot(0, this, &CSeveralRadiosDlg::writeNext);
        m_next->setEnabled(false);
    });
    connect(m_finish, &QPushButton::clicked, this, &CSeveralRadiosDlg::onFinish);
}

int CSeveralRadiosDlg::exec()
{
    m_next->setEnabled(false);
    QTimer::singleShot(0, this, &CSeveralRadiosDlg::writeNext);
    return QDialog::exec();
}

void CSeveralRadiosDlg::writeNext()
{
    if (m_writing || !isVisible())
        return;
    m_writing = true;
    m_cancel = false;
    m_next->setEnabled(false);
    const int number = int(m_results.size()) + 1;
    m_status->setText(texts::text(fieldtext::kWritingRadio, QString::number(number)));
    fitToText();
    m_progress->setValue(0);

    FieldCallbacks callbacks;
    callbacks.pump = [this] {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        return m_cancel;
    };
    callbacks.progress = [this](FieldStep, int row) { m_progress->setValue(row + 1); };
    callbacks.retry = [this](FieldStep, int) { return m_retry && m_retry(); };
    TraceError traceError;
    FieldResult result = FieldRun::write(m_port, m_image, m_prefs, callbacks, &traceError, &m_trace);
    m_results.append(result);
    m_writing = false;

    QString line = texts::fieldResult(result);
    if (!result.succeeded())
        line = texts::text(fieldtext::kFailed, line);
    if (traceError.isError())
        line = texts::text(fieldtext::kTraceNote, line, texts::traceError(traceError));
    line = texts::text(texts::fieldid::kRadioLine, QString::number(number), line);
    m_list->addItem(line);
    m_list->scrollToBottom();

    if (m_finishAfter) {
        finish();
        return;
    }
    m_status->setText(line + QLatin1Char('\n') + summary() + QLatin1Char('\n') +
                      texts::text(fieldtext::kConnectNext));
    fitToText();
    m_next->setEnabled(true);
    m_next->setFocus();
}

QString CSeveralRadiosDlg::summary() const
{
    SeriesTally tally;
    for (const FieldResult& r : m_results)
        tally.add(r);
    return texts::seriesSummary(tally);
}

void CSeveralRadiosDlg::fitToText()
{
    // The status may wrap to several lines: the dialog grows so that the
    // buttons never cover the list.
    layout()->activate();
    const QSize wanted = sizeHint().expandedTo(minimumSizeHint());
    if (height() < wanted.height() || width() < wanted.width())
        resize(size().expandedTo(wanted));
}

void CSeveralRadiosDlg::onFinish()
{
    if (m_writing) {
        // The radio being written is interrupted; the dialog closes once the
        // port is closed again.
        m_cancel = true;
        m_finishAfter = true;
        return;
    }
    finish();
}

void CSeveralRadiosDlg::finish()
{
    TraceError error;
    if (m_trace.isOpen() && !m_trace.close(&error))
        QMessageBox::warning(this, windowTitle(), texts::traceError(error));
    QDialog::accept();
}

void CSeveralRadiosDlg::reject()
{
    onFinish();  // Escape and the close box finish like the button
}

void CSeveralRadiosDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        emit helpRequested();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
