#pragma once
// The texts of field programming, rendered from a string table: what the
// radio would not accept in an image, why a port could not be opened, how a
// read, write, backup or verify ended, the steps and the count of a series.
// The core hands in values; the program renders them with the active
// language module's table, the command line with the built-in English one.

#include <QList>
#include <QString>

#include "codeplug/ImageCheck.h"
#include "link/FieldSession.h"
#include "link/PortOpenError.h"
#include "link/TraceBytePort.h"
#include "texts/TextTable.h"

class SeriesTally;

namespace texts {

// The ids of field programming's texts in every module's strings.json.
namespace fieldid {
enum : int {
    // What the radio would not accept in an image
    kOptionOutOfRange = 61800,  // %1 field, %2 byte offset, %3 value, %4 largest
    kFrequencyNotDecimal,       // %1 channel, %2 field, %3 byte offset
    kFrequencyOutsideBand,      // %1 channel, %2 field, %3 MHz, %4 band
    kToneNotListed,             // %1 channel, %2 field, %3 byte offset, %4 low byte, %5 high byte
    kSquelchLevel,              // the fields, in ImageProblem::Field order
    kTimeOutTimer,
    kModelIndex,
    kBandIndex,
    kRxFrequency,
    kTxFrequency,
    kDecodeTone,
    kEncodeTone,
    kImageQuestion,   // %1 the problems, one "- " line each
    kWriteAnyway,
    kNotAccepted,     // command line: %1 one problem
    kNothingWrittenOne,   // command line: %1 the count
    kNothingWrittenMany,  // command line: %1 the count

    // Steps, in FieldStep order
    kStepBackup = 61820,
    kStepWrite,
    kStepVerify,
    kStepRead,
    kProgressBackup,
    kProgressWrite,
    kProgressVerify,
    kProgressRead,

    // How a session ended
    kStepReason = 61828,  // %1 step, %2 what happened
    kInterrupted,
    kModelMismatch,
    kModelMismatchCaption,
    kBackupFolder,  // %1 folder
    kBackupSave,    // %1 the image file's message
    kVerifyOne,     // %1 count, %2 blocks
    kVerifyMany,    // %1 count, %2 blocks
    kBlock,         // %1 address, %2 place
    kBlockSeparator,
    kPlaceChannel,  // %1 channel
    kPlaceSettings,
    kPlaceRow,      // %1 row
    kTraceFailed,   // %1 the trace's failure
    kTraceCannotWrite,  // %1 path, %2 system message
    kTraceIncomplete,   // %1 path, %2 system message
    kDone,
    kSeriesOne,     // %1 radios, %2 written, %3 failed verify, %4 not written
    kSeriesMany,

    // Why a port could not be opened
    kUnknownName = 61850,  // %1 name
    kNoDevice,
    kNoPermission,     // %1 group
    kBusyUnknown,
    kBusyHeldBy,       // %1 holders
    kHolder,           // %1 program, %2 pid
    kHolderSeparator,
    kSomeProgram,
    kLockFileHolder,   // %1 holders, %2 pid
    kLockHeld,         // %1 holders
    kPortReason,       // %1 port, %2 reason
    kAnotherProgram,
    kNotListed,        // a device only a COM name maps to

    kRadioLine = 61883,  // %1 radio number, %2 what became of it

    // The command line's own lines
    kRowsStarted = 61890,  // %1 step, %2 last row
    kRowsDone,             // %1 step, %2 rows
    kRowsStopped,          // %1 step, %2 rows done, %3 rows
    kTryingAgain,          // %1 message, %2 failures, %3 retries
    kNextRadioPrompt,
    kBackupSaved,          // %1 path
    kWrittenAndVerified,
    kWritten,
    kRadioFailed,          // %1 radio number, %2 reason
    kNoPorts,
    kFieldDescription,
    kFieldVendorProduct,
    kFieldSerialNumber,
    kFieldComName,
    kFieldCanOpen,
    kCanOpen,
    kCannotOpen,           // %1 reason
    kSimVanished,          // %1 block

    // The Process dialog's title
    kReadDataTitle = 61908,
    kWriteDataTitle,
};
}  // namespace fieldid

QString imageField(ImageProblem::Field field, const TextTable& table = active());
// One problem the radio would not accept.
QString imageProblem(const ImageProblem& problem, const TextTable& table = active());

QString stepName(FieldStep step, const TextTable& table = active());
// What a step does while it runs ("Verifying").
QString stepProgress(FieldStep step, const TextTable& table = active());

// What a block's address names: its channel, the settings row or its row.
QString blockPlace(int address, const TextTable& table = active());
// The verify failure naming every differing block, without the step.
QString verifyDifferences(const QList<BlockDifference>& differences, const TextTable& table = active());

// Why a port could not be opened, naming the port first.
QString openReason(const PortOpenError& error, const TextTable& table = active());
// The same without the port, for a list that names it already.
QString openReasonAlone(const PortOpenError& error, const TextTable& table = active());
// Why a trace could not be kept; empty when it could.
QString traceError(const TraceError& error, const TextTable& table = active());

// The message of a transfer's result (the string table's 61453, 61451,
// 61454, or the model mismatch); empty for Done and Cancelled.
QString transferMessage(TransferResult result, const TextTable& table = active());
QString modelMismatchCaption(const TextTable& table = active());

// One line for a finished session: "done", or the step and what failed.
QString fieldResult(const FieldResult& result, const TextTable& table = active());
// "3 radios: 3 written, 0 failed verify, 0 not written".
QString seriesSummary(const SeriesTally& tally, const TextTable& table = active());

}  // namespace texts
