#include "settings/ui/SaveFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>

namespace savefiledialog {

QString withDefaultSuffix(const QString& path, const QString& suffix)
{
    if (path.isEmpty() || suffix.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + suffix;
}

QString ask(QWidget* parent, const QString& title, const QString& proposed, const QStringList& filters,
            const QStringList& suffixes, int* filter)
{
    QFileDialog dialog(parent, title, proposed, filters.join(QStringLiteral(";;")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The suffix is the dialog's own, so its replace question sees the name
    // with it; it follows the file type the user picks.
    dialog.setDefaultSuffix(suffixes.value(0));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &filters, &suffixes](const QString& f) {
        dialog.setDefaultSuffix(suffixes.value(std::max(0, int(filters.indexOf(f)))));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (filter)
        *filter = std::max(0, int(filters.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles().constFirst();
}

}  // namespace savefiledialog
