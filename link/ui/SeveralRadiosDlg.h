#pragma once
// CSeveralRadiosDlg: Program > Write to Several Radios. Writes one image to
// one radio after another through the user's writing options (backup,
// verify, trace); after each radio it says done or failed (and why) and waits
// for "Next radio" or "Finish". The list keeps every radio's result. Built in
// code, in the interface language given; handed everything it uses.

#include <QDialog>
#include <QList>

#include <functional>

#include "codeplug/MemoryImage.h"
#include "link/FieldSession.h"
#include "link/TraceBytePort.h"
#include "settings/FieldPreferences.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

class CSeveralRadiosDlg : public QDialog {
    Q_OBJECT
public:
    CSeveralRadiosDlg(const MemoryImage& image, const QString& port, const QString& portLine,
                      const FieldPreferences& prefs, QWidget* parent = nullptr);

    // After a communication error: true tries again (a message box, say).
    void setRetry(std::function<bool()> retry) { m_retry = std::move(retry); }

    // The first radio is written as soon as the dialog shows.
    int exec() override;

    const QList<FieldResult>& results() const { return m_results; }
    bool isWriting() const { return m_writing; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* finishButton() const { return m_finish; }
    QListWidget* resultList() const { return m_list; }
    QLabel* statusLine() const { return m_status; }
    // One line of the summary: each radio counted once, as written, failed
    // verify or not written.
    QString summary() const;

signals:
    // F1: help on the command that opened the dialog.
    void helpRequested();

public slots:
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void writeNext();
    void onFinish();
    void fitToText();
    // Closes the trace (saying so when it could not be written whole) and the dialog.
    void finish();

    MemoryImage m_image;
    QString m_port;
    FieldPreferences m_prefs;
    std::function<bool()> m_retry;
    TraceLog m_trace;  // one trace for the whole series, when one is wanted
    QList<FieldResult> m_results;
    bool m_writing = false;
    bool m_cancel = false;
    bool m_finishAfter = false;

    QLabel* m_status;
    QProgressBar* m_progress;
    QListWidget* m_list;
    QPushButton* m_next;
    QPushButton* m_finish;
};
