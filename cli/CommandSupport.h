#pragma once
// Helpers the file commands share: standard output, loading a
// .dat file with its message, and the band limits of an image's model and band.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "codeplug/MemoryImage.h"
#include "codeplug/ModelBand.h"

// Writes all of bytes to stdout; false when the stream refused them (a closed
// pipe, a full disk).
bool writeStdout(const QByteArray& bytes);

// Loads path into *image; on failure prints the reason and returns false.
bool loadImage(const QString& path, MemoryImage* image);

// The band of the image's model and band index in the settings file, as the
// channel grid checks typed frequencies against it; *bandText (when given)
// gets the band's text, empty when the settings file names none.
modelband::BandLimits bandLimitsOf(const MemoryImage& image, QString* bandText = nullptr);
