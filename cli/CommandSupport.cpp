#include "cli/CommandSupport.h"

#include <cstdio>

#include "cli/Commands.h"
#include "codeplug/ImageLayout.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/ModelBandSettings.h"
#include "texts/ImageFileTexts.h"

bool writeStdout(const QByteArray& bytes)
{
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return std::fflush(stdout) == 0 && written == size_t(bytes.size());
}

bool loadImage(const QString& path, MemoryImage* image)
{
    ImageFileProblem problem;
    if (!image->loadFile(path, &problem)) {
        printError(texts::imageFileProblem(problem));
        return false;
    }
    return true;
}

bool saveImage(const MemoryImage& image, const QString& path)
{
    ImageFileProblem problem;
    if (!image.saveFile(path, &problem)) {
        printError(texts::imageFileProblem(problem));
        return false;
    }
    return true;
}

modelband::BandLimits bandLimitsOf(const MemoryImage& image, QString* bandText)
{
    const int modelIndex = image.at(layout::kModelIndex);
    const int bandIndex = image.at(layout::kBandIndex);
    const QString band = modelband::bandText(modelband::bandList(g_settings, modelIndex), bandIndex);
    if (bandText)
        *bandText = band;
    return modelband::bandLimits(band);
}

void printError(const QString& message)
{
    std::fprintf(stderr, "kq517: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}
