#include "codeplug/MemoryImage.h"

#include "codeplug/AtomicFile.h"

#include <QFile>

#include <algorithm>

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

bool MemoryImage::loadFile(const QString& path, ImageFileProblem* problem)
{
    const auto fail = [&](ImageFileProblem::Kind kind, const QString& reason, qint64 size) {
        if (problem)
            *problem = ImageFileProblem{kind, path, reason, size};
        return false;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(ImageFileProblem::Kind::CannotOpen, file.errorString(), 0);

    // Read at most one image: bytes after the first 1024 are ignored, so a
    // large file is never read whole. QFile::read may return less than asked
    // for devices that deliver in pieces, hence the loop.
    QByteArray bytes(layout::kImageSize, '\0');
    qint64 got = 0;
    while (got < layout::kImageSize) {
        const qint64 n = file.read(bytes.data() + got, layout::kImageSize - got);
        if (n < 0)
            return fail(ImageFileProblem::Kind::CannotRead, file.errorString(), 0);
        if (n == 0)
            break;
        got += n;
    }
    if (got < layout::kImageSize)
        return fail(ImageFileProblem::Kind::TooShort, QString(), got);
    return fromByteArray(bytes);
}

bool MemoryImage::saveFile(const QString& path, ImageFileProblem* problem) const
{
    QString reason;
    if (writeFileAtomically(path, toByteArray(), &reason))
        return true;
    if (problem)
        *problem = ImageFileProblem{ImageFileProblem::Kind::CannotSave, path, reason, 0};
    return false;
}
