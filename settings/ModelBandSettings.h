#pragma once
// The model and band lists as the settings file holds them ([Setup] Type%d and
// Field%d), the exchange of the image's model and band with the per-user
// store, and the limits a write checks an image against. The settings side of
// codeplug/ModelBand.h, which works on the texts these hand over.

#include <QString>
#include <QStringList>

#include "codeplug/ImageCheck.h"
#include "codeplug/ModelBand.h"

class CIniFile;
class MemoryImage;
class UserStore;

namespace modelband {

// newDocument: load "Type"/"Field" (low bytes, 0 when missing) into the image;
// otherwise store the image's model and band indexes in the user store, but
// only when ini (if given) lists them: an odd file's byte must not become
// every later new document's model or band.
void exchange(MemoryImage& image, bool newDocument, UserStore& store, const CIniFile* ini = nullptr);

// True when the settings file lists the model and, for it, the band (always
// true when it lists no model at all: there is nothing to check against).
bool isListed(const CIniFile& ini, int modelIndex, int bandIndex);

// [Setup] Type%d / Field%d with modelIndex + 1.
QString modelName(const CIniFile& ini, int modelIndex);
QString bandList(const CIniFile& ini, int modelIndex);
// Models Type1.. up to the first missing or empty key, at most maxCount.
QStringList modelList(const CIniFile& ini, int maxCount = 19);

// The model and band counts and the band of the image's model and band, as a
// write checks the image against them.
ImageCheckLimits imageCheckLimits(const MemoryImage& image, const CIniFile& settings);

}  // namespace modelband
