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

void twips::centreOnScreen(QWidget *w)
{
    const QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Until the window is first shown its frame is the client area alone.
    const QSize outer = w->frameGeometry().size();
    const QRect area = screen->geometry();
    w->move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

void twips::place(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(rect(left, top, width, height, perPixel(w)));
}

QFont twips::dialogFont()
{
#ifdef Q_OS_WIN
    // The system's dialog font for windows designed at 8 points, in the
    // locale's own typeface where the system substitutes one.
    QFont font(QStringList{QStringLiteral("MS Shell Dlg"), QStringLiteral("Microsoft Sans Serif")}, 8);
#else
    // Carlito (Calibri's metrics) fits the boxes at 8 points; Arial's metrics
    // do not: "Email :" is 34 pixels wide in a 33-pixel box at 96 dpi.
    QFont font(QStringList{QStringLiteral("Carlito"), QStringLiteral("Calibri")}, 8);
#endif
    font.setStyleHint(QFont::SansSerif);
    return font;
}
