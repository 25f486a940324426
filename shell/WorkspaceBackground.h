#pragma once
// CWorkspaceBackground: the main window's workspace (MDI area) painted with a
// tiled picture: g_strProgramDir + "background.bmp", else bitmap 137 of the
// language module, else the plain background. The picture is read anew at
// every paint, so a changed file shows at once.

#include <QList>
#include <QMdiArea>
#include <QPixmap>
#include <QPoint>
#include <QRect>

class CWorkspaceBackground : public QMdiArea {
    Q_OBJECT
public:
    explicit CWorkspaceBackground(QWidget* parent = nullptr);

    // The picture of the next paint (null when neither source loads).
    static QPixmap loadPicture();
    // Top-left corners of the tiles that cover area with tiles of size tile:
    // columns 0..width/tile.width and rows 0..height/tile.height, both inclusive.
    static QList<QPoint> tileOrigins(const QRect& area, const QSize& tile);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
};
