#include "codeplug/CsvText.h"

namespace csvtext {

bool split(const QString& text, QChar separator, QList<Record>* records, int* badLine)
{
    records->clear();
    Record record;
    QString cell;
    int line = 1;
    record.line = 1;
    bool inQuotes = false;
    bool atRecordStart = true;
    int quoteLine = 0;

    const auto endRecord = [&]() {
        record.cells.append(cell);
        records->append(record);
        record = Record();
        cell.clear();
        atRecordStart = true;
    };

    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    cell += c;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == QLatin1Char('\n'))
                    ++line;
                cell += c;
            }
            continue;
        }
        if (atRecordStart) {
            record.line = line;
            atRecordStart = false;
        }
        if (c == QLatin1Char('"') && cell.trimmed().isEmpty()) {
            cell.clear();
            inQuotes = true;
            quoteLine = line;
        } else if (c == separator) {
            record.cells.append(cell);
            cell.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            // CRLF: the LF ends the record.
        } else if (c == QLatin1Char('\n')) {
            endRecord();
            ++line;
        } else {
            cell += c;
        }
    }
    if (inQuotes) {
        if (badLine)
            *badLine = quoteLine;
        records->clear();
        return false;
    }
    if (!atRecordStart)
        endRecord();
    return true;
}

QString quoted(const QString& cell, QChar separator)
{
    if (!cell.contains(separator) && !cell.contains(QLatin1Char('"')) && !cell.contains(QLatin1Char('\n')) &&
        !cell.contains(QLatin1Char('\r')))
        return cell;
    QString text = cell;
    text.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

}  // namespace csvtext
