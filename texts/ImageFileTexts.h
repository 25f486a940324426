#pragma once
// Why a .dat file could not be read or saved, in the active language: the
// document windows, the backup before a write and the command line say it
// alike.

#include "codeplug/MemoryImage.h"
#include "texts/TextTable.h"

namespace texts {

enum ImageFileTextId : int {
    IDS_FILE_CANNOT_SAVE = 61731,  // "Cannot save "%1": %2": path, the system's reason
    IDS_FILE_CANNOT_OPEN = 61750,  // "Cannot open "%1": %2"
    IDS_FILE_CANNOT_READ = 61751,  // "Cannot read "%1": %2"
    IDS_FILE_TOO_SHORT = 61752,    // ""%1" is %2 bytes long; a .dat file holds %3 bytes"
};

// The path as the system writes it (backslashes on Windows).
QString shownPath(const QString& path);

QString imageFileProblem(const ImageFileProblem& problem, const TextTable& table = active());

}  // namespace texts
