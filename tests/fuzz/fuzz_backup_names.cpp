// The names of backup files: for any model text, the name fits 255 bytes,
// stays in the backup folder, and the file can be made; a second backup in
// the same second gets a name of its own and never overwrites the first.
//
// Input: date and time bytes, then the model text as UTF-16 code units (lone
// surrogates included).

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "link/FieldSession.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir dir;
    fuzz::Input in(data, size);
    const QDateTime when(QDate(2000 + in.pick(100), 1 + in.pick(12), 1 + in.pick(28)),
                         QTime(in.pick(24), in.pick(60), in.pick(60)));
    QString model;
    while (!in.atEnd())
        model += QChar(char16_t(in.byte() << 8 | in.byte()));

    QString error;
    for (int n = 0; n < 2; ++n) {
        const QString path = FieldSession::backupPath(dir.path(), model, when);
        const QFileInfo info(path);
        const QString name = info.fileName();
        FUZZ_CHECK(name.toUtf8().size() + 7 <= 255, "a backup name fits 255 bytes with a save's temporary name", name);
        FUZZ_CHECK(QDir(info.absolutePath()) == QDir(dir.path()), "a backup stays in its folder", path);
        FUZZ_CHECK(!name.startsWith(QLatin1Char('.')) && name.endsWith(QStringLiteral(".dat")),
                    "a backup is a visible .dat file", name);
        FUZZ_CHECK(!QFileInfo::exists(path), "a backup never overwrites an earlier one", name);
        FUZZ_CHECK(MemoryImage::newImage().saveFile(path, &error), "the backup can be saved", name + ": " + error);
        FUZZ_CHECK(MemoryImage::newImage().saveFile(path, &error), "the backup can be saved over", name + ": " + error);
    }
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
        QFile::remove(dir.filePath(name));
    return 0;
}
