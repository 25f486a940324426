#include "codeplug/ChannelPlan.h"

#include <QHash>
#include <QStringDecoder>

#include "codeplug/CellValidator.h"
#include "codeplug/Channel.h"
#include "codeplug/ChannelPlanFormat.h"
#include "codeplug/ChirpPlan.h"
#include "codeplug/Codecs.h"
#include "codeplug/CsvText.h"
#include "codeplug/PlanCells.h"

namespace channelplan {

namespace {

bool isBlank(const csvtext::Record& record)
{
    for (const QString& cell : record.cells) {
        if (!cell.trimmed().isEmpty())
            return false;
    }
    return true;
}

bool isComment(const csvtext::Record& record)
{
    return !record.cells.isEmpty() && record.cells.first().trimmed().startsWith(planformat::kCommentMark);
}

enum class TableHeader { No, Yes, Incomplete };

// The channel table's own header, in any of words' languages. Spreadsheets
// may add empty cells after it. A header that names some of its columns (the
// first, or two of them) but lacks others is Incomplete, *missing naming those
// in the language it names most columns of; a header complete in any one
// language is the header.
TableHeader tableHeader(QStringList cells, const CellWords& words, QString* missing)
{
    while (cells.size() > planformat::kCsvColumnCount && cells.last().trimmed().isEmpty())
        cells.removeLast();
    for (QString& cell : cells)
        cell = cell.trimmed();
    qsizetype closest = 0;
    for (const WordSet& set : words.sets()) {
        QStringList absent;
        bool inPlace = cells.size() == planformat::kCsvColumnCount;
        for (int c = 0; c < planformat::kCsvColumnCount; ++c) {
            const QString name = set.header(c);
            const auto same = [&name](const QString& cell) { return cell.compare(name, Qt::CaseInsensitive) == 0; };
            if (std::none_of(cells.cbegin(), cells.cend(), same))
                absent << name;
            inPlace = inPlace && c < cells.size() && same(cells.at(c));
        }
        if (inPlace)
            return TableHeader::Yes;
        const qsizetype present = planformat::kCsvColumnCount - absent.size();
        const bool firstNamed = !cells.isEmpty() &&
                                cells.first().compare(set.header(0), Qt::CaseInsensitive) == 0;
        if (!absent.isEmpty() && (firstNamed || present >= 2) && present + 1 > closest) {
            closest = present + 1;
            *missing = absent.join(QStringLiteral(", "));
        }
    }
    return closest > 0 ? TableHeader::Incomplete : TableHeader::No;
}

bool isTableHeader(const QStringList& cells, const CellWords& words)
{
    QString missing;
    return tableHeader(cells, words, &missing) == TableHeader::Yes;
}

// One row of the grid's six columns.
PlanRow readTableRow(const QStringList& given, int line, const modelband::BandLimits& limits,
                     const CellWords& words, QList<PlanError>* errors)
{
    const auto column = [&words](int c) { return words.shown().header(c); };
    const auto fail = [&](int c, Reason reason, const QString& value) {
        errors->append(PlanError{line, c < 0 ? QString() : column(c), reason, plancells::shownValue(value), 0, {}, {}});
    };

    QStringList cells = given;
    for (qsizetype i = planformat::kCsvColumnCount; i < cells.size(); ++i) {
        if (!cells.at(i).trimmed().isEmpty()) {
            fail(-1, Reason::WrongCellCount, QString::number(cells.size()));
            return PlanRow{};
        }
    }
    for (QString& cell : cells)
        cell = cell.trimmed();

    PlanRow row;
    row.line = line;
    row.channel = plancells::channelNumber(cells.value(ChannelTable::ColLabel));
    if (row.channel == 0)
        fail(ChannelTable::ColLabel, Reason::BadChannel, cells.value(ChannelTable::ColLabel));
    // A short row is refused: read as given, its missing cells would silently
    // reset the channel's transmit frequency, tones or busy lock.
    if (cells.size() < planformat::kCsvColumnCount) {
        QStringList missing;
        for (qsizetype c = cells.size(); c < planformat::kCsvColumnCount; ++c)
            missing << column(int(c));
        errors->append(PlanError{line, QString(), Reason::ShortRow, missing.join(QStringLiteral(", ")), 0, {}, {}});
        return row;
    }

    if (cells.at(ChannelTable::ColRx).isEmpty()) {
        // An empty channel: nothing else may be given for it.
        for (int c = ChannelTable::ColTx; c <= ChannelTable::ColBusy; ++c) {
            if (!cells.at(c).isEmpty())
                fail(c, Reason::TxWithoutRx, cells.at(c));
        }
        return row;
    }

    const auto frequency = [&](int c) {
        Reason reason = Reason::NotANumber;
        const std::optional<std::int64_t> units = plancells::readMegahertz(cells.at(c), &reason);
        if (!units) {
            fail(c, reason, cells.at(c));
            return QString();
        }
        if (const auto bad = plancells::checkFrequency(*units, limits)) {
            fail(c, *bad, codec::formatFrequency(*units));
            return QString();
        }
        return codec::formatFrequency(*units);
    };
    row.rx = frequency(ChannelTable::ColRx);
    // As in the grid, an empty transmit frequency follows the receive one.
    row.tx = cells.at(ChannelTable::ColTx).isEmpty() ? row.rx : frequency(ChannelTable::ColTx);

    const auto tone = [&](int c) {
        if (cells.at(c).isEmpty())
            return words.shown().none;
        const QString text = plancells::toneText(cells.at(c), words);
        if (text.isEmpty())
            fail(c, Reason::BadTone, cells.at(c));
        return text;
    };
    row.decode = tone(ChannelTable::ColDecode);
    row.encode = tone(ChannelTable::ColEncode);

    if (!cells.at(ChannelTable::ColBusy).isEmpty()) {
        row.busy = plancells::busyText(cells.at(ChannelTable::ColBusy), words);
        if (row.busy.isEmpty())
            fail(ChannelTable::ColBusy, Reason::BadBusyLock, cells.at(ChannelTable::ColBusy));
    }
    return row;
}

// Duplicate channels, then the verdict: rows only when nothing was wrong.
ParseResult finish(Format format, QList<PlanRow> rows, QList<PlanError> errors, const QString& channelColumn)
{
    QHash<int, int> firstLine;
    for (const PlanRow& row : rows) {
        if (row.channel == 0)
            continue;
        const auto it = firstLine.constFind(row.channel);
        if (it == firstLine.constEnd())
            firstLine.insert(row.channel, row.line);
        else
            errors.append(PlanError{row.line, channelColumn, Reason::DuplicateChannel,
                                    QString::number(row.channel), it.value(), {}, {}});
    }
    std::stable_sort(errors.begin(), errors.end(),
                     [](const PlanError& a, const PlanError& b) { return a.line < b.line; });
    ParseResult result;
    result.format = format;
    if (errors.isEmpty())
        result.rows = rows;
    result.errors = errors;
    return result;
}

ParseResult failure(Reason reason, int line = 0, const QString& value = QString())
{
    ParseResult result;
    result.errors.append(PlanError{line, QString(), reason, value, 0, {}, {}});
    return result;
}

// Cuts text into records; the first non-blank one is the header.
bool records(const QString& text, QChar separator, QList<csvtext::Record>* out, ParseResult* error)
{
    int badLine = 0;
    if (!csvtext::split(text, separator, out, &badLine)) {
        *error = failure(Reason::Unparsable, badLine);
        return false;
    }
    out->erase(std::remove_if(out->begin(), out->end(), isBlank), out->end());
    if (out->isEmpty()) {
        *error = failure(Reason::Empty);
        return false;
    }
    return true;
}

void applyRow(const PlanRow& row, Channel& channel, const CellValidator& validator)
{
    // The receive frequency first: into a channel not in use it brings the
    // new channel's transmit frequency, tones and busy lock.
    validator.store(channel, ChannelTable::ColRx, row.rx);
    if (row.rx.isEmpty())
        return;
    validator.store(channel, ChannelTable::ColTx, row.tx);
    validator.store(channel, ChannelTable::ColDecode, row.decode);
    validator.store(channel, ChannelTable::ColEncode, row.encode);
    if (!row.busy.isEmpty())
        validator.store(channel, ChannelTable::ColBusy, row.busy);
}

}  // namespace

ParseResult parseFile(const QByteArray& given, const modelband::BandLimits& limits, const CellWords& words)
{
    // Ctrl-Z at the very end is the end-of-file mark of old DOS editors,
    // not part of the text.
    QByteArray bytes = given;
    while (bytes.endsWith('\x1A'))
        bytes.chop(1);
    if (bytes.contains('\0'))
        return failure(Reason::NotText);
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return failure(Reason::NotText);
    for (const QChar c : text) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            return failure(Reason::NotText);
    }

