#include "link/ui/FieldTexts.h"

#include <QStringList>

#include "link/PortNames.h"

namespace fieldtext {

QString imageQuestion(const QList<ImageProblem>& problems)
{
    QStringList lines;
    for (const ImageProblem& problem : problems)
        lines.append(QStringLiteral("- ") + texts::imageProblem(problem));
    return texts::text(texts::fieldid::kImageQuestion, lines.join(QLatin1Char('\n')));
}

QString portLine(const QString& comName, const QString& device)
{
    QString shown = device.isEmpty() || device == comName ? comName : QStringLiteral("%1: %2").arg(comName, device);
    if (PortNames::environmentDecides(comName) && !device.isEmpty())
        shown = QStringLiteral("%1 → %2").arg(comName, environmentNote(comName, device));
    return texts::text(kPortLine, shown);
}

QString environmentNote(const QString& comName, const QString& device)
{
    const QString variable = QString::fromLatin1(PortNames::environmentName(PortNames::comNumber(comName)));
    return texts::text(kEnvironmentNote, device, variable);
}

}  // namespace fieldtext
