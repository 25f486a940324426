#pragma once
// CKQ_517Doc: the document of a channel window. It owns one memory image and
// reads and writes it as a .dat file. It is never marked modified.

#include <QObject>
#include <QString>

#include "codeplug/MemoryImage.h"

class CKQ_517Doc : public QObject {
    Q_OBJECT
public:
    explicit CKQ_517Doc(QObject* parent = nullptr);

    MemoryImage& image() { return m_image; }
    const MemoryImage& image() const { return m_image; }

    // Defaults, title "Channel Information" / "信道信息", path [Setup] AppName,
    // g_bNewDocument set.
    bool OnNewDocument();
    // Loads the file (nothing changes on failure, *error says why), hides the
    // previously active channel window, clears g_bNewDocument.
    bool OnOpenDocument(const QString& path, QString* error);
    // Runs the table encoder on the active view, then writes the file atomically.
    bool OnSaveDocument(const QString& path, QString* error);

    QString GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& title);
    QString GetPathName() const { return m_strPathName; }
    void SetPathName(const QString& path) { m_strPathName = path; }
    // True once the document was opened from or saved to a file.
    bool hasFile() const { return m_bHasFile; }

    // The document string's parts: filter and default extension.
    static QString fileFilter() { return QStringLiteral("*.dat"); }
    static QString defaultExtension() { return QStringLiteral(".dat"); }

signals:
    void titleChanged(const QString& title);

private:
    MemoryImage m_image;
    QString m_strTitle;
    QString m_strPathName;
    bool m_bHasFile = false;
};
