#pragma once

#include <QLabel>

// A picture that reports clicks the way the window system of the original
// design did: a double-click arrives as a click followed by a double-click.
// It is reached with Tab, and Enter or Space click it; screen readers see it
// as an image that can be pressed.
class PictureImage : public QLabel
{
    Q_OBJECT
public:
    explicit PictureImage(QWidget *parent = nullptr);

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
    bool m_pressed = false;
};
