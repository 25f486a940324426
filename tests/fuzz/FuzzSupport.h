#pragma once
// What every fuzz target shares: reading the fuzzer's bytes as typed values,
// a check that stops the run with a message (libFuzzer then saves the input),
// and the images and band limits the targets start from.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include <QFile>

#include "codeplug/CellWords.h"
#include "codeplug/MemoryImage.h"
#include "codeplug/ModelBand.h"
#include "texts/CellTexts.h"

namespace fuzz {

// The fuzzer's bytes, taken from the front; past the end every value is 0
// and every text empty.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool atEnd() const { return m_pos >= m_size; }
    std::uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    // 0 to count - 1.
    int pick(int count) { return count > 0 ? byte() % count : 0; }
    QByteArray bytes(std::size_t count)
    {
        const std::size_t n = count < m_size - m_pos ? count : m_size - m_pos;
        const QByteArray out(reinterpret_cast<const char*>(m_data + m_pos), qsizetype(n));
        m_pos += n;
        return out;
    }
    // A short text: a length byte, then that many bytes as UTF-8.
    QString shortText() { return QString::fromUtf8(bytes(byte() % 24)); }
    QByteArray rest() { return bytes(m_size - m_pos); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// A broken property: say which and stop, so libFuzzer keeps the input.
// FUZZ_CHECK(ok, what[, detail]) builds the detail text only when ok is false.
[[noreturn]] inline void fail(const char* what, const QString& detail = QString())
{
    std::fprintf(stderr, "PROPERTY BROKEN: %s\n%s\n", what, qPrintable(detail));
    std::abort();
}

// One of a few bands: the example band, a UHF band and a wide one.
inline modelband::BandLimits band(int choice)
{
    static const char* const kBands[] = {"130 - 160MHz", "400 - 470MHz", "136 - 174MHz", "10 - 999MHz"};
    return modelband::bandLimits(QString::fromLatin1(kBands[choice % 4]));
}

// The image of a new document with the fuzzer's records laid over channels
// 1 to n (16 bytes each, as many as the input holds).
inline MemoryImage imageWithRecords(Input& in, int n)
{
    MemoryImage image = MemoryImage::newImage();
    for (int c = 1; c <= n; ++c) {
        for (int i = 0; i < layout::kRowSize; ++i)
            image.channel(c)[i] = in.byte();
    }
    return image;
}

// Offsets where a and b differ, for messages.
inline QString differingOffsets(const MemoryImage& a, const MemoryImage& b)
{
    QString out;
    for (int i = 0; i < layout::kImageSize; ++i) {
        if (a.at(i) != b.at(i))
            out += QStringLiteral("0x%1: %2 | %3\n")
                       .arg(i, 3, 16, QLatin1Char('0'))
                       .arg(a.at(i), 2, 16, QLatin1Char('0'))
                       .arg(b.at(i), 2, 16, QLatin1Char('0'));
    }
    return out;
}

// Cell words shown in the English or the Chinese module's words, read in
// both, as the program reads cells.
inline CellWords cellWords(bool chinese)
{
    static const auto words = [](const char* language) {
        QFile file(QStringLiteral(KQ517_SOURCE_DIR "/resources/%1/strings.json").arg(QLatin1String(language)));
        return texts::wordSet(file.open(QIODevice::ReadOnly) ? texts::TextTable::fromJson(file.readAll())
                                                             : texts::TextTable());
    };
    static const WordSet english = words("English");
    static const WordSet zh = words("Chinese");
    return CellWords(chinese ? zh : english, {english, zh});
}

}  // namespace fuzz

#define FUZZ_CHECK(ok, what, ...)                       \
    do {                                                \
        if (!(ok))                                      \
            ::fuzz::fail(what, QString(__VA_ARGS__));   \
    } while (0)
