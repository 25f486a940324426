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
    // Usage and saving messages
    IDS_CLI_UNKNOWN_FORMAT = 61730,  // "unknown format '%1' (csv or chirp)"
    IDS_CLI_BAD_NUMBER = 61732,      // "option %1 wants a whole number from %2 to %3, not '%4'"
    IDS_CLI_UNKNOWN_OPTION = 61733,  // "unknown option '%1'"
    IDS_CLI_OPTION_TWICE = 61734,    // "option %1 given more than once"
    IDS_CLI_OPTION_NO_VALUE = 61735, // "option %1 takes no value"
    IDS_CLI_OPTION_NEEDS_VALUE = 61736, // "option %1 needs a value (%2)"
    IDS_CLI_OPTION_REQUIRED = 61737, // "option %1 is required"
    IDS_CLI_UNEXPECTED = 61738,      // "unexpected '%1'"
    IDS_CLI_UNEXPECTED_ONLY = 61739, // "unexpected '%1' (only %2 given)"
    IDS_CLI_NEEDS = 61740,           // "needs %1"
    IDS_CLI_UNEXPECTED_AFTER = 61741, // "unexpected '%1' after %2"
    IDS_CLI_UNKNOWN_COMMAND = 61742, // "unknown command '%1'"
    IDS_CLI_RUN_HELP = 61743,        // "Run 'kq517 --help' for the commands."
};

// Writes all of bytes to stdout; false when the stream refused them (a closed
// pipe, a full disk).
bool writeStdout(const QByteArray& bytes);

// Loads path into *image; on failure prints the reason and returns false.
bool loadImage(const QString& path, MemoryImage* image);
// Saves image to path atomically; on failure prints the reason and returns false.
bool saveImage(const MemoryImage& image, const QString& path);

// The band of the image's model and band index in the settings file, as the
// channel grid checks typed frequencies against it; *bandText (when given)
// gets the band's text, empty when the settings file names none.
modelband::BandLimits bandLimitsOf(const MemoryImage& image, QString* bandText = nullptr);
