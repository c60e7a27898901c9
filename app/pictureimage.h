#pragma once

#include <QIcon>
#include <QFont>
#include <QLabel>

class QPainter;

// A picture that reports clicks the way the window system of the original
// design did: a double-click arrives as a click followed by a double-click.
// It is reached with Tab, and Enter or Space click it; screen readers see it
// as an image that can be pressed.
class PictureImage : public QLabel
{
    Q_OBJECT
public:
    explicit PictureImage(QWidget *parent = nullptr);

    // Shows `picture` at `size`, in the copy drawn for the density of the
    // screen the window is on, chosen again when that changes.
    void setPicture(const QIcon &picture, const QSize &size);

    // Writes `text` over the picture, within `area` (the picture's pixels),
    // in `colour` and `font` (its size in pixels), on as many lines as it takes, the font made
    // smaller where it would not fit: words the picture holds, in the
    // user's language.
    void setCaption(const QString &text, const QRect &area, const QColor &colour, const QFont &font);
    QString caption() const { return m_caption; }
    // The picture as shown, its caption written on it.
    QPixmap drawnPicture() const;

    // Does what a click with the mouse does.
    void click();

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Sets the pixmap from m_picture for the screen's density.
    void showPicture();
    void drawCaption(QPainter &painter) const;

    bool m_pressed = false;
    QIcon m_picture;
    QSize m_pictureSize;
    // The device pixel ratio the pixmap was chosen for.
    qreal m_pictureRatio = 1;
    // The focus ring's colour over the picture.
    QColor m_ring;
    QString m_caption;
    QRect m_captionArea;
    QColor m_captionColour;
    QFont m_captionFont;
};
