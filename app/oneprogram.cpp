#include "oneprogram.h"

#include "schemes.h"
#include "startup.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
// What a later start sends: to come to the front, or to open a page there
// ("open " and the encoded address); and what the running program answers
// once its window is in front.
constexpr char Request[] = "raise\n";
constexpr char OpenRequest[] = "open ";
// Or to tell its user that addresses were refused ("refused " and the reason,
// percent-encoded).
constexpr char RefusedRequest[] = "refused ";
constexpr char Answer[] = "raised\n";
// A caller's request fits in this; anything longer is not one.
constexpr qint64 RequestLimit = startup::AddressLimit + 16;
// The longest reason for refused addresses passed on, in characters: nine
// bytes each at most, as UTF-8 percent-encoded, within the request.
constexpr int RefusalLimit = startup::AddressLimit / 9;
// How long a later start waits to connect and for the answer. A running
// program that is still starting answers once its event loop runs; the
// request waits in its queue until then, so a late answer still counts as
// handed over.
constexpr int ConnectMs = 1000;
constexpr int AnswerMs = 1000;
// One start at a time decides whether it is the first: the others wait this
// long for it.
constexpr int DecideMs = 5000;
// A caller that connects and says nothing is dropped after this.
constexpr int CallerMs = 5000;
} // namespace

OneProgram::Place OneProgram::place(const QString &programFolder)
{
    QString folder = QFileInfo(programFolder).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(QDir(programFolder).absolutePath());
    const QString hash = QString::fromLatin1(
        QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha256).toHex().left(12));
    Place place;
#ifdef Q_OS_WIN
    // Pipes share one namespace for every user: the name carries the user,
    // and the pipe is open to its user only.
    QString user = qEnvironmentVariable("USERNAME");
    user.replace(QLatin1Char('\\'), QLatin1Char('_'));
    place.socket = QStringLiteral("velmora-%1-%2").arg(user, hash);
    place.lock = QStandardPaths::writableLocation(QStandardPaths::TempLocation) + QLatin1Char('/') + place.socket
                 + QStringLiteral(".lock");
#else
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty()) {
        place.socket = QStringLiteral("%1/velmora-%2-%3").arg(runtime).arg(::geteuid()).arg(hash);
        place.lock = place.socket + QStringLiteral(".lock");
    }
#endif
    return place;
}

OneProgram::OneProgram(const Place &place, QObject *parent) : QObject(parent), m_place(place) {}

OneProgram::~OneProgram()
{
    // The socket goes with the program, so the next start need not wait to
    // find nobody there.
    if (m_server)
        m_server->close();
}

// What is at the socket's path. On Windows a pipe has no owner to check:
// the pipe is made open to its user only.
OneProgram::Found OneProgram::inspect() const
{
#ifdef Q_OS_UNIX
    struct stat status;
    if (::lstat(QFile::encodeName(m_place.socket).constData(), &status) != 0)
        return Found::Nothing;
    if (status.st_uid != ::geteuid())
        return Found::Foreign;
    return S_ISSOCK(status.st_mode) ? Found::OwnSocket : Found::OwnOther;
#else
    return Found::OwnSocket;
#endif
}

OneProgram::Outcome OneProgram::alone(const QString &problem)
{
    m_problem = problem;
    qWarning("velmora: %s", qPrintable(problem));
    return Outcome::Alone;
}

