#include "shell/AppMessage.h"

#include <QGuiApplication>

QMessageBox::StandardButton appMessageBox(QWidget* parent, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::Icon icon, const QString& caption)
{
    QMessageBox box(icon, caption.isNull() ? QGuiApplication::applicationDisplayName() : caption,
                    text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
