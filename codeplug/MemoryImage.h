#pragma once
// The radio's 1024-byte configuration memory, and its .dat file (the 1024
// bytes in offset order, nothing before or after them).

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>

#include "codeplug/ImageLayout.h"

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
    // file). A shorter or unreadable file is refused with a message in *error and
    // the image is left unchanged.
    bool loadFile(const QString& path, QString* error = nullptr);
    // Writes the 1024 bytes atomically: on failure the old file stays whole and
    // *error says why.
    bool saveFile(const QString& path, QString* error = nullptr) const;

    bool operator==(const MemoryImage& other) const = default;

private:
    std::array<std::uint8_t, layout::kImageSize> m_bytes;
};
