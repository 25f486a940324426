#pragma once
// Programming in the field, for one radio at a time: a read, or a write with
// an optional backup before it (a complete read saved as
// DIR/<model>-<date>-<time>.dat) and an optional read-back verify after it.
// Each step opens its own port from the factory and runs the protocol's own
// sequence (open, handshake, block loop, close). No windows: the caller hands
// in the pump, progress and retry callbacks; the program and the command line
// share this class. Wrap the factory in TraceBytePort::wrap() for a trace.

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

#include "codeplug/MemoryImage.h"
#include "link/BytePort.h"
#include "link/ProtocolEngine.h"
#include "link/TraceBytePort.h"


enum class FieldStep { Backup, Write, Verify, Read };

struct FieldOptions {
    QString backupDir;    // empty: no backup
    bool verify = false;  // read rows 0 to 60 back after the write and compare
    // The model text of a backup's file name, from the image read back; by
    // default the model the settings file lists for its model index.
    std::function<QString(const MemoryImage& radio)> modelName;
    // The date and time of a backup's file name; by default now.
    std::function<QDateTime()> clock;
};

// One 8-byte block that read back differently from what was written; its
// row (layout::rowRegion) says what it holds.
struct BlockDifference {
    int address;  // 0x000 to 0x3C8
    bool operator==(const BlockDifference&) const = default;
};

struct FieldCallbacks {
    ProtocolEngine::Pump pump;  // one pump pass; true when cancel was requested
    // Called once per row of each step (row 0 to 60); a step starts at row 0.
    std::function<void(FieldStep step, int row)> progress;
    // After a handshake's communication error (failures: how many so far in
    // this step): true tries again on the open port, false gives up.
    std::function<bool(FieldStep step, int failures)> retry;
};

struct FieldResult {
    enum class Outcome { Succeeded, Failed, Cancelled };
    // What stopped the session; the fields below it say the rest.
    enum class Failure {
        None,           // succeeded
        Transfer,       // the protocol's result of step (transfer), with openError when the port refused
        BackupFolder,   // backupFolder could not be made
        BackupSave,     // the backup could not be saved: backupError
        VerifyDiffers,  // differences
        Trace,          // the trace file could not be opened: traceError; nothing moved
    };
    Outcome outcome = Outcome::Failed;
    Failure failure = Failure::None;
    FieldStep step = FieldStep::Write;           // where it ended
    TransferResult transfer = TransferResult::Done;  // the protocol's result of that step
    PortOpenError openError;  // why the port could not be opened, when it could not
    TraceError traceError;    // Trace
    QString backupFolder;     // BackupFolder
    ImageFileProblem backupError;  // BackupSave: why the image file could not be saved
    QString backupPath;       // the backup file, when one was saved
    QList<BlockDifference> differences;  // verify: every block that differs

    bool succeeded() const { return outcome == Outcome::Succeeded; }
};

class FieldSession {
public:
    FieldSession(BytePortFactory factory, const QString& portName);

    // A plain read of rows 0 to 60 into image (each block stored as it arrives).
    FieldResult read(MemoryImage& image, const FieldCallbacks& callbacks);
    // Backup (when options.backupDir is set; the write starts only once the
    // backup is saved), the write of rows 0 to 60, then the verify (when set).
    FieldResult write(const MemoryImage& image, const FieldOptions& options, const FieldCallbacks& callbacks);

    // Every 8-byte block of rows 0 to 60 where back differs from sent.
    static QList<BlockDifference> compare(const MemoryImage& sent, const MemoryImage& back);
    // text made safe as part of a file name: characters a file system may
    // refuse, '%' and a leading '.' become %XX (UTF-8); empty gives "radio".
    static QString safeFileText(const QString& text);
    // DIR/<model>-<yyyyMMdd>-<HHmmss>.dat, or with "-2", "-3"... before ".dat"
    // when that name is taken: an earlier backup is never overwritten. A long
    // model part is cut on a character boundary so the name fits what a
    // file system takes (see FileNameLimit.h).
    static QString backupPath(const QString& dir, const QString& model, const QDateTime& when);

private:
    // open, handshake (with retries), the block loop, close.
    TransferResult transfer(FieldStep step, MemoryImage& image, bool write, const FieldCallbacks& callbacks);
    FieldResult failure(FieldStep step, TransferResult result) const;
    bool saveBackup(const MemoryImage& radio, const FieldOptions& options, FieldResult* result) const;

    BytePortFactory m_factory;
    QString m_portName;
    PortOpenError m_openError;
};
