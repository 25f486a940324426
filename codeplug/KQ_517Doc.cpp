#include "codeplug/KQ_517Doc.h"

#include <QFileInfo>

bool g_bNewDocument = false;

namespace {

CKQ_517Doc::DefaultsSource& defaultsSource()
{
    static CKQ_517Doc::DefaultsSource source;
    return source;
}

// The title of a document that has a file: the file's name, as the window
// caption of a multiple-document program shows it.
QString titleForPath(const QString& path) { return QFileInfo(path).fileName(); }

}  // namespace

CKQ_517Doc::CKQ_517Doc(QObject* parent) : QObject(parent) {}

void CKQ_517Doc::setNewDocumentDefaults(DefaultsSource source) { defaultsSource() = std::move(source); }

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
    const NewDocumentDefaults defaults = defaultsSource() ? defaultsSource()() : NewDocumentDefaults();
    SetTitle(defaults.title);
    // The path is set directly, not as a file the document came from: Save
    // proposes this name and nothing enters a recent-file list.
    m_strPathName = defaults.pathName;
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
