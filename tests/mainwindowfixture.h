#pragma once

#include "fakewebview.h"
#include "frmmain.h"

#include <QTest>

#include <memory>

// The main window over a recording web view, as the window suites build it.
struct MainWindowFixture
{
    static inline const QString Home = QStringLiteral("http://127.0.0.1:9/home?a_aid=1&brandId=2");

    std::unique_ptr<frmMain> window;
    FakeWebView *fake = nullptr;

    // A window whose view takes the focus and, with `failingView`, fails
    // every operation.
    void build(bool failingView = false)
    {
        window = std::make_unique<frmMain>(
            [this, failingView](QWidget *parent) {
                fake = new FakeWebView(parent);
                fake->setFocusPolicy(Qt::StrongFocus);
                fake->fail = failingView;
                return fake;
            },
            Home);
    }
    // The window started as the program starts it, active, its view's
    // calls so far forgotten.
    bool start()
    {
        build();
        window->Form_Load();
        window->activateWindow();
        fake->calls.clear();
        return QTest::qWaitForWindowActive(window.get());
    }
};
