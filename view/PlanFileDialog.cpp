#include "view/PlanFileDialog.h"

#include <QFileDialog>

#include <algorithm>
#include <utility>

#include "settings/ui/SaveFileDialog.h"

namespace planfiledialog {

namespace {
Hook g_hook;
}

void setHook(Hook hook) { g_hook = std::move(hook); }

Choice ask(QWidget* parent, Purpose purpose, const QString& title, const QStringList& filters)
{
    // Every file a plan is exported to is a CSV file, whichever kind.
    const QString suffix = QStringLiteral("csv");
    if (g_hook) {
        Choice choice = g_hook(purpose, filters);
        if (purpose == Purpose::ExportPlan)
            choice.path = savefiledialog::withDefaultSuffix(choice.path, suffix);
        return choice;
    }
    Choice choice;
    if (purpose == Purpose::ExportPlan) {
        choice.path = savefiledialog::ask(parent, title, QString(), filters,
                                          QStringList(filters.size(), suffix), &choice.filter);
        return choice;
    }
    QString selected = filters.value(0);
    choice.path = QFileDialog::getOpenFileName(parent, title, QString(), filters.join(QStringLiteral(";;")), &selected);
    choice.filter = std::max(0, int(filters.indexOf(selected)));
    return choice;
}

}  // namespace planfiledialog
