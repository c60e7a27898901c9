#pragma once

#include <QObject>

class QAction;
class QWidget;
class WebView;

// The page commands of a browser window, one QAction each, with the
// platform's standard keys and the program's extra ones. Menu items, picture
// buttons and keys all trigger the same action, and the keys work wherever
// the focus is in the window, the page included. The window connects each
// action to its handler, or lets runOn connect them to a view.
class PageActions : public QObject
{
    Q_OBJECT
public:
    // Makes the actions and adds them to `window`.
    explicit PageActions(QWidget *window);

    QAction *back;
    QAction *forward;
    // Esc stops only while `view` loads (see followBusy), so that a page
    // that uses Esc otherwise still gets it.
    QAction *stop;
    QAction *refresh;
    QAction *home;
    QAction *printPreview;
    QAction *pageSetup;
    QAction *print;
    QAction *zoomIn;
    QAction *zoomOut;
    QAction *zoomReset;
    QAction *find;
    QAction *close;

    // Esc is Stop's key exactly while `view` is busy.
    void followBusy(WebView *view);
    // Runs every command on `view` itself, dropping a failure as the
    // guarded handlers do; Home is left out (no home page there) and Close
    // closes the window.
    void runOn(WebView *view);

private:
    QWidget *m_window;
};
