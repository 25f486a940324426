#include "cli/CommandSupport.h"

#include <cstdio>

#include "cli/Commands.h"
#include "codeplug/ImageLayout.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/ModelBandSettings.h"

bool isOption(const QString& word)
{
    return word.size() > 1 && word.startsWith(QLatin1Char('-'));
}

bool isHelp(const QString& word)
{
    return word == QLatin1String("--help") || word == QLatin1String("-h");
}

bool writeStdout(const QByteArray& bytes)
{
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return std::fflush(stdout) == 0 && written == size_t(bytes.size());
}

bool loadImage(const QString& path, MemoryImage* image)
{
    QString error;
    if (!image->loadFile(path, &error)) {
        printError(error);
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

bool takeOptionValue(const QStringList& args, int* i, const QString& verb, QString* value, bool* given)
{
    const QString option = args.at(*i);
    if (*i + 1 >= args.size() || args.at(*i + 1).isEmpty()) {
        printError(QStringLiteral("%1: %2 needs a value").arg(verb, option));
        return false;
    }
    if (*given) {
        printError(QStringLiteral("%1: %2 given more than once").arg(verb, option));
        return false;
    }
    *value = args.at(++*i);
    *given = true;
    return true;
}

void printError(const QString& message)
{
    std::fprintf(stderr, "kq517: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}
