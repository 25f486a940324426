// The comparison of two images: empty exactly when the images are equal
// byte for byte, the same lines with the sides swapped when the images are,
// and every line names a difference (its two sides differ).
//
// Input: the first image (1024 bytes), then changes to make the second:
// offset (two bytes) and new value, as many as the input holds.

#include "codeplug/ImageDiff.h"
#include "texts/DiffLines.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    MemoryImage a;
    const QByteArray first = in.bytes(layout::kImageSize);
    for (qsizetype i = 0; i < first.size(); ++i)
        a.set(int(i), std::uint8_t(first.at(i)));
    MemoryImage b = a;
    while (!in.atEnd()) {
        const int offset = (in.byte() << 8 | in.byte()) % layout::kImageSize;
        b.set(offset, in.byte());
    }

    const QList<imagediff::DiffLine> ab = imagediff::diff(a, b);
    const QList<imagediff::DiffLine> ba = imagediff::diff(b, a);
    FUZZ_CHECK(ab.isEmpty() == (a == b), "no lines exactly when the images are equal",
                fuzz::differingOffsets(a, b));
    FUZZ_CHECK(imagediff::diff(a, a).isEmpty(), "an image does not differ from itself");
    FUZZ_CHECK(ab.size() == ba.size(), "swapping the images swaps the sides", fuzz::differingOffsets(a, b));
    const QStringList abTexts = texts::diffLines(ab, a, b);
    const QStringList baTexts = texts::diffLines(ba, b, a);
    FUZZ_CHECK(abTexts.size() == ab.size(), "one text a line");
    for (qsizetype i = 0; i < ab.size(); ++i) {
        const imagediff::DiffLine& line = ab.at(i);
        FUZZ_CHECK(line.a != line.b, "a line names a difference", abTexts.at(i) + '\n' + fuzz::differingOffsets(a, b));
        const imagediff::DiffLine& other = ba.at(i);
        FUZZ_CHECK(other.channel == line.channel && other.field == line.field && other.a == line.b
                        && other.b == line.a,
                    "swapping the images swaps the sides", abTexts.at(i) + " / " + baTexts.at(i));
    }
    return 0;
}
