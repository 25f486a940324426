#include "shell/ThemeIcon.h"

#include <QApplication>
#include <QFileInfo>

namespace ThemeIcon {

namespace {

// Qt's own arrow pictures, in the sizes the common style gives its arrows.
const char kArrowFolder[] = ":/qt-project.org/styles/commonstyle/images/";
constexpr int kArrowSizes[] = {16, 32, 128};

// Fusion and Windows draw their arrows with the common style's pictures;
// another style may draw its own, so it is asked.
bool styleUsesCommonArrows()
{
    const QString style = QApplication::style()->name();
    return style.compare(QStringLiteral("fusion"), Qt::CaseInsensitive) == 0
           || style.compare(QStringLiteral("windows"), Qt::CaseInsensitive) == 0;
}

}  // namespace

bool desktopHasNoTheme()
{
    const QString theme = QIcon::themeName();
    return theme.isEmpty() || theme == QStringLiteral("hicolor");
}

QIcon builtInArrow(QStyle::StandardPixmap fallback)
{
    if (fallback != QStyle::SP_ArrowBack && fallback != QStyle::SP_ArrowForward)
        return QIcon();
    // Back points left, forward right; the other way round right to left.
    const bool left = (fallback == QStyle::SP_ArrowBack) == (QApplication::layoutDirection() != Qt::RightToLeft);
    QIcon icon;
    for (int size : kArrowSizes) {
        const QString file = QStringLiteral("%1%2-%3.png")
                                 .arg(QLatin1String(kArrowFolder), left ? QStringLiteral("left") : QStringLiteral("right"))
                                 .arg(size);
        if (!QFileInfo::exists(file))
            return QIcon();  // another Qt: let the style draw it
        icon.addFile(file, QSize(size, size));
    }
    return icon;
}

QIcon icon(const QString& name, QStyle::StandardPixmap fallback)
{
    if (desktopHasNoTheme() && styleUsesCommonArrows()) {
        const QIcon arrow = builtInArrow(fallback);
        if (!arrow.isNull())
            return arrow;
    }
    return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

}  // namespace ThemeIcon
