#include "settings/AtomicFile.h"

#include <QSaveFile>

bool writeFileAtomically(const QString& path, const QByteArray& contents, QString* errorString,
                         bool* notPutInPlace)
{
    if (notPutInPlace)
        *notPutInPlace = false;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        // Flush and look at the error before committing: Qt 6.4's commit does
        // not notice a failure of the final buffer flush and would put a cut
        // file in place.
        const bool written = file.write(contents) == contents.size() && file.flush() &&
                             file.error() == QFileDevice::NoError;
        if (written && file.commit())
            return true;
        if (!written)
            file.cancelWriting();
        else if (notPutInPlace)
            *notPutInPlace = file.error() == QFileDevice::RenameError;
    } else if (notPutInPlace) {
        *notPutInPlace = true;
    }
    if (errorString)
        *errorString = file.errorString();
    return false;
}
