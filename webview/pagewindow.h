#pragma once

#include <QWidget>

class EngineView;

// A window a page opened (a link to a new window, window.open, a link
// opened with Ctrl or the middle button): one web view on the program's
// profile, titled with its page's title. It closes with `owner`.
class PageWindow : public QWidget
{
    Q_OBJECT
public:
    explicit PageWindow(QWidget *owner);

    EngineView *view() const { return m_view; }

private:
    EngineView *m_view;
};
