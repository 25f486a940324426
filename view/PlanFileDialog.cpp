#include "view/PlanFileDialog.h"

#include <QFileDialog>

#include <algorithm>
#include <utility>

namespace planfiledialog {

namespace {
Hook g_hook;
}

void setHook(Hook hook) { g_hook = std::move(hook); }

Choice ask(QWidget* parent, Purpose purpose, const QString& title, const QStringList& filters)
{
    if (g_hook)
        return g_hook(purpose, filters);
    const QString joined = filters.join(QStringLiteral(";;"));
    QString selected = filters.value(0);
    Choice choice;
    if (purpose == Purpose::ExportPlan)
        choice.path = QFileDialog::getSaveFileName(parent, title, QString(), joined, &selected);
    else
        choice.path = QFileDialog::getOpenFileName(parent, title, QString(), joined, &selected);
    choice.filter = std::max(0, int(filters.indexOf(selected)));
    return choice;
}

}  // namespace planfiledialog
