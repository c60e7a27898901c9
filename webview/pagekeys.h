#pragma once

#include <functional>

class QWidget;
class WebView;

// The keys a browser window answers wherever the focus is in it, the page
// included. Each runs the same handler as the window's own button or menu
// item for that command.
struct PageCommands
{
    std::function<void()> back, forward, refresh, stop, print;
    std::function<void(int step)> zoom;
};

// Alt+Left/Right, F5 and Ctrl+R, Esc (only while `web` is busy, so that a
// page that uses Esc otherwise still gets it), Ctrl+P, Ctrl+0/+/-.
void installPageKeys(QWidget *window, WebView *web, const PageCommands &commands);
