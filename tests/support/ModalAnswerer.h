#pragma once
// Answers the modal windows (message boxes and dialogs) that come up while it
// lives, so that a test can drive code that calls exec() and look afterwards
// at what was shown.
//
//   ModalAnswerer answer;                       // message boxes: OK, dialogs: rejected
//   view->OnDeleteAll();                        // shows a box and waits in exec()
//   QCOMPARE(answer.count(), 1);
//   QCOMPARE(answer.last().text, expected);
//
//   ModalAnswerer boxes(QMessageBox::Ok, ModalAnswerer::MessageBoxes);
//   boxes.setAnswers({QMessageBox::Retry, QMessageBox::Cancel});
//
//   ModalAnswerer runner(ModalAnswerer::OtherDialogs);
//   runner.onDialog([](QDialog* dialog) { ... dialog->accept(); });
//
// It polls QApplication::activeModalWidget() every few milliseconds from a
// timer, which keeps running inside the nested event loop of exec(). Each
// showing of a window is answered once:
//  - a message box gets the next queued answer (setAnswers()), or the default
//    button when the queue is empty; a box without that button is rejected;
//  - any other dialog is handed to the onDialog() action, or rejected when
//    there is none.
// A window the answer left open is rejected, so that a failed check inside
// the action cannot leave the test waiting in exec() for ever.
// Windows of a kind it was not told to answer are left alone (another
// answerer, or the test itself, deals with them).

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>

class QDialog;
class QWidget;

class ModalAnswerer : public QObject {
public:
    enum Kind { MessageBoxes = 0x1, OtherDialogs = 0x2, AnyModal = MessageBoxes | OtherDialogs };

    // What one answered window showed.
    struct Seen {
        QString className;  // the window's class, e.g. "QMessageBox", "CLanguageDlg"
        QString caption;
        QString text;  // message boxes only
        QMessageBox::StandardButtons buttons;  // message boxes only
        QMessageBox::Icon icon = QMessageBox::NoIcon;  // message boxes only
        QWidget* parent = nullptr;
    };

    explicit ModalAnswerer(QMessageBox::StandardButton button = QMessageBox::Ok, int kinds = AnyModal);
    explicit ModalAnswerer(int kinds) : ModalAnswerer(QMessageBox::Ok, kinds) {}

    // The buttons pressed on the next message boxes, in order.
    void setAnswers(const QList<QMessageBox::StandardButton>& answers) { m_answers = answers; }
    // What to do with a dialog that is not a message box; it should close it.
    void onDialog(std::function<void(QDialog*)> action) { m_onDialog = std::move(action); }
    // Answer the first window only, then stop watching.
    void answerOnce() { m_once = true; }

    int count() const { return m_seen.size(); }
    const QList<Seen>& seen() const { return m_seen; }
    // The window answered last (an empty record when none came up).
    Seen last() const { return m_seen.isEmpty() ? Seen() : m_seen.last(); }
    // The texts of the windows answered, in order (empty for dialogs).
    QStringList texts() const;

private:
    void poll();

    QMessageBox::StandardButton m_button;
    int m_kinds;
    QList<QMessageBox::StandardButton> m_answers;
    std::function<void(QDialog*)> m_onDialog;
    bool m_once = false;
    QList<Seen> m_seen;
    QPointer<QDialog> m_handled;  // the showing answered last, while it lasts
    QTimer m_timer;
};
