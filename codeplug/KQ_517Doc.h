#pragma once
// CKQ_517Doc: the document of a channel window. It owns one memory image and
// its 16 channels, reads and writes it as a .dat file, and knows whether it
// holds changes that no file has yet (the undo history decides that). Every
// edit goes into the document at once: save, write, print, export, compare
// and the clipboard read it, never a grid.

#include <QObject>
#include <QString>

#include "codeplug/Channel.h"
#include "codeplug/MemoryImage.h"

#include <functional>

// True after File New, false after Open and after a complete radio read;
// decides the direction of the model and band exchange with the per-user store.
extern bool g_bNewDocument;

class CKQ_517Doc : public QObject {
    Q_OBJECT
public:
    explicit CKQ_517Doc(QObject* parent = nullptr);

    // Direct access to the bytes (the option dialogs write settings-row bytes
    // through it); a change of channel records through it must be followed by
    // channelsChanged, which setChannel and setImage send themselves.
    MemoryImage& image() { return m_image; }
    const MemoryImage& image() const { return m_image; }

    // Channel n (1 to 16) as typed values over its record.
    Channel channel(int n) const;
    // Stores channel n's record; nothing happens when it is unchanged.
    void setChannel(int n, const Channel& channel);
    // Replaces the whole image (an undo step, a completed read).
    void setImage(const MemoryImage& image);

    // What a new document is called and the name Save proposes for it
    // (the channel table's title in the interface language and [Setup]
    // AppName in the program: the settings floor hands them over, see
    // settings/Globals.cpp).
    struct NewDocumentDefaults {
        QString title;
        QString pathName;
    };
    using DefaultsSource = std::function<NewDocumentDefaults()>;
    static void setNewDocumentDefaults(DefaultsSource source);

    // The image's defaults, the new-document title and path, g_bNewDocument set.
    bool OnNewDocument();
    // Loads the file (nothing changes on failure, *error says why), clears
    // g_bNewDocument. The window that showed another document is the frame's
    // to hide.
    bool OnOpenDocument(const QString& path, ImageFileProblem* problem);
    // Writes the image to the file atomically.
    bool OnSaveDocument(const QString& path, ImageFileProblem* problem);

    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);
    QString GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path) { m_strPathName = path; }
    // True once the document was opened from or saved to a file.
    bool hasFile() const { return m_bHasFile; }

    // Changes that were not saved: an edit, a completed read, an option or
    // product change since the document was made, opened or last saved.
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true);

    // The document string's parts: filter and default extension.
    static QString fileFilter() { return QStringLiteral("*.dat"); }
    static QString defaultExtension() { return QStringLiteral(".dat"); }

signals:
    // Channels first to last (1 to 16) hold other bytes now.
    void channelsChanged(int first, int last);
    // The model or band byte changed (setImage only; the product dialog
    // says so itself).
    void modelBandChanged();
    void titleChanged(const QString& title);
    void modifiedChanged(bool modified);

private:
    MemoryImage m_image;
    QString m_strTitle;
    QString m_strPathName;
    bool m_bHasFile = false;
    bool m_bModified = false;
};
