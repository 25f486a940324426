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

Channel CKQ_517Doc::channel(int n) const
{
    if (n < 1 || n > layout::kChannelCount)
        return Channel();
    return Channel::fromRecord(m_image.channel(n));
}

void CKQ_517Doc::setChannel(int n, const Channel& channel)
{
    if (n < 1 || n > layout::kChannelCount || Channel::fromRecord(m_image.channel(n)) == channel)
        return;
    channel.writeRecord(m_image.channel(n));
    emit channelsChanged(n, n);
}

void CKQ_517Doc::setImage(const MemoryImage& image)
{
    if (m_image == image)
        return;
    const bool productChanged = m_image.at(layout::kModelIndex) != image.at(layout::kModelIndex) ||
                                m_image.at(layout::kBandIndex) != image.at(layout::kBandIndex);
    m_image = image;
    emit channelsChanged(1, layout::kChannelCount);
    if (productChanged)
        emit modelBandChanged();
}

bool CKQ_517Doc::OnNewDocument()
{
    m_image.resetToNew();
    emit channelsChanged(1, layout::kChannelCount);
    const NewDocumentDefaults defaults = defaultsSource() ? defaultsSource()() : NewDocumentDefaults();
    SetTitle(defaults.title);
    // The path is set directly, not as a file the document came from: Save
    // proposes this name and nothing enters a recent-file list.
    m_strPathName = defaults.pathName;
    m_bHasFile = false;
    g_bNewDocument = true;
    return true;
}

bool CKQ_517Doc::OnOpenDocument(const QString& path, ImageFileProblem* problem)
{
    if (!m_image.loadFile(path, problem))
        return false;
    emit channelsChanged(1, layout::kChannelCount);
    m_strPathName = path;
    m_bHasFile = true;
    SetTitle(titleForPath(path));
    g_bNewDocument = false;
    return true;
}

bool CKQ_517Doc::OnSaveDocument(const QString& path, ImageFileProblem* problem)
{
    if (!m_image.saveFile(path, problem))
        return false;
    m_strPathName = path;
    m_bHasFile = true;
    SetTitle(titleForPath(path));  // Save As renames the window
    return true;
}
