#pragma once
// The program's two-version texts of field programming: the result of a
// backup / write / verify, port-open reasons and the image-check question.
// The core gives one English line; these give the Chinese form as well.

#include <QList>
#include <QString>

#include "link/FieldSession.h"

struct ImageProblem;

namespace fieldtext {

QString stepName(FieldStep step, bool chinese);
// What the progress dialog says while a step runs ("Verifying" / "正在校验").
QString stepProgress(FieldStep step, bool chinese);
// One problem the radio would not accept, in the interface language.
QString problem(const ImageProblem& problem, bool chinese);
// What a block's address names ("channel 3" / "信道 3").
QString place(const BlockDifference& difference, bool chinese);
// The verify failure naming every differing block by address and place.
QString verifyFailure(const QList<BlockDifference>& differences, bool chinese);
// Why a port could not be opened (SerialBytePort's English reasons, translated).
QString openReason(const QString& english, bool chinese);
// One line for a finished session: "done" or what failed and why.
QString result(const FieldResult& result, bool chinese);
// The question before a write of an image with problems.
QString imageQuestion(const QList<ImageProblem>& problems, bool chinese);
QString writeAnyway(bool chinese);
// The progress dialog's line naming the port: "COM1: /dev/ttyUSB0", or when
// the environment decides the device "COM1 → /dev/pts/3, from KQ517_COM1 for
// this run".
QString portLine(const QString& comName, const QString& device, bool chinese);
// "/dev/pts/3, from KQ517_COM1 for this run": a device the environment chose.
QString environmentNote(const QString& comName, const QString& device, bool chinese);

}  // namespace fieldtext
