#pragma once
// Process-wide values set at start-up and read everywhere.

#include <QString>

class CIniFile;

extern CIniFile g_settings;        // bound to "KQ-517.ini" in the program directory
extern QString g_strLanguage;      // interface language, also its settings section
extern bool g_bChinese;            // g_strLanguage is exactly "Chinese"
extern QString g_strHelpFile;      // "chHelp.chm" or "enHelp.chm"
extern QString g_strProgramDir;    // program directory, ending in a separator
extern bool g_bNewDocument;        // defined with the document (codeplug/KQ_517Doc.cpp)
extern QString g_strMainTitle;     // the main window's title
