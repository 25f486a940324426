#pragma once
// Writing a whole file atomically: the new contents go to a temporary file
// beside the target, which replaces the target only when everything was
// written, so a failed save leaves the old file whole.

#include <QByteArray>
#include <QString>

// False on failure, with the reason in *errorString (the old file untouched).
bool writeFileAtomically(const QString& path, const QByteArray& contents,
                         QString* errorString = nullptr);
