// Writes the program's icon at the sizes of the desktop's icon theme:
//   kq517_icon_sizes SOURCE.png OUTDIR NAME SIZE...
// makes OUTDIR/<SIZE>x<SIZE>/apps/NAME.png for every SIZE. The icon is pixel
// art: it is enlarged by whole pixels first (sharp edges), then smoothed to
// the exact size.

#include <QDir>
#include <QImage>
#include <QString>

#include <cstdio>

namespace {

QImage atSize(const QImage& source, int size)
{
    const int side = qMax(source.width(), source.height());
    QImage image = source;
    if (size > side) {
        const int factor = (size + side - 1) / side;
        image = source.scaled(source.width() * factor, source.height() * factor, Qt::KeepAspectRatio,
                              Qt::FastTransformation);
    }
    if (image.width() != size || image.height() != size)
        image = image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fputs("usage: kq517_icon_sizes SOURCE.png OUTDIR NAME SIZE...\n", stderr);
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull()) {
        std::fprintf(stderr, "kq517_icon_sizes: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "kq517_icon_sizes: not a size: %s\n", argv[i]);
            return 2;
        }
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
        const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(dir) || !atSize(source, size).save(path, "PNG")) {
            std::fprintf(stderr, "kq517_icon_sizes: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
