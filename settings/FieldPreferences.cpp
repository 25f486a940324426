#include "settings/FieldPreferences.h"

#include "settings/UserStore.h"

namespace {
// The value names in the per-user store.
const QString kBackup = QStringLiteral("BackupBeforeWrite");
const QString kBackupFolder = QStringLiteral("BackupFolder");
const QString kVerify = QStringLiteral("VerifyAfterWrite");
const QString kTrace = QStringLiteral("RecordTrace");
const QString kTraceFile = QStringLiteral("TraceFile");
}  // namespace

FieldPreferences FieldPreferences::load(const UserStore& store)
{
    FieldPreferences prefs;
    prefs.backup = store.read(kBackup, std::uint32_t{0}) != 0;
    prefs.backupFolder = store.readString(kBackupFolder, QString());
    prefs.verify = store.read(kVerify, std::uint32_t{0}) != 0;
    prefs.trace = store.read(kTrace, std::uint32_t{0}) != 0;
    prefs.traceFile = store.readString(kTraceFile, QString());
    // An option without its folder or file cannot be carried out.
    if (prefs.backupFolder.isEmpty())
        prefs.backup = false;
    if (prefs.traceFile.isEmpty())
        prefs.trace = false;
    return prefs;
}

void FieldPreferences::save(UserStore& store) const
{
    store.write(kBackup, backup ? 1u : 0u);
    store.writeString(kBackupFolder, backupFolder);
    store.write(kVerify, verify ? 1u : 0u);
    store.write(kTrace, trace ? 1u : 0u);
    store.writeString(kTraceFile, traceFile);
}
