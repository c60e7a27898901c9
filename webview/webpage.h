#pragma once

#include <QWebEnginePage>

class QAuthenticator;

// A page as the program hosts it: it answers what a page asks of its
// browser (new windows, sign-in, permissions) and refuses what a page may
// not do (start other programs unasked, pass a bad certificate).
class WebPage : public QWebEnginePage
{
    Q_OBJECT
public:
    explicit WebPage(QObject *parent = nullptr);

    // Schemes the engine shows itself; links to any other go to another
    // program, and only when the user says so.
    static bool isEngineScheme(const QString &scheme);

signals:
    // The main frame's site was refused for its certificate.
    void certificateRefused(const QUrl &url);

protected:
    QWebEnginePage *createWindow(WebWindowType type) override;
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    QWidget *dialogParent() const;
    void signIn(const QUrl &url, QAuthenticator *authenticator);
    void answerPermission(const QUrl &origin, Feature feature);
};
