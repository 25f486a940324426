#pragma once
// The file dialogs of the channel-plan commands (import, export, compare).
// Tests answer them through the hook instead of a real dialog.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace planfiledialog {

enum class Purpose { ImportPlan, ExportPlan, CompareImage };

struct Choice {
    QString path;    // empty: cancelled
    int filter = 0;  // the index of the filter chosen
};

// Called instead of the dialog while set: purpose, the filters offered.
using Hook = std::function<Choice(Purpose purpose, const QStringList& filters)>;
void setHook(Hook hook);

Choice ask(QWidget* parent, Purpose purpose, const QString& title, const QStringList& filters);

}  // namespace planfiledialog
