#include "pictureimage.h"

#include <QMouseEvent>

void PictureImage::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void PictureImage::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

void PictureImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The release that follows a double-click is not a click of its own.
    m_pressed = false;
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}
