#include "shell/WorkspaceBackground.h"

#include <QPaintEvent>
#include <QPainter>

#include "settings/Globals.h"
#include "settings/ui/LanguageModule.h"

CWorkspaceBackground::CWorkspaceBackground(QWidget* parent) : QMdiArea(parent) {}

QPixmap CWorkspaceBackground::loadPicture()
{
    QPixmap picture;
    if (!g_strProgramDir.isEmpty())
        picture.load(g_strProgramDir + QStringLiteral("background.bmp"));
    if (picture.isNull())
        picture = LanguageModule::bitmap(137);
    return picture;
}

QList<QPoint> CWorkspaceBackground::tileOrigins(const QRect& area, const QSize& tile)
{
    QList<QPoint> origins;
    if (tile.width() <= 0 || tile.height() <= 0)
        return origins;  // no picture: nothing to tile
    const int cols = area.width() / tile.width();
    const int rows = area.height() / tile.height();
    for (int i = 0; i <= cols; ++i)
        for (int j = 0; j <= rows; ++j)
            origins.append(QPoint(area.left() + i * tile.width(), area.top() + j * tile.height()));
    return origins;
}

void CWorkspaceBackground::paintEvent(QPaintEvent* event)
{
    const QPixmap picture = loadPicture();
    if (picture.isNull()) {
        QMdiArea::paintEvent(event);  // the plain background
        return;
    }
    QPainter painter(viewport());
    painter.setClipRect(event->rect());
    for (const QPoint& origin : tileOrigins(viewport()->rect(), picture.size()))
        painter.drawPixmap(origin, picture);
}

void CWorkspaceBackground::resizeEvent(QResizeEvent* event)
{
    QMdiArea::resizeEvent(event);
    // Tiles start at the top-left corner of the current size: repaint all of it.
    viewport()->update();
}