OneProgram::Outcome OneProgram::start(const QString &address)
{
    const QString shown = QDir::toNativeSeparators(m_place.socket);
    if (m_place.socket.isEmpty())
        return alone(tr("There is no runtime folder for Velmora's socket: later starts will not hand over to this "
                        "one."));
    // A socket another user made could be anyone's program: nothing is sent
    // to it, and it is not removed. This copy runs on its own; its profile
    // lock still keeps it off the site data another copy is using.
    const QString foreign = tr("%1 belongs to another user: Velmora does not hand over to it and runs on its own.")
                                .arg(shown);
    const Found found = inspect();
    if (found == Found::Foreign)
        return alone(foreign);
    const QByteArray request = address.isEmpty() ? QByteArray(Request) : OpenRequest + address.toLatin1() + '\n';
    if (found == Found::OwnSocket && handOver(request))
        return Outcome::HandedOver;

    // Nobody answered. Whoever holds the lock decides next: it may be a start
    // at the same moment, which then listens before letting go.
    QLockFile deciding(m_place.lock);
    if (!deciding.tryLock(DecideMs))
        return alone(tr("The lock file %1 could not be taken: later starts will not hand over to this one.")
                         .arg(QDir::toNativeSeparators(m_place.lock)));
    switch (inspect()) {
    case Found::Foreign:
        return alone(foreign);
    case Found::OwnSocket:
        if (handOver(request))
            return Outcome::HandedOver;
        Q_FALLTHROUGH(); // left by a program that ended without closing it
    case Found::OwnOther:
        if (!QFile::remove(m_place.socket) && inspect() != Found::Nothing)
            return alone(tr("%1 is in the way and could not be removed: later starts will not hand over to this "
                            "one.")
                             .arg(shown));
        break;
    case Found::Nothing:
        break;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_place.socket)) {
        const QString reason = m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return alone(tr("Velmora could not listen at %1 (%2): later starts will not hand over to this one.")
                         .arg(shown, reason));
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] { takeConnections(); });
    // A program on its way out takes no more hand-overs: a start while the
    // window and the profile close runs on its own instead of handing over
    // to a window that is gone.
    if (QCoreApplication *application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, m_server, &QLocalServer::close);
    return Outcome::First;
}

bool OneProgram::tell(const QString &reason)
{
    const QByteArray request = RefusedRequest + reason.left(RefusalLimit).toUtf8().toPercentEncoding() + '\n';
    return !m_place.socket.isEmpty() && inspect() == Found::OwnSocket && handOver(request);
}

bool OneProgram::handOver(const QByteArray &request)
{
    QLocalSocket socket;
    socket.connectToServer(m_place.socket);
    if (!socket.waitForConnected(ConnectMs))
        return false;
    socket.write(request);
    if (!socket.waitForBytesWritten(ConnectMs))
        return false;
    // The program is there; its answer says the window is in front.
    while (socket.waitForReadyRead(AnswerMs) && !socket.canReadLine()) {
    }
    return true;
}

void OneProgram::takeConnections()
{
    while (QLocalSocket *caller = m_server->nextPendingConnection()) {
        connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        connect(caller, &QLocalSocket::readyRead, this, [this, caller] { answer(caller); });
        QTimer::singleShot(CallerMs, caller, [caller] {
            caller->abort();
            caller->deleteLater();
        });
        answer(caller);
    }
}

void OneProgram::answer(QLocalSocket *caller)
{
    if (!caller->canReadLine()) {
        if (caller->bytesAvailable() > RequestLimit)
            caller->abort();
        return;
    }
    const QByteArray request = caller->readLine(RequestLimit + 1);
    const bool open = request.startsWith(OpenRequest) && request.endsWith('\n');
    const bool refused = request.startsWith(RefusedRequest) && request.endsWith('\n');
    if (open || refused || request == Request) {
        emit handedOver();
        if (refused) {
            emit refusalHandedOver(QString::fromUtf8(
                QByteArray::fromPercentEncoding(request.mid(int(qstrlen(RefusedRequest))).chopped(1)))
                                       .left(RefusalLimit));
        }
        // Whoever asks, only a web page is opened.
        const QUrl address = open
            ? QUrl::fromEncoded(request.mid(int(qstrlen(OpenRequest))).chopped(1), QUrl::StrictMode)
            : QUrl();
        if (schemes::isWebPage(address))
            emit openRequested(QString::fromLatin1(address.toEncoded()));
        bringToFront();
        caller->write(Answer);
    }
    caller->disconnectFromServer();
}

void OneProgram::setWindow(QWidget *window)
{
    m_window = window;
    if (m_asked)
        bringToFront();
}

void OneProgram::bringToFront()
{
    if (!m_window) {
        m_asked = true;
        return;
    }
    m_asked = false;
    QWidget *window = m_window;
    // Shown normal if it was minimised; maximised stays maximised.
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
    // A dialog the user has open stays on top of its window.
    if (QWidget *modal = QApplication::activeModalWidget()) {
        modal->raise();
        modal->activateWindow();
    }
}
