#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QWidget;

// One running program per user and program folder. The first start listens
// on a local socket private to its user; a later start of the same copy
// finds it there, asks it to bring its window to the front (and to open the
// page it was given, if any), and ends. main()
// makes one right after the application object, before the engine starts.
class OneProgram : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        First,      // this program listens: later starts hand over to it
        HandedOver, // a running program took over: this one ends
        Alone,      // neither was safe or possible: this one runs on its own
    };

    // Where a program listens, and the lock file that lets one start at a
    // time decide whether it is the first.
    struct Place
    {
        QString socket; // a path on Linux, a pipe's name on Windows
        QString lock;
    };

    // The place of the copy in `programFolder` for the user running it: in
    // the user's runtime folder, named by the user and a short hash of the
    // folder's canonical path, so that copies in other folders stay apart.
    // The socket is empty when the user has no runtime folder.
    static Place place(const QString &programFolder);

    explicit OneProgram(const Place &place, QObject *parent = nullptr);
    ~OneProgram() override;

    // Hands over to the program listening at the place, asking it to open
    // `address` (a web page; none: just come to the front), or, when nobody
    // answers there, takes the place over and listens. Two starts at the
    // same moment end with one listening and the other handing over to it.
    // A place that belongs to another user is never used (said on stderr).
    Outcome start(const QString &address = QString());

    // Has the program listening at the place, if any, tell its user that a
    // later start refused its addresses for `reason`, over its window brought
    // to the front; true when one took it. Never takes the place over.
    bool tell(const QString &reason);

    // Why start() ended Alone, in words; empty otherwise.
    QString problem() const { return m_problem; }

    // The window brought to the front when a later start hands over; a
    // hand-over that came before it was set brings it up as it is set.
    void setWindow(QWidget *window);

signals:
    // A later start handed over to this program.
    void handedOver();
    // A later start asked this program to open `address`, a web page.
    void openRequested(const QString &address);
    // A later start refused its addresses for `reason`, for this program to
    // tell the user.
    void refusalHandedOver(const QString &reason);

private:
    enum class Found { Nothing, OwnSocket, OwnOther, Foreign };
    Found inspect() const;
    // Sends `request` to the program at the socket; true when one is there to take it.
    bool handOver(const QByteArray &request);
    void takeConnections();
    void answer(QLocalSocket *socket);
    void bringToFront();
    Outcome alone(const QString &problem);

    Place m_place;
    QLocalServer *m_server = nullptr;
    QPointer<QWidget> m_window;
    bool m_asked = false; // a hand-over came before the window
    QString m_problem;
};
