#include "settings/ModelBandSettings.h"

#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "settings/IniFile.h"
#include "settings/UserStore.h"

namespace modelband {

namespace {

QByteArray setupKey(const char* name, int modelIndex)
{
    return QByteArray(name) + QByteArray::number(qint64(modelIndex) + 1);
}

}  // namespace

void exchange(MemoryImage& image, bool newDocument, UserStore& store, const CIniFile* ini)
{
    if (!newDocument && ini && !isListed(*ini, image.at(layout::kModelIndex), image.at(layout::kBandIndex)))
        return;
    if (newDocument) {
        image.set(layout::kModelIndex, std::uint8_t(store.read(QStringLiteral("Type"), 0u) & 0xFF));
        image.set(layout::kBandIndex, std::uint8_t(store.read(QStringLiteral("Field"), 0u) & 0xFF));
    } else {
        store.write(QStringLiteral("Type"), image.at(layout::kModelIndex));
        store.write(QStringLiteral("Field"), image.at(layout::kBandIndex));
    }
}

bool isListed(const CIniFile& ini, int modelIndex, int bandIndex)
{
    const int models = int(modelList(ini).size());
    if (models == 0)
        return true;
    return modelIndex < models && bandIndex < int(bandPieces(bandList(ini, modelIndex)).size());
}

QString modelName(const CIniFile& ini, int modelIndex)
{
    return ini.GetText("Setup", setupKey("Type", modelIndex));
}

QString bandList(const CIniFile& ini, int modelIndex)
{
    return ini.GetText("Setup", setupKey("Field", modelIndex));
}

QStringList modelList(const CIniFile& ini, int maxCount)
{
    QStringList models;
    for (int n = 1; n <= maxCount; ++n) {
        const QByteArray raw = ini.GetString("Setup", "Type" + QByteArray::number(n));
        if (raw.isEmpty())
            break;
        models.append(decodeSettingsText(raw));
    }
    return models;
}

ImageCheckLimits imageCheckLimits(const MemoryImage& image, const CIniFile& settings)
{
    ImageCheckLimits limits;
    limits.modelCount = int(modelList(settings).size());
    const int model = image.at(layout::kModelIndex);
    if (model >= limits.modelCount)
        return limits;
    const QString bands = bandList(settings, model);
    const QStringList pieces = bandPieces(bands);
    limits.bandCount = int(pieces.size());
    const int band = image.at(layout::kBandIndex);
    if (band >= limits.bandCount)
        return limits;
    limits.bandText = bandText(bands, band).trimmed();
    const BandLimits edges = bandLimits(limits.bandText);
    if (edges.low > 0 && edges.high > edges.low) {
        limits.bandLow = edges.low;
        limits.bandHigh = edges.high;
    }
    return limits;
}

}  // namespace modelband
