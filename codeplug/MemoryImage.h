#pragma once
// The radio's 1024-byte configuration memory, and its .dat file (the 1024
// bytes in offset order, nothing before or after them).

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

#include "codeplug/ImageLayout.h"

// Why a .dat file could not be read or saved: what happened, the file as
// given, the system's reason, and for a short file its length. The text
// layer words it.
struct ImageFileProblem {
    enum class Kind { None, CannotOpen, CannotRead, TooShort, CannotSave };
    Kind kind = Kind::None;
    QString path;
    QString reason;   // the system's own words (not for TooShort)
    qint64 size = 0;  // TooShort: the bytes the file holds

    bool operator==(const ImageFileProblem& other) const = default;
};

class MemoryImage {
public:
    // All 0xFF: no defaults. Use resetToNew() for a new document's image.
    MemoryImage();

    // Fill with 0xFF and set the new-document defaults of layout::kNewImageDefaults.
    void resetToNew();
    static MemoryImage newImage();

    std::uint8_t at(int offset) const { return m_bytes.at(offset); }
    void set(int offset, std::uint8_t value) { m_bytes.at(offset) = value; }
    std::uint8_t* data() { return m_bytes.data(); }
    const std::uint8_t* data() const { return m_bytes.data(); }
    std::uint8_t* channel(int n) { return m_bytes.data() + layout::channelOffset(n); }
    const std::uint8_t* channel(int n) const { return m_bytes.data() + layout::channelOffset(n); }

    QByteArray toByteArray() const;
    // Takes exactly the first 1024 bytes; false (and no change) when fewer are given.
    bool fromByteArray(const QByteArray& bytes);

    // Reads exactly the first 1024 bytes of the file (never the whole of a large
    // file). A shorter or unreadable file is refused, with why in *problem, and
    // the image is left unchanged.
    bool loadFile(const QString& path, ImageFileProblem* problem = nullptr);
    // Writes the 1024 bytes atomically: on failure the old file stays whole and
    // *problem says why.
    bool saveFile(const QString& path, ImageFileProblem* problem = nullptr) const;

    bool operator==(const MemoryImage& other) const = default;

private:
    std::array<std::uint8_t, layout::kImageSize> m_bytes;
};
