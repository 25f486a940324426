#include "texts/FieldReasons.h"

#include <QStringList>

#include "codeplug/Codecs.h"
#include "codeplug/ImageLayout.h"
#include "link/SeriesTally.h"
#include "texts/ImageFileTexts.h"

namespace texts {

namespace {

using namespace fieldid;

QString hex(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0'));
}

QString hexOffset(int offset)
{
    return QStringLiteral("0x") + hex(offset, 3);
}

QString number(long long value)
{
    return QString::number(value);
}

}  // namespace

QString imageField(ImageProblem::Field field, const TextTable& table)
{
    switch (field) {
    case ImageProblem::Field::SquelchLevel:
        return table.text(kSquelchLevel);
    case ImageProblem::Field::TimeOutTimer:
        return table.text(kTimeOutTimer);
    case ImageProblem::Field::ModelIndex:
        return table.text(kModelIndex);
    case ImageProblem::Field::BandIndex:
        return table.text(kBandIndex);
    case ImageProblem::Field::RxFrequency:
        return table.text(kRxFrequency);
    case ImageProblem::Field::TxFrequency:
        return table.text(kTxFrequency);
    case ImageProblem::Field::DecodeTone:
        return table.text(kDecodeTone);
    case ImageProblem::Field::EncodeTone:
        break;
    }
    return table.text(kEncodeTone);
}

QString imageProblem(const ImageProblem& problem, const TextTable& table)
{
    const QString field = imageField(problem.field, table);
    const QString channel = number(problem.channel);
    switch (problem.kind) {
    case ImageProblem::Kind::OptionOutOfRange:
        return table.text(kOptionOutOfRange)
            .arg(field, hexOffset(problem.offset), number(problem.value), number(problem.largest));
    case ImageProblem::Kind::FrequencyNotDecimal:
        return table.text(kFrequencyNotDecimal).arg(channel, field, hexOffset(problem.offset));
    case ImageProblem::Kind::FrequencyOutsideBand:
        return table.text(kFrequencyOutsideBand)
            .arg(channel, field, codec::formatFrequency(problem.frequency), problem.bandText);
    case ImageProblem::Kind::ToneNotListed:
        break;
    }
    return table.text(kToneNotListed)
        .arg(channel, field, hexOffset(problem.offset), hex(problem.value, 2), hex(problem.high, 2));
}

QString stepName(FieldStep step, const TextTable& table)
{
    switch (step) {
    case FieldStep::Backup:
        return table.text(kStepBackup);
    case FieldStep::Write:
        return table.text(kStepWrite);
    case FieldStep::Verify:
        return table.text(kStepVerify);
    case FieldStep::Read:
        break;
    }
    return table.text(kStepRead);
}

QString stepProgress(FieldStep step, const TextTable& table)
{
    switch (step) {
    case FieldStep::Backup:
        return table.text(kProgressBackup);
    case FieldStep::Write:
        return table.text(kProgressWrite);
    case FieldStep::Verify:
        return table.text(kProgressVerify);
    case FieldStep::Read:
        break;
    }
    return table.text(kProgressRead);
}

QString blockPlace(int address, const TextTable& table)
{
    const int row = address / layout::kRowSize;
    switch (layout::rowRegion(row)) {
    case layout::RowRegion::Channel:
        return table.text(kPlaceChannel).arg(row);
    case layout::RowRegion::Settings:
        return table.text(kPlaceSettings);
    case layout::RowRegion::Leading:
    case layout::RowRegion::Carried:
    case layout::RowRegion::ImageOnly:
        break;
    }
    return table.text(kPlaceRow).arg(row);
}

QString verifyDifferences(const QList<BlockDifference>& differences, const TextTable& table)
{
    QStringList blocks;
    for (const BlockDifference& d : differences)
        blocks.append(table.text(kBlock).arg(hexOffset(d.address), blockPlace(d.address, table)));
    return table.text(differences.size() == 1 ? kVerifyOne : kVerifyMany)
        .arg(number(differences.size()), blocks.join(table.text(kBlockSeparator)));
}

namespace {

QString holdersText(const PortOpenError& error, const TextTable& table)
{
    QStringList parts;
    for (const PortHolder& holder : error.holders) {
        const QString program = holder.program.isEmpty() ? table.text(kSomeProgram) : holder.program;
        parts.append(table.text(kHolder).arg(program, number(holder.pid)));
    }
    return parts.join(table.text(kHolderSeparator));
}

QString busyReason(const PortOpenError& error, const TextTable& table)
{
    QString holders = holdersText(error, table);
    if (error.lockFilePid == 0 && !error.lockHeld)
        return holders.isEmpty() ? table.text(kBusyUnknown) : table.text(kBusyHeldBy).arg(holders);
    // Refused by a lock rather than by the system: the lock is named after the holders.
    if (holders.isEmpty())
        holders = table.text(kAnotherProgram);
    holders = error.lockFilePid != 0 ? table.text(kLockFileHolder).arg(holders, number(error.lockFilePid))
                                     : table.text(kLockHeld).arg(holders);
    return table.text(kBusyHeldBy).arg(holders);
}

}  // namespace

QString openReasonAlone(const PortOpenError& error, const TextTable& table)
{
    switch (error.kind) {
    case PortOpenError::Kind::None:
        return QString();
    case PortOpenError::Kind::UnknownName:
        return table.text(kUnknownName).arg(error.name);
    case PortOpenError::Kind::NoDevice:
        return table.text(kNoDevice);
    case PortOpenError::Kind::NoPermission:
        return table.text(kNoPermission).arg(error.group);
    case PortOpenError::Kind::Busy:
        return busyReason(error, table);
    case PortOpenError::Kind::System:
        break;
    }
    return error.systemText;  // the system's own message, as it gave it
}

QString openReason(const PortOpenError& error, const TextTable& table)
{
    const QString reason = openReasonAlone(error, table);
    // An unknown name is no port to name.
    if (error.kind == PortOpenError::Kind::None || error.kind == PortOpenError::Kind::UnknownName)
        return reason;
    return table.text(kPortReason).arg(error.shownPort(), reason);
}

QString traceError(const TraceError& error, const TextTable& table)
{
    switch (error.kind) {
    case TraceError::Kind::None:
        break;
    case TraceError::Kind::CannotWrite:
        return table.text(kTraceCannotWrite).arg(error.path, error.systemText);
    case TraceError::Kind::Incomplete:
        return table.text(kTraceIncomplete).arg(error.path, error.systemText);
    }
    return QString();
}

QString transferMessage(TransferResult result, const TextTable& table)
{
    if (result == TransferResult::ModelMismatch)
        return table.text(kModelMismatch);
    const int id = ProtocolEngine::messageId(result);
    return id ? table.text(id) : QString();
}

QString modelMismatchCaption(const TextTable& table)
{
    return table.text(kModelMismatchCaption);
}

QString fieldResult(const FieldResult& result, const TextTable& table)
{
    if (result.succeeded())
        return table.text(kDone);
    const auto inStep = [&](const QString& what) { return table.text(kStepReason).arg(stepName(result.step, table), what); };
    switch (result.failure) {
    case FieldResult::Failure::None:
    case FieldResult::Failure::Transfer:
        break;
    case FieldResult::Failure::BackupFolder:
        return inStep(table.text(kBackupFolder).arg(result.backupFolder));
    case FieldResult::Failure::BackupSave:
        return inStep(table.text(kBackupSave).arg(imageFileProblem(result.backupError, table)));
    case FieldResult::Failure::VerifyDiffers:
        return inStep(verifyDifferences(result.differences, table));
    case FieldResult::Failure::Trace:
        return table.text(kTraceFailed).arg(traceError(result.traceError, table));
    }
    if (result.outcome == FieldResult::Outcome::Cancelled || result.transfer == TransferResult::Cancelled)
        return inStep(table.text(kInterrupted));
    // One line: a message of several lines is joined with spaces.
    QString message = transferMessage(result.transfer, table).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (result.openError.isError())
        message = table.text(kStepReason).arg(message, openReason(result.openError, table));
    return inStep(message);
}

QString seriesSummary(const SeriesTally& tally, const TextTable& table)
{
    return table.text(tally.radios() == 1 ? kSeriesOne : kSeriesMany)
        .arg(number(tally.radios()), number(tally.written()), number(tally.failedVerify()), number(tally.notWritten()));
}

}  // namespace texts
