#include "shell/KQ_517Doc.h"

#include <QFileInfo>
#include <QMdiSubWindow>

#include "settings/Globals.h"
#include "settings/IniFile.h"
#include "shell/MainFrame.h"

namespace {

// The title of a document that has a file: the file's name, as the window
// caption of a multiple-document program shows it.
QString titleForPath(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

CKQ_517Doc::CKQ_517Doc(QObject* parent) : QObject(parent) {}

void CKQ_517Doc::SetTitle(const QString& title)
{
    if (m_strTitle == title)
        return;
    m_strTitle = title;
    emit titleChanged(title);
}

void CKQ_517Doc::SetModifiedFlag(bool modified)
{
    if (m_bModified == modified)
        return;
    m_bModified = modified;
    emit modifiedChanged(modified);
}

bool CKQ_517Doc::OnNewDocument()
{
    m_image.resetToNew();
    SetTitle(g_bChinese ? QStringLiteral("信道信息") : QStringLiteral("Channel Information"));
    // The path is set directly, not as a file the document came from: Save
    // proposes this name and nothing enters a recent-file list.
    m_strPathName = decodeSettingsText(g_settings.GetString("Setup", "AppName", ""));
    m_bHasFile = false;
    g_bNewDocument = true;
    return true;
}

bool CKQ_517Doc::OnOpenDocument(const QString& path, QString* error)
{
    if (!m_image.loadFile(path, error))
        return false;
    m_strPathName = path;
    m_bHasFile = true;
    SetTitle(titleForPath(path));
    // The channel window that was active hides; the opened document gets a
    // window of its own. With no document window yet (a file named on the
    // command line) there is nothing to hide, and the main window is left alone.
    if (CMainFrame* frame = CMainFrame::instance()) {
        if (QMdiSubWindow* active = frame->activeChildFrame())
            active->close();
    }
    g_bNewDocument = false;
    return true;
}

bool CKQ_517Doc::OnSaveDocument(const QString& path, QString* error)
{
    if (!m_image.saveFile(path, error))
        return false;
    m_strPathName = path;
    m_bHasFile = true;
    SetTitle(titleForPath(path));  // Save As renames the window
    return true;
}
