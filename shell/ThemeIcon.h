#pragma once
// The toolbar's pictures from the desktop's icon theme (the undo arrows):
// the theme's picture of a name, or the style's arrow where the theme has
// none. Where the desktop names no theme of its own, the style's arrow comes
// straight away: looking a name up first reads the base theme's whole index,
// a good part of the program's start-up, to find nothing.

#include <QIcon>
#include <QStyle>

namespace ThemeIcon {

// The theme's picture called name, else the style's picture fallback (an arrow).
QIcon icon(const QString& name, QStyle::StandardPixmap fallback);

// True when the desktop names no icon theme but Qt's fallback, "hicolor":
// the base theme, which holds applications' pictures and no arrows.
bool desktopHasNoTheme();

// The arrow the common style draws for fallback (SP_ArrowBack or
// SP_ArrowForward), built from Qt's own pictures without a theme lookup;
// null for any other picture or where Qt's pictures are missing.
QIcon builtInArrow(QStyle::StandardPixmap fallback);

}  // namespace ThemeIcon
