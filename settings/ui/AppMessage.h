#pragma once
// Message boxes that carry no caption of their own: the caption is the
// application's name (the language section's "Company", set at start-up).

#include <QMessageBox>
#include <QString>

class QWidget;

// The application's name: "KQ_517" until start-up sets the language's
// "Company". It is kept here rather than as the toolkit's display name, which
// the window system would append to every window title.
void setAppName(const QString& name);
QString appName();

// Modal message box with the application's name as caption; returns the button pressed.
QMessageBox::StandardButton appMessageBox(QWidget* parent, const QString& text,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                          QMessageBox::Icon icon = QMessageBox::Warning,
                                          const QString& caption = QString());

// A message box for a text that may run to many lines (a list of refused
// rows): beyond kLongMessageLines lines it shows the first ones and
// "… and N more", with the whole text under Show Details, so the box always
// fits the screen. Returns the button pressed (Ok).
constexpr int kLongMessageLines = 10;
QMessageBox::StandardButton longMessageBox(QWidget* parent, const QString& caption, const QString& text,
                                           QMessageBox::Icon icon);
// The text such a box shows: text itself when it has at most
// kLongMessageLines lines, else its first lines and "… and N more".
QString shortenedMessage(const QString& text);

// For a run that nobody watches (the print switches): every message goes to
// standard error as "caption: text" instead of a box, and the answer is the
// safest button offered (Cancel, No, Abort, Ignore; Ok when it is the only
// one), so the run never waits for a person.
void setMessagesToStandardError(bool on);
bool messagesToStandardError();
