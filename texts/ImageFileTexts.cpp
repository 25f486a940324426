#include "texts/ImageFileTexts.h"

#include <QDir>

#include "codeplug/ImageLayout.h"

namespace texts {

QString shownPath(const QString& path) { return QDir::toNativeSeparators(path); }

QString imageFileProblem(const ImageFileProblem& problem, const TextTable& table)
{
    // One arg() call each: a "%2" in the file name stays as it is.
    const QString path = shownPath(problem.path);
    switch (problem.kind) {
    case ImageFileProblem::Kind::CannotOpen: return table.text(IDS_FILE_CANNOT_OPEN).arg(path, problem.reason);
    case ImageFileProblem::Kind::CannotRead: return table.text(IDS_FILE_CANNOT_READ).arg(path, problem.reason);
    case ImageFileProblem::Kind::TooShort:
        return table.text(IDS_FILE_TOO_SHORT)
            .arg(path, QString::number(problem.size), QString::number(layout::kImageSize));
    case ImageFileProblem::Kind::CannotSave: return table.text(IDS_FILE_CANNOT_SAVE).arg(path, problem.reason);
    case ImageFileProblem::Kind::None: break;
    }
    return QString();
}

}  // namespace texts
