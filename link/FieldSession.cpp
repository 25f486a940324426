#include "link/FieldSession.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/ModelBand.h"
#include "settings/FileNameLimit.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/ModelBandSettings.h"

FieldSession::FieldSession(BytePortFactory factory, const QString& portName)
    : m_factory(std::move(factory)), m_portName(portName)
{
}

TransferResult FieldSession::transfer(FieldStep step, MemoryImage& image, bool write,
                                      const FieldCallbacks& callbacks)
{
    m_openError = PortOpenError{};
    std::unique_ptr<BytePort> port = m_factory();
    ProtocolEngine engine(*port);
    TransferResult result = engine.open(m_portName);
    if (result != TransferResult::Done) {
        m_openError = engine.openError();
        return result;
    }
    int failures = 0;
    for (;;) {
        result = engine.handshake(callbacks.pump);
        if (result != TransferResult::CommunicationError)
            break;
        ++failures;
        if (!callbacks.retry || !callbacks.retry(step, failures))
            break;
    }
    // One more turn of the event loop between the handshake and the first
    // row: the handshake and a row each keep a window waiting for tens of
    // milliseconds, together they would freeze it visibly. No byte moves here.
    if (result == TransferResult::Done && callbacks.pump && callbacks.pump()) {
        engine.close();
        result = TransferResult::Cancelled;
    }
    if (result == TransferResult::Done) {
        const ProtocolEngine::Progress progress = [&callbacks, step](int row) {
            if (callbacks.progress)
                callbacks.progress(step, row);
        };
        result = write ? engine.writeImage(image, callbacks.pump, progress)
                       : engine.readImage(image, callbacks.pump, progress);
    }
    engine.close();
    return result;
}

FieldResult FieldSession::failure(FieldStep step, TransferResult result) const
{
    FieldResult failed;
    failed.step = step;
    failed.transfer = result;
    failed.failure = FieldResult::Failure::Transfer;
    failed.openError = m_openError;
    if (result == TransferResult::Cancelled)
        failed.outcome = FieldResult::Outcome::Cancelled;
    return failed;
}

FieldResult FieldSession::read(MemoryImage& image, const FieldCallbacks& callbacks)
{
    const TransferResult result = transfer(FieldStep::Read, image, false, callbacks);
    if (result != TransferResult::Done)
        return failure(FieldStep::Read, result);
    FieldResult done;
    done.outcome = FieldResult::Outcome::Succeeded;
    done.step = FieldStep::Read;
    return done;
}

FieldResult FieldSession::write(const MemoryImage& image, const FieldOptions& options,
                                const FieldCallbacks& callbacks)
{
    FieldResult result;
    if (!options.backupDir.isEmpty()) {
        MemoryImage radio = MemoryImage::newImage();
        const TransferResult backup = transfer(FieldStep::Backup, radio, false, callbacks);
        if (backup != TransferResult::Done)
            return failure(FieldStep::Backup, backup);
        if (!saveBackup(radio, options, &result))
            return result;
    }

    // The engine sends from a copy: the caller's image is left as it is.
    MemoryImage sent = image;
    const TransferResult written = transfer(FieldStep::Write, sent, true, callbacks);
    if (written != TransferResult::Done) {
        FieldResult failed = failure(FieldStep::Write, written);
        failed.backupPath = result.backupPath;
        return failed;
    }

    if (options.verify) {
        // Rows 61 to 63 are never read: starting from what was sent keeps
        // them equal, so only rows 0 to 60 can differ.
        MemoryImage back = image;
        const TransferResult verified = transfer(FieldStep::Verify, back, false, callbacks);
        if (verified != TransferResult::Done) {
            FieldResult failed = failure(FieldStep::Verify, verified);
            failed.backupPath = result.backupPath;
            return failed;
        }
        result.differences = compare(image, back);
        if (!result.differences.isEmpty()) {
            result.outcome = FieldResult::Outcome::Failed;
            result.step = FieldStep::Verify;
            result.failure = FieldResult::Failure::VerifyDiffers;
            return result;
        }
    }
    result.outcome = FieldResult::Outcome::Succeeded;
    result.step = options.verify ? FieldStep::Verify : FieldStep::Write;
    return result;
}

bool FieldSession::saveBackup(const MemoryImage& radio, const FieldOptions& options, FieldResult* result) const
{
    result->step = FieldStep::Backup;
    result->outcome = FieldResult::Outcome::Failed;
    if (!QDir().mkpath(options.backupDir)) {
        result->failure = FieldResult::Failure::BackupFolder;
        result->backupFolder = options.backupDir;
        return false;
    }
    QString model;
    if (options.modelName)
        model = options.modelName(radio);
    else
        model = modelband::modelName(g_settings, radio.at(layout::kModelIndex));
    const QDateTime when = options.clock ? options.clock() : QDateTime::currentDateTime();
    const QString path = backupPath(options.backupDir, model, when);
    ImageFileProblem error;
    if (!radio.saveFile(path, &error)) {
        result->failure = FieldResult::Failure::BackupSave;
        result->backupError = error;
        return false;
    }
    result->backupPath = path;
    return true;
}

QList<BlockDifference> FieldSession::compare(const MemoryImage& sent, const MemoryImage& back)
{
    QList<BlockDifference> differences;
    for (int address = 0; address < layout::kRadioByteCount; address += layout::kBlockSize) {
        for (int i = 0; i < layout::kBlockSize; ++i) {
            if (sent.at(address + i) != back.at(address + i)) {
                differences.append(BlockDifference{address});
                break;
            }
        }
    }
    return differences;
}

QString FieldSession::safeFileText(const QString& text)
{
    static const QString kRefused = QStringLiteral("<>:\"/\\|?*%");
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("radio");
    QString safe;
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed.at(i);
        const bool escape = c.unicode() < 0x20 || c.unicode() == 0x7F || kRefused.contains(c) ||
                            (i == 0 && c == QLatin1Char('.')) ||
                            (i == trimmed.size() - 1 && c == QLatin1Char('.'));
        if (!escape) {
            safe += c;
            continue;
        }
        for (char byte : QString(c).toUtf8())
            safe += QStringLiteral("%%1").arg(int(std::uint8_t(byte)), 2, 16, QLatin1Char('0')).toUpper();
    }
    return safe;
}

QString FieldSession::backupPath(const QString& dir, const QString& model, const QDateTime& when)
{
    // The model part gives way when the name would pass what a file system
    // takes; the date, time and number after it keep the names apart.
    const QString safeModel = safeFileText(model);
    const QString stamp = when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const auto fileName = [&](const QString& number) {
        const QString tail = QStringLiteral("-%1%2.dat").arg(stamp, number);
        return filename::cutToBytes(safeModel, filename::kMaxNameBytes - int(tail.toUtf8().size())) + tail;
    };
    const QDir folder(dir);
    QString path = folder.filePath(fileName(QString()));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(fileName(QStringLiteral("-%1").arg(n)));
    return path;
}
