#pragma once

#include <QProxyStyle>

// The user's widget style with a focus ring that can be seen: the control
// with the keyboard is drawn with a two-pixel ring in the highlight colour,
// where the styles draw a faint one-pixel line or a dotted one. Buttons,
// check boxes and everything that draws a focus frame get it.
class FocusStyle : public QProxyStyle
{
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};
