#include "shell/AppMessage.h"

namespace {
QString& appNameStore()
{
    static QString name = QStringLiteral("KQ_517");
    return name;
}
}  // namespace

void setAppName(const QString& name) { appNameStore() = name; }

QString appName() { return appNameStore(); }

QMessageBox::StandardButton appMessageBox(QWidget* parent, const QString& text,
                                          QMessageBox::StandardButtons buttons,
                                          QMessageBox::Icon icon, const QString& caption)
{
    QMessageBox box(icon, caption.isNull() ? appName() : caption,
                    text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
