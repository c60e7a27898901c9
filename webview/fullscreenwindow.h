#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QWebEnginePage;
class QWebEngineView;

// Fills `label` with `background` and writes it in `text`: the notices over
// and above a page.
void colourLabel(QLabel *label, const QColor &background, const QColor &text);

// The page on the whole screen, until the page or Esc leaves full screen,
// with a notice for a few seconds that names the site and how to leave. The
// page goes back to its own view when this window goes, if that view is not
// going itself.
class FullScreenWindow : public QWidget
{
public:
    // Shows `page`, taken from `home`, full screen; `owner` owns the window.
    FullScreenWindow(QWebEngineView *home, QWebEnginePage *page, QWidget *owner);
    ~FullScreenWindow() override;

    // The view the page came from is going: the page goes with it, not back.
    void forgetHome() { m_home = nullptr; }
    // The notice naming the site, while it shows.
    QString notice() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void placeNotice();
    void leaveFullScreen();

    QPointer<QWebEngineView> m_home;
    QWebEngineView *m_view;
    QPointer<QWebEnginePage> m_page;
    QLabel *m_notice;
};
