// The banner picture at the top of the main window.
#ifndef BANNER_H
#define BANNER_H

#include <QPixmap>

#include <QColor>

// The banner on a background of the given colour (the top panel's).
QPixmap MakeBanner(int width, int height, const QColor& background = Qt::white);

#endif
