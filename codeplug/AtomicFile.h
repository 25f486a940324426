#pragma once
// Writing a whole file atomically: the new contents go to a temporary file
// beside the target, which replaces the target only when everything was
// written, so a failed save leaves the old file whole.

#include <QByteArray>
#include <QString>

// False on failure, with the reason in *errorString (the old file untouched).
// *notPutInPlace (when given) tells the failures where the whole text could
// not be put in place as a new file (no temporary file beside the target, or
// it could not replace the target) from those where the text itself could not
// be written; only after the former can rewriting the target in place help.
bool writeFileAtomically(const QString& path, const QByteArray& contents,
                         QString* errorString = nullptr, bool* notPutInPlace = nullptr);
