#pragma once
// What a table decode derives besides the cells: the model and band exchange
// with the per-user store, the model and band texts from the settings file, the
// main window title and the band limits used by the validator.

#include <QString>
#include <QStringList>

#include <cstdint>

class CIniFile;
class MemoryImage;
class UserStore;

namespace modelband {

// newDocument: load "Type"/"Field" (low bytes, 0 when missing) into the image;
// otherwise store the image's model and band indexes in the user store.
void exchange(MemoryImage& image, bool newDocument, UserStore& store);

// [Setup] Type%d / Field%d with modelIndex + 1.
QString modelName(const CIniFile& ini, int modelIndex);
QString bandList(const CIniFile& ini, int modelIndex);
// Models Type1.. up to the first missing or empty key, at most maxCount.
QStringList modelList(const CIniFile& ini, int maxCount = 19);
// Split at "|"; the piece after the last "|" is always kept, even empty.
QStringList bandPieces(const QString& bandList);
// Piece bandIndex; the last piece when there are fewer; the whole list without "|".
QString bandText(const QString& bandList, int bandIndex);

// AppName + "  [ Type:" + model + "  Fre:" + band + " ]" ("  [ 类型:" / "  频率:" in Chinese).
QString mainTitle(const QString& appName, const QString& model, const QString& band, bool chinese);

struct BandLimits {
    std::int32_t low = 0;
    std::int32_t high = 0;
};
// Leading integer (atoi rules) x 100000 for the low edge and for the text after
// the first "-" (the whole text without "-"). Never overflows: out-of-range
// edges saturate to the int32 range.
BandLimits bandLimits(const QString& bandText);
// atoi's reading of the leading integer, saturated to the int32 range.
std::int32_t leadingInteger(const QString& text);

}  // namespace modelband
