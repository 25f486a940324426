#pragma once
// Comma- or tab-separated text cut into records of cells: quoted cells with
// doubled quotes and line breaks inside, LF, CRLF or CR line ends, and the line
// each record starts on (for messages that name it).

#include <QList>
#include <QString>
#include <QStringList>

namespace csvtext {

struct Record {
    int line = 0;  // 1-based line the record starts on
    QStringList cells;
};

// False when a quoted cell is never closed; *badLine then names its line.
bool split(const QString& text, QChar separator, QList<Record>* records, int* badLine);

// A cell quoted (with doubled quotes) only when it holds the separator, a
// quote or a line break.
QString quoted(const QString& cell, QChar separator);

}  // namespace csvtext
