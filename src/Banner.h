// The banner picture at the top of the main window.
#ifndef BANNER_H
#define BANNER_H

#include <QPixmap>

QPixmap MakeBanner(int width, int height);

#endif
