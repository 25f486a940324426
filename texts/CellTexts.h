#pragma once
// The words of the channel table (no tone, busy lock on and off, the column
// headers) and the main title, from a language module's string table. Cells
// are shown in the active table's words and read in the words of every
// language module found: a cell copied from another language's grid, or a
// file exported in it, reads the same on the command line too.

#include <QList>
#include <QString>

#include "codeplug/CellWords.h"
#include "texts/TextTable.h"

namespace texts {

enum CellTextId : int {
    IDS_CELL_NONE = 61600,
    IDS_CELL_BUSY_ON = 61601,
    IDS_CELL_BUSY_OFF = 61602,
    IDS_CELL_HEADER_FIRST = 61603,  // the six column headers, 61603 to 61608
    IDS_MAIN_TITLE = 61609,         // "%1  [ Type:%2  Fre:%3 ]": AppName, model, band
};

// table's words; a word table lacks is the built-in English one.
WordSet wordSet(const TextTable& table);
// The active table's words.
WordSet shownWords();
// The word sets of the language modules (*517.rcc) in dir, read once a
// directory. A module that cannot be read gives none.
QList<WordSet> moduleWordSets(const QString& dir);
// Shown in the active table's words; read in English, the active table's and
// every module's of the program directory.
CellWords cellWords();

// AppName, then the model and band in the table's words.
QString mainTitle(const QString& appName, const QString& model, const QString& band,
                  const TextTable& table = active());

}  // namespace texts
