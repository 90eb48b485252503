// The main window's own colours. On a light palette they are the designed
// ones: navy labels, blue hints, a white top panel. On a dark palette those
// would be nearly invisible, so lighter ones of the same hue are used, with
// the palette's own background behind the banner.
#ifndef WINDOWCOLOURS_H
#define WINDOWCOLOURS_H

#include <QColor>

class QPalette;

struct WindowColours
{
    bool bDark = false;
    QColor label;   // "Command Categories:", "Go to Command:"
    QColor hint;    // "( No Parameters information ... )"
    QColor panel;   // the top panel behind the banner
    QColor problem; // a prompter field's problem: its border and message
};

WindowColours ColoursFor(const QPalette& palette);
// The WCAG contrast ratio of two colours (1 to 21).
double ContrastRatio(const QColor& a, const QColor& b);

#endif
