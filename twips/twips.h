#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Window and control geometry is designed in twips (1/1440 inch); this is the
// one place where it becomes pixels, from the screen's logical DPI. The
// geometry assumes one font, the 8-point dialog font, which is here too.
namespace twips {

constexpr double PerInch = 1440.0;

// Twips per pixel on the screen `w` is on (15 at 96 dpi).
double perPixel(const QWidget *w);
// Twips per pixel on the primary screen.
double perPixel();

inline int toPixels(double tw, double perPx) { return qRound(tw / perPx); }
inline double fromPixels(int px, double perPx) { return px * perPx; }

// A rectangle designed in twips, in pixels.
inline QRect rect(double left, double top, double width, double height, double perPx)
{
    return QRect(toPixels(left, perPx), toPixels(top, perPx), toPixels(width, perPx),
                 toPixels(height, perPx));
}

// Places `w` at a rectangle given in twips on its screen.
void place(QWidget *w, double left, double top, double width, double height);

// Moves the window `w` so that its outer frame sits in the middle of its
// screen. Without a window manager Qt would leave a secondary window at 0, 0.
void centreOnScreen(QWidget *w);

// The font the controls' boxes are drawn for: an 8-point sans-serif narrow
// enough that every caption fits its box. Windows set it on themselves; web
// pages keep their own fonts.
QFont dialogFont();

} // namespace twips
