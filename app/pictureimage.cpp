#include "pictureimage.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {
// A label with a picture is a plain image to screen readers; this one can
// also be pressed, as Enter and Space do.
class PictureImageAccessible : public QAccessibleWidget
{
public:
    explicit PictureImageAccessible(PictureImage *image) : QAccessibleWidget(image, QAccessible::Graphic) {}

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            static_cast<PictureImage *>(widget())->click();
        else
            QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface *pictureImageAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("PictureImage") && object && object->isWidgetType())
        return new PictureImageAccessible(static_cast<PictureImage *>(object));
    return nullptr;
}
} // namespace

PictureImage::PictureImage(QWidget *parent) : QLabel(parent)
{
    static const bool accessible = (QAccessible::installFactory(pictureImageAccessible), true);
    Q_UNUSED(accessible);
    // Tab reaches it; a click does not take the keyboard from where it is.
    setFocusPolicy(Qt::TabFocus);
}

void PictureImage::setPicture(const QIcon &picture, const QSize &size)
{
    m_picture = picture;
    m_pictureSize = size;
    showPicture();
}

void PictureImage::showPicture()
{
    m_pictureRatio = devicePixelRatioF();
    setPixmap(m_picture.pixmap(m_pictureSize, m_pictureRatio));
}

void PictureImage::click()
{
    emit clicked();
}

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

void PictureImage::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && modifiers == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        return;
    }
    QLabel::keyPressEvent(event);
}

void PictureImage::paintEvent(QPaintEvent *event)
{
    // The window went to a screen of another density: the copy drawn for it.
    if (!m_picture.isNull() && !qFuzzyCompare(m_pictureRatio, devicePixelRatioF()))
        showPicture();
    QLabel::paintEvent(event);
    // The keyboard's place shows, as it does on a button.
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
