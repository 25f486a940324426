#include "codeplug/AtomicFile.h"

#include <QSaveFile>

bool writeFileAtomically(const QString& path, const QByteArray& contents, QString* errorString,
                         bool* notPutInPlace)
{
    if (notPutInPlace)
        *notPutInPlace = false;
    QSaveFile file(path);
    // Unbuffered, and written in a loop until every byte is out or a write
    // fails outright: a write that stops part way (file size limit, disk
    // full) reports no reason, the next one fails with the system's own
    // ("No space left on device", "File too large"). Nothing is left in a
    // buffer for commit() to flush, so commit cannot put a cut file in place.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        qint64 done = 0;
        while (done < contents.size()) {
            const qint64 n = file.write(contents.constData() + done, contents.size() - done);
            if (n <= 0)
                break;
            done += n;
        }
        const bool written = done == contents.size() && file.error() == QFileDevice::NoError;
        if (written && file.commit())
            return true;
        if (!written) {
            // The first error (disk full, permission, read-only) is the cause
            // the user needs; cancelWriting() replaces it with its own text.
            QString cause = file.errorString();
            file.cancelWriting();
            if (cause.isEmpty())
                cause = file.errorString();
            if (errorString)
                *errorString = cause;
            return false;
        }
        if (notPutInPlace)
            *notPutInPlace = file.error() == QFileDevice::RenameError;
    } else if (notPutInPlace) {
        *notPutInPlace = true;
    }
    if (errorString)
        *errorString = file.errorString();
    return false;
}
