#include "settings/Globals.h"

#include "settings/IniFile.h"

CIniFile g_settings(4);
QString g_strLanguage;
bool g_bChinese = false;
QString g_strHelpFile = QStringLiteral("enHelp.chm");
QString g_strProgramDir;
QString g_strMainTitle;
