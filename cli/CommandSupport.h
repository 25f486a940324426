#pragma once
// Helpers the file commands share: standard output, loading a
// .dat file with its message, and the band limits of an image's model and band.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "codeplug/MemoryImage.h"
#include "codeplug/ModelBand.h"

// String ids of the file commands' own texts (English: the command line
// keeps the built-in English table active).
enum CommandTextId : int {
    IDS_CLI_FILE = 61720,            // "File: %1"
    IDS_CLI_CHANNELS = 61721,        // "Channels"
    IDS_CLI_OPTIONS = 61722,         // "Options"
    IDS_CLI_UNNAMED = 61723,         // "(not named in the settings file)"
    IDS_CLI_MODEL = 61724,           // "%1 (model %2)"
    IDS_CLI_BAND = 61725,            // "%1 (band %2)"
    IDS_CLI_STDOUT = 61726,          // "cannot write to standard output"
    IDS_CLI_CANNOT_READ = 61727,     // "cannot read "%1": %2"
    IDS_CLI_TOO_LARGE = 61728,       // ""%1" is larger than 1 MiB: not a channel plan"
    IDS_CLI_NO_BAND = 61729,         // "the settings file names no band for model %1, band %2 ..."
};

// Writes all of bytes to stdout; false when the stream refused them (a closed
// pipe, a full disk).
bool writeStdout(const QByteArray& bytes);

// Loads path into *image; on failure prints the reason and returns false.
bool loadImage(const QString& path, MemoryImage* image);

// The band of the image's model and band index in the settings file, as the
// channel grid checks typed frequencies against it; *bandText (when given)
// gets the band's text, empty when the settings file names none.
modelband::BandLimits bandLimitsOf(const MemoryImage& image, QString* bandText = nullptr);
