// kq517 show: the channel table and radio-wide options of a .dat file, for a
// person to read.

#include <QStringList>

#include <algorithm>
#include <cstdio>

#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "codeplug/ChannelPlan.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/ImageDiff.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/ModelBand.h"
#include "codeplug/AtomicFile.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "settings/ModelBandSettings.h"
#include "texts/CellTexts.h"
#include "texts/DiffLines.h"

namespace {

// The command line keeps the built-in English table active.
ChannelTable englishTable(const MemoryImage& image)
{
    ChannelTable table(texts::cellWords());
    table.decode(image);
    return table;
}

// The channel table as aligned columns, headers first.
QString tableText(const ChannelTable& table)
{
    int widths[ChannelTable::kCols] = {};
    for (int col = 0; col < ChannelTable::kCols; ++col)
        for (int row = 0; row < ChannelTable::kRows; ++row)
            widths[col] = std::max(widths[col], int(table.cell(row, col).size()));

    QString text;
    for (int row = 0; row < ChannelTable::kRows; ++row) {
        QString line;
        for (int col = 0; col < ChannelTable::kCols; ++col) {
            if (col > 0)
                line += QLatin1String("  ");
            // Labels " 1".."16" line up on the right, every other column on the left.
            line += col == ChannelTable::ColLabel ? table.cell(row, col).rightJustified(widths[col])
                                                  : table.cell(row, col).leftJustified(widths[col]);
        }
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        text += line + QLatin1Char('\n');
    }
    return text;
}

QString orUnnamed(const QString& text)
{
    return text.isEmpty() ? texts::text(IDS_CLI_UNNAMED) : text;
}

QString optionsText(const MemoryImage& image)
{
    const int modelIndex = image.at(layout::kModelIndex);
    const int bandIndex = image.at(layout::kBandIndex);
    const QString model = modelband::modelName(g_settings, modelIndex);
    const QString band = modelband::bandText(modelband::bandList(g_settings, modelIndex), bandIndex);

    // One arg() call each: a "%2" in a name from the settings file stays as it is.
    QList<QPair<QString, QString>> rows;
    for (const imagediff::OptionValue& option : imagediff::optionValues(image)) {
        QString value = texts::optionValue(option.offset, image, option.value);
        if (option.offset == layout::kModelIndex)
            value = texts::text(IDS_CLI_MODEL, orUnnamed(model), option.value);
        else if (option.offset == layout::kBandIndex)
            value = texts::text(IDS_CLI_BAND, orUnnamed(band), option.value);
        rows.append({texts::optionName(option.offset) + QLatin1Char(':'), value});
    }
    int width = 0;
    for (const auto& row : rows)
        width = std::max(width, int(row.first.size()));
    QString text;
    for (const auto& row : rows)
        text += QStringLiteral("  ") + row.first.leftJustified(width + 2) + row.second + QLatin1Char('\n');
    return text;
}

int runShow(const ParsedArgs& args)
{
    const QString path = args.operands().first();
    MemoryImage image;
    if (!loadImage(path, &image))
        return kExitFailed;

    QString text;
    text += texts::text(IDS_CLI_FILE, path) + QLatin1Char('\n');
    text += QLatin1Char('\n');
    text += texts::text(IDS_CLI_CHANNELS) + QLatin1Char('\n');
    text += tableText(englishTable(image));
    text += QLatin1Char('\n');
    text += texts::text(IDS_CLI_OPTIONS) + QLatin1Char('\n');
    text += optionsText(image);
    if (!writeStdout(text.toUtf8())) {
        printError(QStringLiteral("show: ") + texts::text(IDS_CLI_STDOUT));
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace

const VerbRecord& showVerb()
{
    static const VerbRecord verb{"show", "FILE.dat", 1, 1, "print the channel table and options", {}, nullptr, runShow};
    return verb;
}
