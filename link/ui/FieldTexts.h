#pragma once
// The texts only the program's windows show about field programming: the
// question before writing an image with problems, the line naming the port
// and what the environment chose, the labels of the COM Setup mapping row
// and of the several-radios dialog. All from the active language module's
// string table; the texts the command line shares live in texts/.

#include <QList>
#include <QString>

#include "texts/FieldReasons.h"

namespace fieldtext {

// Ids of the window-only texts, next to the shared ones of texts::fieldid.
enum : int {
    kPortLine = 61870,   // %1 the port as shown
    kEnvironmentNote,    // %1 device, %2 environment variable
    kMapNameTip,
    kSerialNumber,       // %1 serial number
    kDevicesFound,
    kNoDeviceFound,
    kMapButton,
    kMapButtonTip,
    kSeveralTitle,
    kNextRadio,
    kFinish,
    kWritingRadio,       // %1 radio number
    kFailed,             // %1 what failed; 61883 is texts::fieldid::kRadioLine
    kConnectNext = 61884,
    kTraceNote,          // %1 the line, %2 the trace's failure
    kCancel,             // the Cancel button of the image question
};

// The question before a write of an image with problems.
QString imageQuestion(const QList<ImageProblem>& problems);
// The progress dialog's line naming the port: "COM1: /dev/ttyUSB0", or when
// the environment decides the device "COM1 → /dev/pts/3, from KQ517_COM1 for
// this run".
QString portLine(const QString& comName, const QString& device);
// "/dev/pts/3, from KQ517_COM1 for this run": a device the environment chose.
QString environmentNote(const QString& comName, const QString& device);

}  // namespace fieldtext
