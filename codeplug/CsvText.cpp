#include "codeplug/CsvText.h"

namespace csvtext {

namespace {

// Cuts text in one pass: every character is looked at once, so a cell of
// any length costs only its own length (a file of a megabyte of quotes
// takes milliseconds, not minutes).
class Splitter {
public:
    Splitter(const QString& text, QChar separator) : m_text(text), m_separator(separator) {}

    bool run(QList<Record>* records, int* badLine);

private:
    // A line ends at LF, CRLF or a CR on its own (old Mac files).
    bool lineEndAt(qsizetype i, qsizetype* length) const
    {
        const QChar c = m_text.at(i);
        if (c == QLatin1Char('\n')) {
            *length = 1;
            return true;
        }
        if (c == QLatin1Char('\r')) {
            *length = i + 1 < m_text.size() && m_text.at(i + 1) == QLatin1Char('\n') ? 2 : 1;
            return true;
        }
        return false;
    }

    void append(QChar c)
    {
        m_cell += c;
        if (!c.isSpace())
            m_cellBlank = false;
    }

    void endCell()
    {
        m_record.cells.append(m_cell);
        m_cell.clear();
        m_cellBlank = true;
    }

    void endRecord(QList<Record>* records)
    {
        endCell();
        records->append(m_record);
        m_record = Record();
        m_atRecordStart = true;
    }

    const QString& m_text;
    const QChar m_separator;
    Record m_record;
    QString m_cell;
    bool m_cellBlank = true;  // the cell so far is empty or white space only
    bool m_atRecordStart = true;
};

bool Splitter::run(QList<Record>* records, int* badLine)
{
    records->clear();
    int line = 1;
    bool inQuotes = false;
    int quoteLine = 0;
    qsizetype lineEnd = 0;
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const QChar c = m_text.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < m_text.size() && m_text.at(i + 1) == QLatin1Char('"')) {
                    append(c);
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else if (lineEndAt(i, &lineEnd)) {
                // A line break inside quotes belongs to the cell as written.
                for (qsizetype k = 0; k < lineEnd; ++k)
                    append(m_text.at(i + k));
                i += lineEnd - 1;
                ++line;
            } else {
                append(c);
            }
            continue;
        }
        if (m_atRecordStart) {
            m_record.line = line;
            m_atRecordStart = false;
        }
        if (c == QLatin1Char('"') && m_cellBlank) {
            // A quote opens a quoted cell only where nothing but blanks
            // came before it; anywhere else it is an ordinary character.
            m_cell.clear();
            inQuotes = true;
            quoteLine = line;
        } else if (c == m_separator) {
            endCell();
        } else if (lineEndAt(i, &lineEnd)) {
            endRecord(records);
            i += lineEnd - 1;
            ++line;
        } else {
            append(c);
        }
    }
    if (inQuotes) {
        if (badLine)
            *badLine = quoteLine;
        records->clear();
        return false;
    }
    if (!m_atRecordStart)
        endRecord(records);
    return true;
}

}  // namespace

bool split(const QString& text, QChar separator, QList<Record>* records, int* badLine)
{
    return Splitter(text, separator).run(records, badLine);
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
