#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {
double perPixelOn(const QScreen *screen)
{
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return twips::PerInch / (dpi > 0 ? dpi : 96.0);
}
}

double twips::perPixel(const QWidget *w)
{
    return perPixelOn(w && w->screen() ? w->screen() : QGuiApplication::primaryScreen());
}

double twips::perPixel()
{
    return perPixelOn(QGuiApplication::primaryScreen());
}

void twips::place(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(rect(left, top, width, height, perPixel(w)));
}
