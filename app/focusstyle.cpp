#include "focusstyle.h"

#include <QPainter>
#include <QStyleOption>

namespace {
void drawRing(const QStyleOption &option, const QRect &area, QPainter *painter)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
    // A two-pixel pen on whole pixels: the ring lies inside `area`.
    painter->drawRect(QRectF(area).adjusted(1, 1, -1, -1));
    painter->restore();
}
} // namespace

void FocusStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                             const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    // A push button shows its focus in its own frame, faintly: the ring goes
    // just inside the frame.
    if (element == CE_PushButton && (option->state & State_HasFocus))
        drawRing(*option, option->rect.adjusted(1, 1, -1, -1), painter);
}

void FocusStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const
{
    if (element == PE_FrameFocusRect) {
        drawRing(*option, option->rect, painter);
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}
