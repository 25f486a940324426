// kq517 show and kq517 export: the channel table and radio-wide options of a
// .dat file, for a person to read or as CSV.

#include <QStringList>

#include <algorithm>
#include <cstdio>

#include "cli/Commands.h"
#include "settings/AtomicFile.h"
#include "codeplug/ChannelTable.h"
#include "codeplug/ImageLayout.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/ModelBand.h"
#include "settings/Globals.h"
#include "settings/IniFile.h"

namespace {

bool isOption(const QString& word)
{
    return word.size() > 1 && word.startsWith(QLatin1Char('-'));
}

bool isHelp(const QString& word)
{
    return word == QLatin1String("--help") || word == QLatin1String("-h");
}

// Writes all of bytes to stdout; false when the stream refused them (a closed
// pipe, a full disk).
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

ChannelTable englishTable(const MemoryImage& image)
{
    ChannelTable table(false);
    table.decode(image, false);
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

QString timeOutText(std::uint8_t timeOut)
{
    if (timeOut == 0)
        return QStringLiteral("Off");
    return QStringLiteral("%1s").arg(int(timeOut) * 30);
}

QString orUnnamed(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("(not named in the settings file)") : text;
}

QString optionsText(const MemoryImage& image)
{
    const int modelIndex = image.at(layout::kModelIndex);
    const int bandIndex = image.at(layout::kBandIndex);
    const QString model = modelband::modelName(g_settings, modelIndex);
    const QString band = modelband::bandText(modelband::bandList(g_settings, modelIndex), bandIndex);

    // One arg() call each: a "%2" in a name from the settings file stays as it is.
    const QList<QPair<QString, QString>> rows = {
        {QStringLiteral("Model:"),
         QStringLiteral("%1 (model %2)").arg(orUnnamed(model), QString::number(modelIndex))},
        {QStringLiteral("Band:"),
         QStringLiteral("%1 (band %2)").arg(orUnnamed(band), QString::number(bandIndex))},
        {QStringLiteral("Squelch Level:"), QString::number(image.at(layout::kSquelchLevel))},
        {QStringLiteral("Time Out Time:"), timeOutText(image.at(layout::kTimeOutTimer))},
        {QStringLiteral("Beep:"),
         (image.at(layout::kBeep) & 0x01) ? QStringLiteral("On") : QStringLiteral("Off")},
        {QStringLiteral("Tx Power:"), QString::number(image.at(layout::kTxPower) / 3)},
    };
    int width = 0;
    for (const auto& row : rows)
        width = std::max(width, int(row.first.size()));
    QString text;
    for (const auto& row : rows)
        text += QStringLiteral("  ") + row.first.leftJustified(width + 2) + row.second + QLatin1Char('\n');
    return text;
}

// A CSV cell: quoted (with doubled quotes) only when it holds a comma, a quote
// or a line break.
QString csvCell(const QString& cell)
{
    if (!cell.contains(QLatin1Char(',')) && !cell.contains(QLatin1Char('"')) &&
        !cell.contains(QLatin1Char('\n')) && !cell.contains(QLatin1Char('\r')))
        return cell;
    QString quoted = cell;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString csvText(const ChannelTable& table)
{
    QString text;
    for (int row = 0; row < ChannelTable::kRows; ++row) {
        QStringList cells;
        // The CH column: the header as it stands, the channel as a plain number.
        cells << (row == 0 ? table.cell(0, ChannelTable::ColLabel) : QString::number(row));
        for (int col = ChannelTable::ColRx; col < ChannelTable::kCols; ++col)
            cells << csvCell(table.cell(row, col));
        text += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text;
}

}  // namespace

int runShow(const QStringList& args)
{
    QString path;
    for (const QString& arg : args) {
        if (isHelp(arg)) {
            writeStdout("usage: kq517 show [FILE.dat]\n");
            return kExitOk;
        }
        if (isOption(arg)) {
            printError(QStringLiteral("show: unknown option '%1'").arg(arg));
            return kExitUsage;
        }
        if (!path.isEmpty()) {
            printError(QStringLiteral("show: only one file may be given"));
            return kExitUsage;
        }
        path = arg;
    }

    // Without a file: the image a new document starts from.
    MemoryImage image = MemoryImage::newImage();
    if (!path.isEmpty() && !loadImage(path, &image))
        return kExitFailed;

    QString text;
    text += path.isEmpty() ? QStringLiteral("New image\n") : QStringLiteral("File: %1\n").arg(path);
    text += QLatin1Char('\n');
    text += QStringLiteral("Channels\n");
    text += tableText(englishTable(image));
    text += QLatin1Char('\n');
    text += QStringLiteral("Options\n");
    text += optionsText(image);
    if (!writeStdout(text.toUtf8())) {
        printError(QStringLiteral("show: cannot write to standard output"));
        return kExitFailed;
    }
    return kExitOk;
}

int runExport(const QStringList& args)
{
    QString path;
    QString outPath;
    bool haveOut = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (isHelp(arg)) {
            writeStdout("usage: kq517 export FILE.dat [-o OUT.csv]\n");
            return kExitOk;
        }
        if (arg == QLatin1String("-o")) {
            if (i + 1 >= args.size() || args.at(i + 1).isEmpty()) {
                printError(QStringLiteral("export: -o needs a file name"));
                return kExitUsage;
            }
            if (haveOut) {
                printError(QStringLiteral("export: -o given more than once"));
                return kExitUsage;
            }
            outPath = args.at(++i);
            haveOut = true;
            continue;
        }
        if (isOption(arg)) {
            printError(QStringLiteral("export: unknown option '%1'").arg(arg));
            return kExitUsage;
        }
        if (!path.isEmpty()) {
            printError(QStringLiteral("export: only one file may be given"));
            return kExitUsage;
        }
        path = arg;
    }
    if (path.isEmpty()) {
        printError(QStringLiteral("export: no .dat file given (usage: kq517 export FILE.dat [-o OUT.csv])"));
        return kExitUsage;
    }

    MemoryImage image;
    if (!loadImage(path, &image))
        return kExitFailed;
    const QByteArray csv = csvText(englishTable(image)).toUtf8();

    if (!haveOut) {
        if (!writeStdout(csv)) {
            printError(QStringLiteral("export: cannot write to standard output"));
            return kExitFailed;
        }
        return kExitOk;
    }

    // Atomic: OUT is replaced only when the whole table was written.
    QString reason;
    if (!writeFileAtomically(outPath, csv, &reason)) {
        printError(QStringLiteral("Cannot save \"%1\": %2").arg(outPath, reason));
        return kExitFailed;
    }
    return kExitOk;
}
