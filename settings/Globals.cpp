#include "settings/Globals.h"

#include "codeplug/KQ_517Doc.h"
#include "settings/IniFile.h"

CIniFile g_settings(4);
QString g_strLanguage;
bool g_bChinese = false;
QString g_strHelpFile = QStringLiteral("enHelp.chm");
QString g_strProgramDir;
QString g_strMainTitle;

namespace {

// A new document is named in the interface's language and proposes the
// settings file's AppName as its file name. Registered as this file is
// linked, so every program and test that has the settings store has it.
const bool g_newDocumentDefaultsSet = [] {
    CKQ_517Doc::setNewDocumentDefaults([] {
        return CKQ_517Doc::NewDocumentDefaults{
            g_bChinese ? QStringLiteral("信道信息") : QStringLiteral("Channel Information"),
            decodeSettingsText(g_settings.GetString("Setup", "AppName", ""))};
    });
    return true;
}();

}  // namespace