    QList<csvtext::Record> lines;
    ParseResult error;
    if (!records(text, QLatin1Char(planformat::kCsvSeparator), &lines, &error))
        return error;
    // Comment lines, before the header and between rows, as CHIRP skips them.
    lines.erase(std::remove_if(lines.begin(), lines.end(), isComment), lines.end());
    if (lines.isEmpty())
        return failure(Reason::Empty);
    const csvtext::Record header = lines.takeFirst();

    QList<PlanRow> rows;
    QList<PlanError> errors;
    QString missing;
    switch (tableHeader(header.cells, words, &missing)) {
    case TableHeader::Yes:
        for (const csvtext::Record& record : lines)
            rows.append(readTableRow(record.cells, record.line, limits, words, &errors));
        if (rows.isEmpty())
            return failure(Reason::NoRows);
        return finish(Format::Csv, rows, errors, words.shown().header(ChannelTable::ColLabel));
    case TableHeader::Incomplete:
        return failure(Reason::MissingColumns, header.line, missing);
    case TableHeader::No:
        break;
    }

    chirpplan::Header columns;
    switch (chirpplan::readHeader(header.cells, &columns, &missing)) {
    case chirpplan::HeaderKind::Chirp: {
        QList<PlanError> warnings;
        for (const csvtext::Record& record : lines) {
            PlanRow row;
            if (chirpplan::readRow(record.cells, record.line, columns, limits, words.shown(), &row, &errors, &warnings))
                rows.append(row);
        }
        ParseResult result;
        if (rows.isEmpty() && errors.isEmpty())
            result = failure(Reason::NoRows);
        else
            result = finish(Format::Chirp, rows, errors, columns.name(planformat::ChirpLocation));
        result.warnings = warnings;
        return result;
    }
    case chirpplan::HeaderKind::Incomplete:
        return failure(Reason::MissingColumns, header.line, missing);
    case chirpplan::HeaderKind::NotChirp:
        break;
    }
    return failure(Reason::UnknownHeader, header.line, plancells::shownValue(header.cells.join(QLatin1Char(','))));
}

