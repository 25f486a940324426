#pragma once
// The program's save dialogs (Save As, Export Channels, the trace file, print
// to a file): the extension of the chosen file type is added while the dialog
// is still open, so that a name typed without it is checked against the file
// it will really replace, and the replace question is asked about that file.

#include <QString>
#include <QStringList>

class QWidget;

namespace savefiledialog {

// The name as a save dialog with this default suffix returns it: the suffix
// ("dat", no dot) added when the name has none.
QString withDefaultSuffix(const QString& path, const QString& suffix);

// A save dialog offering filters, suffixes[i] the default suffix of
// filters[i] (following the filter the user picks). *filter gets the index
// of the filter chosen. An empty result: cancelled.
QString ask(QWidget* parent, const QString& title, const QString& proposed, const QStringList& filters,
            const QStringList& suffixes, int* filter = nullptr);

}  // namespace savefiledialog
