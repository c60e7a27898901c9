#include "pictureimage.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include <algorithm>
#include <cmath>

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

// How far apart two colours are to the eye: 1 for the same, 21 for black
// and white (the contrast ratio of the web's accessibility guidelines).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The ring's colour over `picture`: the highlight where it stands out from
// the picture's edge all round, else white or black, whichever stands out
// more (the highlight is often the very blue of a logo).
QColor ringColour(const QColor &highlight, const QImage &picture)
{
    if (picture.isNull())
        return highlight;
    const int w = picture.width(), h = picture.height();
    const QPoint edge[] = {{w / 2, 1}, {w / 2, h - 2}, {1, h / 2}, {w - 2, h / 2}};
    const auto worst = [&](const QColor &ring) {
        double least = 21;
        for (const QPoint &at : edge)
            least = std::min(least, contrast(ring, picture.pixelColor(at)));
        return least;
    };
    constexpr double Enough = 3; // what the guidelines ask of a control's outline
    if (worst(highlight) >= Enough)
        return highlight;
    return worst(Qt::white) >= worst(Qt::black) ? QColor(Qt::white) : QColor(Qt::black);
}

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
    m_ring = ringColour(palette().color(QPalette::Highlight), pixmap().toImage());
}

void PictureImage::setCaption(const QString &text, const QRect &area, const QColor &colour, const QFont &font)
{
    m_caption = text;
    m_captionArea = area;
    m_captionColour = colour;
    m_captionFont = font;
    update();
}

void PictureImage::drawCaption(QPainter &painter) const
{
    if (m_caption.isEmpty())
        return;
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;
    QFont font = m_captionFont;
    // A longer translation gets a smaller font, down to two thirds of the given one.
    const int smallest = font.pixelSize() * 2 / 3;
    while (font.pixelSize() > smallest
           && !m_captionArea.contains(QFontMetrics(font).boundingRect(m_captionArea, flags, m_caption)))
        font.setPixelSize(font.pixelSize() - 1);
    painter.save();
    painter.setFont(font);
    painter.setPen(m_captionColour);
    painter.drawText(m_captionArea, flags, m_caption);
    painter.restore();
}

QPixmap PictureImage::drawnPicture() const
{
    QPixmap drawn = pixmap();
    QPainter painter(&drawn);
    drawCaption(painter);
    return drawn;
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
    QStylePainter painter(this);
    // The picture lies at the label's top left, as the caption's area counts.
    drawCaption(painter);
    // The keyboard's place shows, as it does on a button.
    if (!hasFocus())
        return;
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    // Drawn over the picture: in a colour that stands out from it.
    option.palette.setColor(QPalette::Highlight, m_ring);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