ParseResult parseTabSeparated(const QString& text, const modelband::BandLimits& limits, const CellWords& words)
{
    QList<csvtext::Record> lines;
    ParseResult error;
    if (!records(text, QLatin1Char(planformat::kTabSeparator), &lines, &error))
        return error;
    if (isTableHeader(lines.first().cells, words))
        lines.removeFirst();
    if (lines.isEmpty())
        return failure(Reason::NoRows);
    QList<PlanRow> rows;
    QList<PlanError> errors;
    for (const csvtext::Record& record : lines)
        rows.append(readTableRow(record.cells, record.line, limits, words, &errors));
    return finish(Format::TabSeparated, rows, errors, words.shown().header(ChannelTable::ColLabel));
}

bool placeFrom(QList<PlanRow>& rows, int firstChannel)
{
    if (firstChannel < 1 || firstChannel + rows.size() - 1 > layout::kChannelCount)
        return false;
    for (int i = 0; i < rows.size(); ++i)
        rows[i].channel = firstChannel + i;
    return true;
}

void applyToImage(const QList<PlanRow>& rows, MemoryImage& image, const modelband::BandLimits& limits,
                  const CellWords& words)
{
    const CellValidator validator(limits.low, limits.high, words);
    for (const PlanRow& row : rows) {
        if (row.channel < 1 || row.channel > layout::kChannelCount)
            continue;
        Channel channel = Channel::fromRecord(image.channel(row.channel));
        applyRow(row, channel, validator);
        channel.writeRecord(image.channel(row.channel));
    }
}

QByteArray writeCsv(const MemoryImage& image)
{
    ChannelTable table;
    table.decode(image);
    const QChar separator = QLatin1Char(planformat::kCsvSeparator);
    QString text;
    for (int row = 0; row < ChannelTable::kRows; ++row) {
        QStringList cells;
        // The CH column: the header as it stands, the channel as a plain number.
        cells << (row == 0 ? table.cell(0, ChannelTable::ColLabel) : QString::number(row));
        for (int col = ChannelTable::ColRx; col < ChannelTable::kCols; ++col)
            cells << csvtext::quoted(table.cell(row, col), separator);
        text += cells.join(separator) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

QByteArray writeChirpCsv(const MemoryImage& image, QList<LeftOut>* leftOut)
{
    ChannelTable table;
    table.decode(image);
    const QChar separator = QLatin1Char(planformat::kCsvSeparator);
    const auto written = [separator](const QStringList& all) {
        QStringList cells;
        for (int c = 0; c < planformat::ChirpColumnCount; ++c) {
            if (planformat::chirpColumnWritten(planformat::ChirpColumn(c)))
                cells << csvtext::quoted(all.at(c), separator);
        }
        return cells.join(separator) + QLatin1Char('\n');
    };
    QStringList header;
    for (const QLatin1StringView name : planformat::kChirpColumnNames)
        header << QString(name);
    QString text = written(header);
    if (leftOut)
        leftOut->clear();
    for (int row = 1; row <= layout::kChannelCount; ++row) {
        if (table.cell(row, ChannelTable::ColRx).isEmpty() && table.cell(row, ChannelTable::ColTx).isEmpty())
            continue;
        const QList<LeftOut> gaps = chirpplan::unwritable(table, row);
        if (!gaps.isEmpty()) {
            if (leftOut)
                leftOut->append(gaps);
            continue;
        }
        text += written(chirpplan::writeRow(table, row));
    }
    return text.toUtf8();
}

QString writeTabSeparated(const ChannelTable& table, const QList<int>& channels)
{
    QString text;
    for (const int row : channels) {
        if (row < 1 || row >= ChannelTable::kRows)
            continue;
        QStringList cells{QString::number(row)};
        for (int col = ChannelTable::ColRx; col < ChannelTable::kCols; ++col)
            cells << table.cell(row, col);
        text += cells.join(QLatin1Char(planformat::kTabSeparator)) + QLatin1Char('\n');
    }
    return text;
}

}  // namespace channelplan
