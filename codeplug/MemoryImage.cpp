#include "codeplug/MemoryImage.h"

#include "codeplug/AtomicFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

QString shownPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

}  // namespace

MemoryImage::MemoryImage()
{
    m_bytes.fill(0xFF);
}

void MemoryImage::resetToNew()
{
    m_bytes.fill(0xFF);
    for (const layout::DefaultByte& d : layout::kNewImageDefaults)
        m_bytes.at(d.offset) = d.value;
}

MemoryImage MemoryImage::newImage()
{
    MemoryImage image;
    image.resetToNew();
    return image;
}

QByteArray MemoryImage::toByteArray() const
{
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), layout::kImageSize);
}

bool MemoryImage::fromByteArray(const QByteArray& bytes)
{
    if (bytes.size() < layout::kImageSize)
        return false;
    std::copy_n(reinterpret_cast<const std::uint8_t*>(bytes.constData()), layout::kImageSize,
                m_bytes.begin());
    return true;
}

bool MemoryImage::loadFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open \"%1\": %2").arg(shownPath(path), file.errorString());
        return false;
    }

    // Read at most one image: bytes after the first 1024 are ignored, so a
    // large file is never read whole. QFile::read may return less than asked
    // for devices that deliver in pieces, hence the loop.
    QByteArray bytes(layout::kImageSize, '\0');
    qint64 got = 0;
    while (got < layout::kImageSize) {
        const qint64 n = file.read(bytes.data() + got, layout::kImageSize - got);
        if (n < 0) {
            if (error)
                *error = QStringLiteral("Cannot read \"%1\": %2").arg(shownPath(path), file.errorString());
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    if (got < layout::kImageSize) {
        if (error)
            // One arg() call: a "%2" in the file name stays as it is.
            *error = QStringLiteral("\"%1\" is %2 bytes long; a .dat file holds %3 bytes")
                         .arg(shownPath(path), QString::number(got),
                              QString::number(layout::kImageSize));
        return false;
    }
    return fromByteArray(bytes);
}

bool MemoryImage::saveFile(const QString& path, QString* error) const
{
    QString reason;
    if (writeFileAtomically(path, toByteArray(), &reason))
        return true;
    if (error)
        *error = QStringLiteral("Cannot save \"%1\": %2").arg(shownPath(path), reason);
    return false;
}
